#include "compact_summary.h"

#include "instrument_settings.h"

#include <gtest/gtest.h>

using namespace display;

class CompactSummaryTest : public ::testing::Test {
protected:
    void SetUp() override { SetDefaultSettings(); }
    CompactInputs Inputs() {
        CompactInputs in;
        in.marker1Freq = "1.0000G";
        in.marker1Level = "-20.0";
        in.marker2Freq = "990.0000M";
        in.marker2Level = "-60.4";
        in.bandCenter = "1.0000G";
        in.bandWidth = "1.0000M";
        in.refCenter = "1.0000G";
        in.refWidth = "2.0000M";
        in.obwRatio = "99.0";
        in.obwDb = "25.0";
        in.result = "C:1.0000GHz W:2.0000MHz";
        return in;
    }
};

TEST_F(CompactSummaryTest, SettingsOfTheDefaultRecord) {
    const CompactSummaryTexts t = BuildCompactSummary(Inputs());
    EXPECT_EQ(t.frequency[0].caption, "CENTER");
    EXPECT_EQ(t.frequency[0].value, "1.0000GHz");
    EXPECT_EQ(t.frequency[1].value, "20MHz");
    EXPECT_EQ(t.frequency[2].value, "100KHz");
    EXPECT_EQ(t.frequency[3].value, "10KHz");
    EXPECT_EQ(t.level[0].value, "10dBm");
    EXPECT_EQ(t.level[1].value, "0.0dB");
    EXPECT_EQ(t.level[2].value, "50");
    EXPECT_EQ(t.level[3].value, "25dB");
    EXPECT_EQ(t.level[4].value, "10dB/div");
    EXPECT_EQ(t.sweep[0].value, "0.1");
    EXPECT_EQ(t.sweep[1].value, "POS");
    EXPECT_EQ(t.calcMode, "Normal");
    EXPECT_EQ(t.measureTitle, "Measuring Mode");
    EXPECT_EQ(t.measureName, "Measure Off");
    EXPECT_EQ(t.measureRows[0].caption, "MKR1 FREQ");
    EXPECT_EQ(t.measureRows[0].value, "1.0000GHz");
    EXPECT_EQ(t.measureRows[3].caption, "MKR2 LEVEL");
    EXPECT_EQ(t.result, "C:1.0000GHz W:2.0000MHz");
}

TEST_F(CompactSummaryTest, UnitsAttenuatorAndDeltaMarkers) {
    gSettings.unitIndex = 1;
    gSettings.refLevel = -50;
    gSettings.levelOffset = -0.5;
    gSettings.markerMode = 1;
    gSettings.impedanceIndex = 1;
    const CompactSummaryTexts t = BuildCompactSummary(Inputs());
    EXPECT_EQ(t.level[0].value, "56dBuV");
    EXPECT_EQ(t.level[3].value, "S/W AMP");
    EXPECT_EQ(t.level[2].value, "75");
    EXPECT_EQ(t.measureRows[2].caption, "DELTA FREQ");
    EXPECT_EQ(t.measureRows[3].caption, "DELTA LEVEL");
}

TEST_F(CompactSummaryTest, MeasurementRowsByFunction) {
    gSettings.measureIndex = 1;
    gSettings.cpMode = 0;
    CompactSummaryTexts t = BuildCompactSummary(Inputs());
    EXPECT_EQ(t.measureName, "Channnel Power");
    for (const CompactLine& row : t.measureRows)
        EXPECT_TRUE(row.caption.empty() && row.value.empty());

    gSettings.cpMode = 1;
    t = BuildCompactSummary(Inputs());
    EXPECT_EQ(t.measureRows[1].caption, "Band Width");
    EXPECT_EQ(t.measureRows[1].value, "1.0000MHz");

    gSettings.measureIndex = 2;
    gSettings.acpMode = 1;
    t = BuildCompactSummary(Inputs());
    EXPECT_EQ(t.measureRows[0].caption, "Adj Ch Offset");
    EXPECT_EQ(t.measureRows[2].caption, "Reference Center");
    EXPECT_EQ(t.measureRows[3].value, "2.0000MHz");
    gSettings.acpMode = 2;
    t = BuildCompactSummary(Inputs());
    EXPECT_TRUE(t.measureRows[2].caption.empty());

    gSettings.measureIndex = 3;
    gSettings.obwMode = 1;
    t = BuildCompactSummary(Inputs());
    EXPECT_EQ(t.measureRows[0].caption, "XdB DOWN");
    EXPECT_EQ(t.measureRows[0].value, "25.0dB");
    gSettings.obwMode = 0;
    EXPECT_EQ(BuildCompactSummary(Inputs()).measureRows[0].value, "99.0%");
}

TEST_F(CompactSummaryTest, IndexesOutOfTheirTablesGiveEmptyTexts) {
    gSettings.rbwIndex = 99;
    gSettings.spanIndex = -3;
    gSettings.calcIndex = 12;
    gSettings.measureIndex = 40;
    const CompactSummaryTexts t = BuildCompactSummary(Inputs());
    EXPECT_EQ(t.frequency[2].value, "Hz");
    EXPECT_EQ(t.frequency[1].value, "Hz");
    EXPECT_EQ(t.calcMode, "");
    EXPECT_EQ(t.measureName, "");
}
