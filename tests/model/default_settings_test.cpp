#include "instrument_settings.h"
#include "keyword_match.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using keywords::keywordAt;

TEST(DefaultSettings, CommandRelevantDefaults) {
    SetDefaultSettings();
    const InstrumentSettings& s = gSettings;
    EXPECT_EQ(s.centerFreq, 1.0e9);
    EXPECT_STREQ(keywords::spanKeyword(s.modelIndex, s.spanIndex), "20M");
    EXPECT_EQ(s.refLevel, 10);
    EXPECT_STREQ(keywordAt(keywords::kUnit, s.unitIndex), "DBM");
    EXPECT_STREQ(keywordAt(keywords::kRbw, s.rbwIndex), "100K");
    EXPECT_STREQ(keywordAt(keywords::kVbw, s.vbwIndex), "10K");
    EXPECT_STREQ(keywordAt(keywords::kSweep, s.sweepIndex), "0.1");
    EXPECT_STREQ(keywordAt(keywords::kDetector, s.detectorIndex), "POS");
    EXPECT_STREQ(keywordAt(keywords::kScale, s.scaleIndex), "10");
    EXPECT_EQ(s.aveCount, 256);
    EXPECT_EQ(s.levelOffset, 0.0);
    EXPECT_EQ(s.impedanceIndex, 0);
    EXPECT_EQ(s.cpCenter, 1.0e9);
    EXPECT_EQ(s.cpWidth, 1.0e6);
    EXPECT_EQ(s.acpOffset, 5.0e6);
    EXPECT_EQ(s.acpChannelBw, 1.0e6);
    EXPECT_EQ(s.acpRefCenter, 1.0e9);
    EXPECT_EQ(s.acpRefBw, 1.0e6);
    EXPECT_EQ(s.obwRatio, 99.0);
    EXPECT_EQ(s.obwDb, 25.0);
    EXPECT_EQ(s.maxCount, 0);
    EXPECT_EQ(s.minCount, 0);
    EXPECT_EQ(s.calcSpread, 0);
    EXPECT_EQ(s.measureIndex, 0);
    EXPECT_EQ(s.antennaIndex, 0);
    EXPECT_EQ(s.probeIndex, 0);
}

TEST(DefaultSettings, ResetsEveryAssignedFieldFromAnyState) {
    std::memset(&gSettings, 0x5A, sizeof gSettings);
    gSettings.normMarkerFreq = 123.0;
    gSettings.peakZoneCenter = 456.0;
    gSettings.peakZoneWidth = 789.0;
    gSettings.detailedTrace = 1;
    SetDefaultSettings();
    const InstrumentSettings& s = gSettings;
    // Not assigned: they keep what they held.
    EXPECT_EQ(s.normMarkerFreq, 123.0);
    EXPECT_EQ(s.peakZoneCenter, 456.0);
    EXPECT_EQ(s.peakZoneWidth, 789.0);
    EXPECT_EQ(s.detailedTrace, 1);

    EXPECT_STREQ(s.efUserText, "");
    EXPECT_STREQ(s.mfUserText, "");
    EXPECT_EQ(s.runState, 0);
    EXPECT_EQ(s.remoteState, 0);
    EXPECT_EQ(s.instrumentPresent, 0);
    EXPECT_EQ(s.modelIndex, 0);
    EXPECT_EQ(s.markerMode, 0);
    EXPECT_EQ(s.peakMode, 0);
    EXPECT_EQ(s.peakSearchNo, 0);
    EXPECT_EQ(s.conversionIndex, 0);
    EXPECT_EQ(s.calcIndex, 0);
    EXPECT_STREQ(s.versionText, "VER*.**");
    EXPECT_STREQ(s.titleText, "Orvel Version 1.11");
    for (int i = 0; i < kTraceSlots; ++i) {
        EXPECT_EQ(s.traceKind[i], 2) << i;
        EXPECT_EQ(s.traceView[i], i == 1 ? 1 : 0) << i;
    }
    for (int i = 0; i < kUserTableRows; ++i) {
        EXPECT_EQ(s.efUserFreq[i], -200);
        EXPECT_EQ(s.efUserGain[i], -200);
        EXPECT_EQ(s.mfUserFreq[i], -200);
        EXPECT_EQ(s.mfUserGain[i], -200);
    }
    EXPECT_EQ(s.baudIndex, 3);
    EXPECT_EQ(s.comPortIndex, 0);
    EXPECT_EQ(s.timeOutSetting, 100);
    EXPECT_EQ(s.intervalSetting, 100);
    EXPECT_EQ(s.unchangedTraceCount, 0);
    EXPECT_EQ(s.startSetting, 0);
    EXPECT_EQ(s.startWindowState, 0);
    EXPECT_EQ(s.compactMode, 0);
    EXPECT_EQ(s.requiredFileFound, 1);
    EXPECT_EQ(s.selectedMarker, 1);
    EXPECT_EQ(s.memoryRangeStart, 0);
    EXPECT_EQ(s.memoryRangeEnd, 99);
    EXPECT_EQ(s.xZoom, 0);
    EXPECT_EQ(s.yZoom, 0);
    EXPECT_EQ(s.xScroll, 0);
    EXPECT_EQ(s.xScrollSaved, 0);
    EXPECT_EQ(s.yScroll, 0);
    EXPECT_EQ(s.activeTraceSlot, 1);
    for (const auto& row : s.traceStore) {
        for (uint8_t b : row) {
            ASSERT_EQ(b, 0);
        }
    }
    for (uint8_t b : s.traceRecord.tracePoints) {
        ASSERT_EQ(b, 0);
    }
}

} // namespace
