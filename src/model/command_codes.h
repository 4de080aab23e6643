#pragma once
// The codes of SendCommand: setting commands 100..150 and queries 200..238.

namespace cmd {
inline constexpr int kFreq = 100;           // "FREQ%.4f"      centerFreq
inline constexpr int kSpan = 101;           // "SPAN%s"        spanIndex (row of modelIndex)
inline constexpr int kRef = 102;            // "REF%d"         refLevel
inline constexpr int kUnit = 103;           // "UNIT%s"        unitIndex
inline constexpr int kRbw = 104;            // "RBW%s"         rbwIndex
inline constexpr int kVbw = 105;            // "VBW%s"         vbwIndex
inline constexpr int kMeas = 106;           // "MEAS%s"        measureIndex
inline constexpr int kMeasRes = 107;        // "MEASRES"       result text left in rxBuffer
inline constexpr int kCpMode = 108;         // "CPMODE%s"      cpMode
inline constexpr int kCpCenter = 109;       // "CPCNTR%.4f"    cpCenter
inline constexpr int kCpWidth = 110;        // "CPWIDTH%.4f"   cpWidth
inline constexpr int kAcpMode = 111;        // "ACPMODE%s"     acpMode
inline constexpr int kAcpOffset = 112;      // "ACPOFS%.4f"    acpOffset
inline constexpr int kAcpChannelBw = 113;   // "ACPCHBW%.4f"   acpChannelBw
inline constexpr int kAcpRefCenter = 114;   // "ACPREF%.4f"    acpRefCenter
inline constexpr int kAcpRefBw = 115;       // "ACPREFBW%.4f"  acpRefBw
inline constexpr int kObwMode = 116;        // "OBWMODE%s"     obwMode
inline constexpr int kObwRatio = 117;       // "OBWRATIO%.4f"  obwRatio
inline constexpr int kObwDb = 118;          // "OBWDB%.4f"     obwDb
inline constexpr int kEfAntenna = 119;      // "EFANT%s"       antennaIndex
inline constexpr int kMfProbe = 121;        // "MFPROBE%s"     probeIndex
inline constexpr int kCalc = 123;           // "CALC%s"        calcIndex
inline constexpr int kMaxCount = 124;       // "MAXNO%d"       maxCount
inline constexpr int kMinCount = 125;       // "MINNO%d"       minCount
inline constexpr int kAveCount = 126;       // "AVENO%d"       aveCount
inline constexpr int kScale = 127;          // "SCALE%s"       scaleIndex
inline constexpr int kSweep = 128;          // "SWEEP%s"       sweepIndex
inline constexpr int kDetector = 129;       // "DET%s"         detectorIndex
inline constexpr int kAutoTune = 130;       // "AUTO"
inline constexpr int kRunHold = 131;        // "RUN" / "HOLD"  runState
inline constexpr int kMarkerMode = 133;     // "MKR%s"         markerMode
inline constexpr int kNormMarker = 134;     // "NORMMKR%.4f"   normMarkerFreq
inline constexpr int kPeakMode = 135;       // "PEAK%s"        peakMode
inline constexpr int kPeakSearch = 136;     // "PKSEARCH%02d"  peakSearchNo + 1
inline constexpr int kPeakCenter = 137;     // "PKCNTR%.4f"    peakZoneCenter
inline constexpr int kPeakWidth = 138;      // "PKWIDTH%.4f"   peakZoneWidth
inline constexpr int kConversion = 139;     // "CONV%s"        conversionIndex
inline constexpr int kScreenCurrent = 141;  // "SRSCURR"       250-point screen record
inline constexpr int kScreenFull = 142;     // "SRSF"          1000-point screen record
inline constexpr int kVersion = 143;        // "VER"           versionText
inline constexpr int kMarkerToCenter = 144; // "FREQSETMKR"
inline constexpr int kPreset = 145;         // "PRESET"
inline constexpr int kRemote = 146;         // "REMOTEON" / "REMOTEOFF"  remoteState
inline constexpr int kOffset = 149;         // "OFFSET%2.1f"   levelOffset
inline constexpr int kImpedance = 150;      // "IMP50" / "IMP75"  impedanceIndex
} // namespace cmd

// Query codes: 200 + position in the query table.
namespace query {
inline constexpr int kFreq = 200;         // "FREQ?"      centerFreq
inline constexpr int kSpan = 201;         // "SPAN?"      spanIndex
inline constexpr int kRef = 202;          // "REF?"       refLevel
inline constexpr int kUnit = 203;         // "UNIT?"      unitIndex
inline constexpr int kRbw = 204;          // "RBW?"       rbwIndex
inline constexpr int kVbw = 205;          // "VBW?"       vbwIndex
inline constexpr int kMeas = 206;         // "MEAS?"      measureIndex
inline constexpr int kCpMode = 207;       // "CPMODE?"    cpMode
inline constexpr int kCpCenter = 208;     // "CPCNTR?"    cpCenter
inline constexpr int kCpWidth = 209;      // "CPWIDTH?"   cpWidth
inline constexpr int kAcpMode = 210;      // "ACPMODE?"   acpMode
inline constexpr int kAcpOffset = 211;    // "ACPOFS?"    acpOffset
inline constexpr int kAcpChannelBw = 212; // "ACPCHBW?"   acpChannelBw
inline constexpr int kAcpRefCenter = 213; // "ACPREF?"    acpRefCenter
inline constexpr int kAcpRefBw = 214;     // "ACPREFBW?"  acpRefBw
inline constexpr int kObwMode = 215;      // "OBWMODE?"   obwMode
inline constexpr int kObwRatio = 216;     // "OBWRATIO?"  obwRatio
inline constexpr int kObwDb = 217;        // "OBWDB?"     obwDb
inline constexpr int kEfAntenna = 218;    // "EFANT?"     antennaIndex
inline constexpr int kMfProbe = 219;      // "MFPROBE?"   probeIndex
inline constexpr int kCalc = 220;         // "CALC?"      calcIndex
inline constexpr int kMaxCount = 221;     // "MAXNO?"     maxCount
inline constexpr int kMinCount = 222;     // "MINNO?"     minCount
inline constexpr int kAveCount = 223;     // "AVENO?"     aveCount
inline constexpr int kScale = 224;        // "SCALE?"     scaleIndex
inline constexpr int kSweep = 225;        // "SWEEP?"     sweepIndex
inline constexpr int kDetector = 226;     // "DET?"       detectorIndex
inline constexpr int kAutoTune = 227;     // "AUTO?"      nothing decoded
inline constexpr int kHold = 228;         // "HOLD?"      success only on "OK"
inline constexpr int kMarkerMode = 229;   // "MKR?"       markerMode
inline constexpr int kNormMarker = 230;   // "NORMMKR?"   normMarkerFreq
inline constexpr int kPeakMode = 231;     // "PEAK?"      peakMode
inline constexpr int kPeakCenter = 232;   // "PKCNTR?"    peakZoneCenter
inline constexpr int kPeakWidth = 233;    // "PKWIDTH?"   peakZoneWidth
inline constexpr int kConversion = 234;   // "CONV?"      conversionIndex
inline constexpr int kRemote = 235;       // "REMOTE?"    remoteState
inline constexpr int kOffset = 236;       // "OFFSET?"    levelOffset
inline constexpr int kImpedance = 237;    // "IMP?"       impedanceIndex
inline constexpr int kCalcSpread = 238;   // "CALCSPR?"   calcSpread
inline constexpr int kFirst = kFreq;
inline constexpr int kLast = kCalcSpread;
} // namespace query
