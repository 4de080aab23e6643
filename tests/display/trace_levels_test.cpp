#include "trace_levels.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace display;

TEST(TraceLevels, LevelsAtTopBottomAndAboveAndDisplayArraysOfFullShortAndEmptyTraces) {
    EXPECT_DOUBLE_EQ(ByteLevel(200, 10.0, 1), 10.0);
    EXPECT_DOUBLE_EQ(ByteLevel(0, 10.0, 1), -70.0); // 80 dB below at 10 dB/div
    EXPECT_DOUBLE_EQ(ByteLevel(0, 10.0, 0), -6.0);  // 16 dB below at 2 dB/div
    EXPECT_DOUBLE_EQ(ByteLevel(201, 0.0, 1), 0.4);
    EXPECT_DOUBLE_EQ(ByteLevel(255, 0.0, 0), 55 * 0.08);
    std::vector<uint8_t> bytes(1024);
    for (int k = 0; k < 1001; ++k)
        bytes[k] = static_cast<uint8_t>(k * 7 % 256);
    double out[kDisplayPositions];
    FillDisplayArray(bytes.data(), 1001, -20.0, 1, out);
    for (int k = 0; k < 1001; ++k)
        ASSERT_DOUBLE_EQ(out[k], ByteLevel(bytes[k], -20.0, 1)) << k;
    // A short trace with an offset draws flat steps four wide.
    const double top = 10 + 3.7; // reference plus offset
    FillDisplayArray(bytes.data(), 251, top, 0, out);
    for (int j = 0; j < 250; ++j) {
        const double level = ByteLevel(bytes[j], top, 0);
        for (int i = 0; i < 4; ++i)
            ASSERT_DOUBLE_EQ(out[4 * j + i], level) << j;
    }
    EXPECT_DOUBLE_EQ(out[1000], ByteLevel(bytes[250], top, 0));
    // No data draws the bottom line.
    FillDisplayArray(bytes.data(), 0, 0.0, 1, out);
    for (double v : out)
        ASSERT_DOUBLE_EQ(v, -80.0);
}

// The zoomed X windows, ticks and scroll ranges are seen through the widget.
TEST(Axes, RangesWindowsAndPointCounts) {
    struct Case {
        double top;
        int scale, zoom, scroll;
        double maximum, minimum;
    };
    for (const Case& c : {
             Case{12.5, 1, 0, 40, 12.5, -67.5}, // unzoomed: the full range below the top
             Case{0, 0, 0, 0, 0, -16},
             Case{10, 1, 2, 0, 10, -10},    // zoom 2 at 10 dB/div shows 20 dB
             Case{10, 1, 1, 30, -20, -60},  // 1 dB per step at 10 dB/div
             Case{10, 0, 1, 12, 8, 0},      // whole dB steps of five at 2 dB/div
             Case{10, 1, 1, 500, -30, -70}, // scroll clamped
         }) {
        const AxisRange r = YAxisRange(c.top, c.scale, c.zoom, c.scroll);
        EXPECT_DOUBLE_EQ(r.maximum, c.maximum) << c.top << " " << c.zoom << " " << c.scroll;
        EXPECT_DOUBLE_EQ(r.minimum, c.minimum) << c.top << " " << c.zoom << " " << c.scroll;
    }
    EXPECT_DOUBLE_EQ(YTickInterval(1, 2), 2.5);
    EXPECT_DOUBLE_EQ(YTickInterval(0, 3), 0.25);
    // X: the unzoomed window is whole, scrolls are clamped; kinds give their point counts.
    EXPECT_EQ(VisibleWidth(0), 1000);
    EXPECT_EQ(MaxYScroll(3), 70);
    const PlotWindow whole = VisiblePlotWindow(0, 300);
    EXPECT_EQ(std::pair(whole.first, whole.count), std::pair(0, 1001));
    const PlotWindow clamped = VisiblePlotWindow(1, 900);
    EXPECT_EQ(clamped.first + clamped.count, 1001);
    for (const auto& [kind, points] :
         {std::pair{0, 251}, {1, 1001}, {2, 0}, {38, 1001}, {39, 251}, {77, 0}})
        EXPECT_EQ(PointsOfKind(kind), points) << kind;
}
