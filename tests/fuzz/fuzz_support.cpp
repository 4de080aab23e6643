#include "fuzz_support.h"

#include "command_set.h"
#include "instrument_settings.h"
#include "keyword_tables.h"
#include "level_units.h"
#include "link_state.h"
#include "panel_rules.h"
#include "trace_kinds.h"
#include "value_limits.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace valuelimits;

void FuzzRequire(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void FuzzResetRecord() {
    std::memset(&gSettings, 0, sizeof gSettings);
    std::memset(&gLink, 0, sizeof gLink);
    SetDefaultSettings();
}

std::string FuzzText(const uint8_t* data, std::size_t size, std::size_t limit) {
    std::string text(reinterpret_cast<const char*>(data), size < limit ? size : limit);
    return text.substr(0, text.find('\0'));
}

namespace {

template <std::size_t N> bool InTable(int index, const char* const (&table)[N]) {
    return index >= 0 && index < keywords::count(table);
}

bool Terminated(const char* text, std::size_t size) {
    return std::memchr(text, '\0', size) != nullptr;
}

#define REQUIRE(cond) FuzzRequire((cond), #cond)

} // namespace

void FuzzCheckRecord() {
    const InstrumentSettings& s = gSettings;
    REQUIRE(inRange(s.modelIndex, 0, 1));
    REQUIRE(inRange(s.spanIndex, 0, keywords::spanCount(s.modelIndex) - 1));
    REQUIRE(inRange(s.unitIndex, 0, 5));
    REQUIRE(InTable(s.rbwIndex, keywords::kRbw));
    REQUIRE(InTable(s.vbwIndex, keywords::kVbw));
    REQUIRE(InTable(s.sweepIndex, keywords::kSweep));
    REQUIRE(InTable(s.detectorIndex, keywords::kDetector));
    REQUIRE(InTable(s.scaleIndex, keywords::kScale));
    REQUIRE(InTable(s.markerMode, keywords::kMarkerMode));
    REQUIRE(InTable(s.peakMode, keywords::kPeakMode));
    REQUIRE(InTable(s.conversionIndex, keywords::kConversion));
    REQUIRE(InTable(s.measureIndex, keywords::kMeasure));
    REQUIRE(InTable(s.cpMode, keywords::kCpMode));
    REQUIRE(InTable(s.acpMode, keywords::kAcpMode));
    REQUIRE(InTable(s.obwMode, keywords::kObwMode));
    REQUIRE(InTable(s.antennaIndex, keywords::kAntenna));
    REQUIRE(InTable(s.probeIndex, keywords::kProbe));
    REQUIRE(InTable(s.calcIndex, keywords::kCalc));
    REQUIRE(inRange(s.impedanceIndex, 0, 1));
    REQUIRE(inRange(s.calcSpread, 0, 1));
    REQUIRE(inRange(s.remoteState, 0, 1));
    REQUIRE(inRange(s.detailedTrace, 0, 1));
    REQUIRE(inRange(s.comPortIndex, 0, 8));
    REQUIRE(inRange(s.baudIndex, 0, 5));
    REQUIRE(inRange(s.timeOutSetting, 0, 200));
    REQUIRE(inRange(s.intervalSetting, 50, 150));
    REQUIRE(inRange(s.unchangedTraceCount, 0, 10));
    REQUIRE(inRange(s.startSetting, 0, 1));
    REQUIRE(inRange(s.startWindowState, 0, 2));
    REQUIRE(inRange(s.activeTraceSlot, 0, kTraceSlots - 1));
    REQUIRE(inRange(s.zonePosition, 0, 1001));
    REQUIRE(inRange(s.zoneWidth, 0, 1001));

    REQUIRE(inRange(s.centerFreq, 0.0, centerFreqMax(s.modelIndex)));
    for (double f : {s.cpCenter, s.acpOffset, s.acpRefCenter, s.normMarkerFreq, s.peakZoneCenter})
        REQUIRE(isFrequency(f));
    for (double w : {s.cpWidth, s.acpChannelBw, s.acpRefBw, s.peakZoneWidth})
        REQUIRE(inRange(w, 0.0, kFreqMax));
    REQUIRE(inRange(s.refLevel, kRefLevelMin, kRefLevelMax));
    REQUIRE(inRange(s.levelOffset, kOffsetMin, kOffsetMax));
    REQUIRE(inRange(s.obwRatio, kObwRatioMin, kObwRatioMax));
    REQUIRE(inRange(s.obwDb, kObwDbMin, kObwDbMax));
    for (int count : {s.maxCount, s.minCount, s.aveCount})
        REQUIRE(inRange(count, kCountMin, kCountMax));
    for (int i = 0; i < kUserTableRows; ++i) {
        REQUIRE(inRange(s.efUserFreq[i], kUserFreqMin, kUserFreqMax));
        REQUIRE(inRange(s.mfUserFreq[i], kUserFreqMin, kUserFreqMax));
        REQUIRE(inRange(s.efUserGain[i], kUserGainMin, kUserGainMax));
        REQUIRE(inRange(s.mfUserGain[i], kUserGainMin, kUserGainMax));
    }
    for (int kind : s.traceKind)
        REQUIRE(tracekind::isKnownKind(kind));

    const TraceRecord& r = s.traceRecord;
    REQUIRE(isFrequency(r.recordCenterFreq));
    REQUIRE(inRange(r.recordRefLevel, kRecordRefLevelMin, kRecordRefLevelMax));
    REQUIRE(r.recordKind == 0 || tracekind::isKnownKind(r.recordKind));
    FuzzCheckTraceIndexes(r, keywords::count(keywords::kSpan420));

    REQUIRE(Terminated(s.efUserText, sizeof s.efUserText));
    REQUIRE(Terminated(s.mfUserText, sizeof s.mfUserText));
    REQUIRE(Terminated(s.versionText, sizeof s.versionText));
    REQUIRE(Terminated(s.titleText, sizeof s.titleText));
}

void FuzzCheckTraceIndexes(const TraceRecord& r, int spanRows) {
    REQUIRE((r.recordUnitBits & 0xFu) <= 5u);
    REQUIRE(inRange(r.recordSpanIndex, 0, spanRows - 1));
    REQUIRE(InTable(r.recordRbwIndex, keywords::kRbw));
    REQUIRE(InTable(r.recordVbwIndex, keywords::kVbw));
    REQUIRE(InTable(r.recordSweepIndex, keywords::kSweep));
    REQUIRE(InTable(r.recordDetectorIndex, keywords::kDetector));
    REQUIRE(InTable(r.recordScaleIndex, keywords::kScale));
}

void SetUnusualSettings() {
    InstrumentSettings& s = gSettings;
    s.comPortIndex = 5;
    s.baudIndex = 5;
    s.detailedTrace = 1;
    for (int n = 1; n <= 10; ++n) {
        s.traceColor[n] = 0x010203u * static_cast<uint32_t>(n);
    }
    for (int n = 1; n <= 6; ++n) {
        s.markerColor[n] = 0xA0B0C0u + static_cast<uint32_t>(n);
    }
    s.scaleLineColor = 0x123456;
    s.backgroundColor = 0xfedcba;
    s.centerFreq = 2450000000.0;
    s.spanIndex = 14;
    s.refLevel = -37;
    s.unitIndex = 2;
    s.levelOffset = -12.5;
    s.impedanceIndex = 1;
    s.sweepIndex = 7;
    s.detectorIndex = 2;
    s.rbwIndex = 7;
    s.vbwIndex = 10;
    s.markerMode = 1;
    s.peakMode = 1;
    s.zonePosition = 640;
    s.zoneWidth = 33;
    s.normMarkerFreq = 123456789.0;
    s.peakZoneCenter = 2400000000.0;
    s.peakZoneWidth = 40000000.0;
    s.conversionIndex = 3;
    s.measureIndex = 6;
    s.cpMode = 1;
    s.cpCenter = 915000000.0;
    s.cpWidth = 2000000.0;
    s.acpMode = 2;
    s.acpRefCenter = 1800000000.0;
    s.acpRefBw = 3840000.0;
    s.acpOffset = -7654321.0;
    s.acpChannelBw = 3840000.0;
    s.obwMode = 1;
    s.obwRatio = 95.5;
    s.obwDb = 26.0;
    s.antennaIndex = 4;
    s.probeIndex = 1;
    s.calcIndex = 3;
    s.maxCount = 16;
    s.minCount = 32;
    s.aveCount = 64;
    s.scaleIndex = 0;
    s.startWindowState = 1;
    s.startSetting = 1;
    s.remoteState = 1;
    s.timeOutSetting = 150;
    s.intervalSetting = 70;
}

void FuzzExerciseRecord() {
    InstrumentSettings& s = gSettings;
    // One built-in and the user table of each family: the others differ only in their rows.
    computeAntennaReference(0);
    computeAntennaReference(levelunits::kUserAntenna);
    computeProbeReference(0);
    computeProbeReference(levelunits::kUserProbe);
    const int slot = s.activeTraceSlot;
    const int savedKind = s.traceKind[slot];
    // The kinds whose references come from the record itself, and the empty slot, which follows
    // the measuring function.
    for (int kind : {0, 2, 28, 29, 30, 32, 34, 36, 37}) {
        s.traceKind[slot] = kind;
        (void)updateUnitLabels();
        (void)referenceInDisplayUnit(s.refLevel);
    }
    s.traceKind[slot] = savedKind;
    (void)updateUnitLabelsForMeasurement();
    (void)attenuatorText(s.refLevel);
    for (int unit = 0; unit < 4; ++unit) {
        const panelrules::ReferenceRange range =
            panelrules::ReferenceRangeFor(levelunits::unitConstant(unit), s.levelOffset);
        FuzzRequire(range.lo <= range.hi, "reference range ordered");
        (void)panelrules::ClampReference(static_cast<double>(s.refLevel), range);
    }
    (void)panelrules::CountListPosition(s.aveCount, true);
    (void)panelrules::CountListPosition(s.maxCount, false);
    char text[kTxBufferSize];
    for (int code = 100; code <= 150; ++code) {
        if (BuildCommandText(code, text, sizeof text) != 0)
            FuzzRequire(std::strlen(text) < sizeof text, "command text fits");
    }
}

namespace {
InstrumentSettings gSnapshot;
} // namespace

void FuzzSnapshot() {
    gSnapshot = gSettings;
}

bool FuzzRecordChanged() {
    // The settings part of the record, up to the trace data.
    return std::memcmp(&gSnapshot, &gSettings, offsetof(InstrumentSettings, activeTraceSlot)) !=
               0 ||
           std::memcmp(&gSnapshot.traceRecord, &gSettings.traceRecord,
                       offsetof(TraceRecord, tracePoints)) != 0 ||
           std::memcmp(gSnapshot.efUserFreq, gSettings.efUserFreq,
                       4 * sizeof gSnapshot.efUserFreq) != 0;
}

void FuzzCheckAndExercise(bool recordKindActive) {
    FuzzCheckRecord();
    if (!FuzzRecordChanged())
        return;
    if (recordKindActive)
        gSettings.traceKind[gSettings.activeTraceSlot] = gSettings.traceRecord.recordKind;
    FuzzExerciseRecord();
    FuzzCheckRecord();
}
