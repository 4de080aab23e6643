#include "measurement_bands.h"

#include <gtest/gtest.h>

#include <vector>

using namespace display;

namespace {
const AxisFrame k20M{.centerFreq = 1e9, .spanStep = 20000, .sweepSeconds = 0.1}; // span "20M"

std::vector<double> X(const BandCursors& b, int from, int to) {
    return std::vector<double>(b.x + from, b.x + to);
}
std::vector<int> Stored(const BandCursors& b) {
    return std::vector<int>(b.storedPositions, b.storedPositions + 6);
}

// A span change keeping the band on screen is checked through the widget.
TEST(BandCursors, ChannelPowerAndAdjacentChannelEdgesAndFrequenciesBackFromPositions) {
    const int none[6] = {};
    const BandCursors cp = ChannelPowerCursors(k20M, 1.002e9, 1e6, none);
    EXPECT_EQ(X(cp, 0, 3), (std::vector<double>{600, 625, 575}));
    EXPECT_EQ(Stored(cp), (std::vector<int>{600, 25, 0, 0, 0, 0}));
    EXPECT_EQ(X(ChannelPowerCursors(k20M, 1.009e9, 10e6, none), 0, 3),
              (std::vector<double>{950, 1001, 700}));
    const int previous[6] = {11, 12, 0, 0, 0, 0};
    const BandCursors acp = AcpCursors(k20M, 1e9, 1e6, 5e6, 1e6, previous);
    EXPECT_EQ(Stored(acp), (std::vector<int>{11, 12, 500, 25, 250, 25})); // channel power kept
    EXPECT_EQ(X(acp, 3, 7), (std::vector<double>{775, 725, 275, 225}));
    // Back from positions, zero half widths become one step.
    const int positions[6] = {0, 0, 500, 0, 100, 0};
    const BandFrequencies f = FrequenciesFromPositions(k20M, positions);
    EXPECT_EQ(
        (std::vector<double>{f.cpWidth, f.acpRefCenter, f.acpRefBw, f.acpChannelBw, f.acpOffset}),
        (std::vector<double>{0, 1e9, 20000, 20000, 2e6}));
}

} // namespace

// The plain "C:... W:..." form is read through the widget; here the looser forms.
TEST(ObwResult, CentreAndWidthAreReadAndTextsWithoutThemRefused) {
    double c = 0, w = 0;
    ASSERT_TRUE(ParseObwResult("c: 950.0000MHz  OBW: 100.0000kHz", &c, &w));
    EXPECT_DOUBLE_EQ(c, 950e6);
    EXPECT_DOUBLE_EQ(w, 100e3);
    c = 7;
    w = 8;
    for (const char* text : {"", "Read error", "C:", "C:abc W:1M", "C:1G", "C:1G W",
                             "C:1G W:", "C:1G W:x", " C:1G W:1M", "CX1G W:1M"}) {
        EXPECT_FALSE(ParseObwResult(text, &c, &w)) << text;
        EXPECT_EQ(c, 7);
        EXPECT_EQ(w, 8);
    }
    EXPECT_FALSE(ParseObwResult(nullptr, &c, &w));
}

// The antenna bands, the upper ratio and the lower dB limit are seen through the widget.
TEST(MeasurementLimits, BadAntennaIndexesAndEditLimits) {
    EXPECT_FALSE(AntennaBandOf(4).checked);
    EXPECT_FALSE(AntennaBandOf(-1).checked);
    EXPECT_DOUBLE_EQ(ClampToLimit(MeasureEdit::ObwRatio, 10), 80);
    EXPECT_DOUBLE_EQ(ClampToLimit(MeasureEdit::BandWidth, 5e9), 3.3e9);
    EXPECT_DOUBLE_EQ(ClampToLimit(MeasureEdit::RefWidth, -1), 0);
    EXPECT_DOUBLE_EQ(ClampToLimit(MeasureEdit::BandCenter, -5e9), -5e9);
}
