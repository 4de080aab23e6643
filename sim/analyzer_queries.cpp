// The analyzer's answers to queries ("NAME?"): each setting in the analyzer's own form.

#include "analyzer.h"

#include "keyword_tables.h"
#include "value_text.h"

namespace sim {

std::string Analyzer::query(const std::string& name) const {
    const AnalyzerState& s = state_;
    auto f4 = [](double v) { return format("%.4f\r\n", v); };
    auto kw = [](const char* k) { return std::string(k) + "\r\n"; };
    if (name == "FREQ")
        return f4(s.centerFreq);
    if (name == "SPAN")
        return kw(keywords::spanTable(s.modelIndex)[s.spanIndex]);
    if (name == "REF")
        return format("%d\r\n", s.refLevel);
    if (name == "UNIT") {
        if (s.measureIndex == 4 || s.measureIndex == 5)
            return kw(keywords::kUnit[s.measureIndex]); // the field-strength unit in force
        return kw(keywords::kUnit[s.unitIndex]);
    }
    if (name == "RBW")
        return kw(keywords::kRbw[s.rbwIndex]);
    if (name == "VBW")
        return kw(keywords::kVbw[s.vbwIndex]);
    if (name == "MEAS")
        return kw(keywords::kMeasure[s.measureIndex]);
    if (name == "CPMODE")
        return kw(keywords::kCpMode[s.cpMode]);
    if (name == "CPCNTR")
        return f4(s.cpCenter);
    if (name == "CPWIDTH")
        return f4(s.cpWidth);
    if (name == "ACPMODE")
        return kw(keywords::kAcpMode[s.acpMode]);
    if (name == "ACPOFS")
        return f4(s.acpOffset);
    if (name == "ACPCHBW")
        return f4(s.acpChannelBw);
    if (name == "ACPREF")
        return f4(s.acpRefCenter);
    if (name == "ACPREFBW")
        return f4(s.acpRefBw);
    if (name == "OBWMODE")
        return kw(keywords::kObwMode[s.obwMode]);
    if (name == "OBWRATIO")
        return f4(s.obwRatio);
    if (name == "OBWDB")
        return f4(s.obwDb);
    if (name == "EFANT")
        return kw(keywords::kAntenna[s.antennaIndex]);
    if (name == "MFPROBE")
        return kw(keywords::kProbe[s.probeIndex]);
    if (name == "CALC")
        return kw(keywords::kCalc[s.calcIndex]);
    if (name == "MAXNO")
        return format("%d\r\n", s.maxCount);
    if (name == "MINNO")
        return format("%d\r\n", s.minCount);
    if (name == "AVENO")
        return format("%d\r\n", s.aveCount);
    if (name == "SCALE")
        return kw(keywords::kScale[s.scaleIndex]);
    if (name == "SWEEP")
        return kw(keywords::kSweep[s.sweepIndex]);
    if (name == "DET")
        return kw(keywords::kDetector[effectiveDetector(s)]);
    if (name == "AUTO")
        return autoTuneDone_ ? kw("BUSY") : std::string("OK\r\n");
    if (name == "HOLD")
        return s.running ? kw("RUN") : std::string("OK\r\n");
    if (name == "MKR")
        return kw(keywords::kMarkerMode[s.markerMode]);
    if (name == "NORMMKR")
        return f4(s.normMarkerFreq);
    if (name == "PEAK")
        return kw(keywords::kPeakMode[s.peakMode]);
    if (name == "PKCNTR")
        return f4(s.peakZoneCenter);
    if (name == "PKWIDTH")
        return f4(s.peakZoneWidth);
    if (name == "CONV")
        return kw(keywords::kConversion[s.conversionIndex]);
    if (name == "REMOTE")
        return kw(s.remote ? "ON" : "OFF");
    if (name == "OFFSET")
        return format("%.1f\r\n", s.levelOffset);
    if (name == "IMP")
        return kw(s.impedanceIndex == 1 ? "75" : "50");
    if (name == "CALCSPR")
        return kw(s.calcSpread ? "ON" : "OFF");
    return "ERR\r\n";
}

} // namespace sim
