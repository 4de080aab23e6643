#include "fuzz_support.h"

#include "command_set.h"
#include "keyword_tables.h"
#include "level_units.h"
#include "panel_rules.h"
#include "trace_kinds.h"
#include "value_limits.h"

#include <cstdio>
#include <tuple>
#include <utility>

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

#define REQUIRE(cond) FuzzRequire((cond), #cond)

void FuzzCheckRecord() {
    using namespace keywords;
    const InstrumentSettings& s = gSettings;
    const TraceRecord& r = s.traceRecord;
    // Every index inside its table, every field inside its range: value, lo, hi.
    // clang-format off
    const std::tuple<int, int, int> ranges[] = {
        {s.modelIndex, 0, 1}, {s.impedanceIndex, 0, 1}, {s.calcSpread, 0, 1}, {s.remoteState, 0, 1},
        {s.detailedTrace, 0, 1}, {s.startSetting, 0, 1}, {s.unitIndex, 0, 5},
        {s.spanIndex, 0, spanCount(s.modelIndex) - 1}, {s.rbwIndex, 0, count(kRbw) - 1},
        {s.vbwIndex, 0, count(kVbw) - 1}, {s.sweepIndex, 0, count(kSweep) - 1},
        {s.detectorIndex, 0, count(kDetector) - 1}, {s.scaleIndex, 0, count(kScale) - 1},
        {s.markerMode, 0, count(kMarkerMode) - 1}, {s.peakMode, 0, count(kPeakMode) - 1},
        {s.conversionIndex, 0, count(kConversion) - 1}, {s.measureIndex, 0, count(kMeasure) - 1},
        {s.cpMode, 0, count(kCpMode) - 1}, {s.acpMode, 0, count(kAcpMode) - 1},
        {s.obwMode, 0, count(kObwMode) - 1}, {s.antennaIndex, 0, count(kAntenna) - 1},
        {s.probeIndex, 0, count(kProbe) - 1}, {s.calcIndex, 0, count(kCalc) - 1},
        {s.comPortIndex, 0, 8}, {s.baudIndex, 0, 5}, {s.timeOutSetting, 0, 200},
        {s.intervalSetting, 50, 150}, {s.unchangedTraceCount, 0, 10}, {s.startWindowState, 0, 2},
        {s.activeTraceSlot, 0, kTraceSlots - 1}, {s.zonePosition, 0, 1001}, {s.zoneWidth, 0, 1001},
        {s.refLevel, kRefLevelMin, kRefLevelMax}, {s.maxCount, kCountMin, kCountMax},
        {s.minCount, kCountMin, kCountMax}, {s.aveCount, kCountMin, kCountMax},
        {r.recordRefLevel, kRecordRefLevelMin, kRecordRefLevelMax}};
    const std::tuple<double, double, double> levels[] = {
        {s.centerFreq, 0.0, centerFreqMax(s.modelIndex)}, {s.levelOffset, kOffsetMin, kOffsetMax},
        {s.obwRatio, kObwRatioMin, kObwRatioMax}, {s.obwDb, kObwDbMin, kObwDbMax},
        {s.cpWidth, 0.0, kFreqMax}, {s.acpChannelBw, 0.0, kFreqMax}, {s.acpRefBw, 0.0, kFreqMax},
        {s.peakZoneWidth, 0.0, kFreqMax}};
    // clang-format on
    for (auto [value, lo, hi] : ranges)
        REQUIRE(inRange(value, lo, hi));
    for (auto [value, lo, hi] : levels)
        REQUIRE(inRange(value, lo, hi));
    for (double f : {s.cpCenter, s.acpOffset, s.acpRefCenter, s.normMarkerFreq, s.peakZoneCenter,
                     r.recordCenterFreq})
        REQUIRE(isFrequency(f));
    for (int i = 0; i < kUserTableRows; ++i) {
        for (int freq : {s.efUserFreq[i], s.mfUserFreq[i]})
            REQUIRE(inRange(freq, kUserFreqMin, kUserFreqMax));
        for (int gain : {s.efUserGain[i], s.mfUserGain[i]})
            REQUIRE(inRange(gain, kUserGainMin, kUserGainMax));
    }
    for (int kind : s.traceKind)
        REQUIRE(tracekind::isKnownKind(kind));

    REQUIRE(r.recordKind == 0 || tracekind::isKnownKind(r.recordKind));
    FuzzCheckTraceIndexes(r, count(kSpan420));
    // clang-format off
    const std::pair<const char*, std::size_t> texts[] = {{s.efUserText, sizeof s.efUserText},
        {s.mfUserText, sizeof s.mfUserText}, {s.versionText, sizeof s.versionText},
        {s.titleText, sizeof s.titleText}};
    // clang-format on
    for (auto [text, size] : texts)
        REQUIRE(std::memchr(text, '\0', size) != nullptr);
}

void FuzzCheckTraceIndexes(const TraceRecord& r, int spanRows) {
    using namespace keywords;
    REQUIRE((r.recordUnitBits & 0xFu) <= 5u);
    // clang-format off
    const std::pair<int, int> indexes[] = {{r.recordSpanIndex, spanRows},
        {r.recordRbwIndex, count(kRbw)}, {r.recordVbwIndex, count(kVbw)},
        {r.recordSweepIndex, count(kSweep)}, {r.recordDetectorIndex, count(kDetector)},
        {r.recordScaleIndex, count(kScale)}};
    // clang-format on
    for (auto [index, rows] : indexes)
        REQUIRE(inRange(index, 0, rows - 1));
}

void SetUnusualSettings() {
    InstrumentSettings& s = gSettings;
    for (int n = 1; n <= 10; ++n)
        s.traceColor[n] = 0x010203u * static_cast<uint32_t>(n);
    for (int n = 1; n <= 6; ++n)
        s.markerColor[n] = 0xA0B0C0u + static_cast<uint32_t>(n);
    s.scaleLineColor = 0x123456;
    s.backgroundColor = 0xfedcba;
    // clang-format off
    const std::pair<int*, int> ints[] = {
        {&s.comPortIndex, 5}, {&s.baudIndex, 5}, {&s.detailedTrace, 1}, {&s.spanIndex, 14},
        {&s.refLevel, -37}, {&s.unitIndex, 2}, {&s.impedanceIndex, 1}, {&s.sweepIndex, 7},
        {&s.detectorIndex, 2}, {&s.rbwIndex, 7}, {&s.vbwIndex, 10}, {&s.markerMode, 1},
        {&s.peakMode, 1}, {&s.zonePosition, 640}, {&s.zoneWidth, 33}, {&s.conversionIndex, 3},
        {&s.measureIndex, 6}, {&s.cpMode, 1}, {&s.acpMode, 2}, {&s.obwMode, 1},
        {&s.antennaIndex, 4}, {&s.probeIndex, 1}, {&s.calcIndex, 3}, {&s.maxCount, 16},
        {&s.minCount, 32}, {&s.aveCount, 64}, {&s.scaleIndex, 0}, {&s.startWindowState, 1},
        {&s.startSetting, 1}, {&s.remoteState, 1}, {&s.timeOutSetting, 150},
        {&s.intervalSetting, 70}};
    const std::pair<double*, double> doubles[] = {
        {&s.centerFreq, 2450e6}, {&s.levelOffset, -12.5}, {&s.normMarkerFreq, 123456789.0},
        {&s.peakZoneCenter, 2400e6}, {&s.peakZoneWidth, 40e6}, {&s.cpCenter, 915e6},
        {&s.cpWidth, 2e6}, {&s.acpRefCenter, 1800e6}, {&s.acpRefBw, 3.84e6},
        {&s.acpOffset, -7654321.0}, {&s.acpChannelBw, 3.84e6}, {&s.obwRatio, 95.5},
        {&s.obwDb, 26.0}};
    // clang-format on
    for (auto [field, value] : ints)
        *field = value;
    for (auto [field, value] : doubles)
        *field = value;
}

void FuzzExerciseRecord() {
    InstrumentSettings& s = gSettings;
    // One built-in and the user table of each family: the others differ only in their rows.
    for (int table : {0, levelunits::kUserAntenna})
        computeAntennaReference(table);
    for (int table : {0, levelunits::kUserProbe})
        computeProbeReference(table);
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
    for (int code = 100; code <= 150; ++code)
        if (BuildCommandText(code, text, sizeof text) != 0)
            FuzzRequire(std::strlen(text) < sizeof text, "command text fits");
}

static InstrumentSettings gSnapshot;

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
