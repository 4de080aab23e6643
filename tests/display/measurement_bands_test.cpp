#include "measurement_bands.h"

#include <gtest/gtest.h>

using namespace display;

namespace {
const AxisFrame k20M{.centerFreq = 1e9, .spanStep = 20000, .sweepSeconds = 0.1}; // span "20M"
} // namespace

TEST(BandCursors, ChannelPowerCentreAndEdges) {
    const int none[6] = {};
    const BandCursors b = ChannelPowerCursors(k20M, 1.002e9, 1e6, none);
    EXPECT_DOUBLE_EQ(b.x[0], 600);
    EXPECT_DOUBLE_EQ(b.x[1], 625);
    EXPECT_DOUBLE_EQ(b.x[2], 575);
    EXPECT_EQ(b.storedPositions[0], 600);
    EXPECT_EQ(b.storedPositions[1], 25);
}

TEST(BandCursors, EdgesPastTheAxisAreClamped) {
    const int none[6] = {};
    const BandCursors b = ChannelPowerCursors(k20M, 1.009e9, 10e6, none);
    EXPECT_DOUBLE_EQ(b.x[0], 950);
    EXPECT_DOUBLE_EQ(b.x[1], 1001);
    EXPECT_DOUBLE_EQ(b.x[2], 700);
}

TEST(BandCursors, AdjacentChannelEdgesAroundTheReference) {
    const int previous[6] = {11, 12, 0, 0, 0, 0};
    const BandCursors b = AcpCursors(k20M, 1e9, 1e6, 5e6, 1e6, previous);
    EXPECT_EQ(b.storedPositions[0], 11); // channel power positions kept
    EXPECT_EQ(b.storedPositions[2], 500);
    EXPECT_EQ(b.storedPositions[3], 25);
    EXPECT_EQ(b.storedPositions[4], 250);
    EXPECT_EQ(b.storedPositions[5], 25);
    EXPECT_DOUBLE_EQ(b.x[3], 775);
    EXPECT_DOUBLE_EQ(b.x[4], 725);
    EXPECT_DOUBLE_EQ(b.x[5], 275);
    EXPECT_DOUBLE_EQ(b.x[6], 225);
}

// A span change keeping the band on screen is checked through the widget.
TEST(BandSync, ZeroHalfWidthsBecomeOneStep) {
    const int positions[6] = {0, 0, 500, 0, 100, 0};
    const BandFrequencies f = FrequenciesFromPositions(k20M, positions);
    EXPECT_DOUBLE_EQ(f.acpRefCenter, 1e9);
    EXPECT_DOUBLE_EQ(f.acpRefBw, 20000);
    EXPECT_DOUBLE_EQ(f.acpChannelBw, 20000);
    EXPECT_DOUBLE_EQ(f.acpOffset, 2e6);
    EXPECT_DOUBLE_EQ(f.cpWidth, 0);
}

// The plain "C:... W:..." form is read through the widget; here the looser forms.
TEST(ObwResult, CentreAndWidthAreRead) {
    double c = 0, w = 0;
    ASSERT_TRUE(ParseObwResult("c: 950.0000MHz  OBW: 100.0000kHz", &c, &w));
    EXPECT_DOUBLE_EQ(c, 950e6);
    EXPECT_DOUBLE_EQ(w, 100e3);
}

TEST(ObwResult, TextsWithoutTheExpectedPartsAreRefused) {
    double c = 7, w = 8;
    for (const char* text : {"", "Read error", "C:", "C:abc W:1M", "C:1G", "C:1G W",
                             "C:1G W:", "C:1G W:x", " C:1G W:1M", "CX1G W:1M"}) {
        EXPECT_FALSE(ParseObwResult(text, &c, &w)) << text;
        EXPECT_EQ(c, 7);
        EXPECT_EQ(w, 8);
    }
    EXPECT_FALSE(ParseObwResult(nullptr, &c, &w));
}

// AT15 is checked through the widget.
TEST(AntennaBands, TableAndLabelsMatchingTheSpan) {
    const AntennaBand at13 = AntennaBandOf(2);
    EXPECT_EQ(at13.spanIndex, 11); // "500M": the labels cover 500 MHz around the centre
    EXPECT_STREQ(at13.leftLabel, "1.7000G");
    EXPECT_STREQ(at13.rightLabel, "2.2000G");
    EXPECT_FALSE(AntennaBandOf(4).checked); // user table
    EXPECT_FALSE(AntennaBandOf(-1).checked);
    EXPECT_STREQ(AntennaBandOf(6).leftLabel, "4.4500G");
}

TEST(MeasureDialogRules, SpanAndModelDecideWhatIsOffered) {
    struct Case {
        int span, model;
        bool bandFunctions, at16, counter;
    };
    // Zero span, FULL on RVX410, 5G and FULL on RVX420.
    for (const Case c : {Case{0, 0, false, false, true}, Case{14, 0, true, false, false},
                         Case{14, 1, true, true, true}, Case{15, 1, true, true, false}}) {
        const MeasureDialogRules r = MeasureDialogRulesFor(c.span, c.model);
        EXPECT_EQ(r.bandFunctions, c.bandFunctions) << c.span << " " << c.model;
        EXPECT_EQ(r.at16Enabled, c.at16) << c.span << " " << c.model;
        EXPECT_EQ(r.frequencyCounter, c.counter) << c.span << " " << c.model;
    }
}

// The upper ratio and the lower dB limit are checked through the widget.
TEST(MeasureEditLimits, ClampedNeverRefused) {
    EXPECT_DOUBLE_EQ(ClampToLimit(MeasureEdit::ObwRatio, 10), 80);
    EXPECT_DOUBLE_EQ(ClampToLimit(MeasureEdit::BandWidth, 5e9), 3.3e9);
    EXPECT_DOUBLE_EQ(ClampToLimit(MeasureEdit::RefWidth, -1), 0);
    EXPECT_DOUBLE_EQ(ClampToLimit(MeasureEdit::BandCenter, -5e9), -5e9);
}
