#include "axis_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace display;

namespace {

AxisFrame Frame20M(int xZoom = 0, int xScroll = 0) { // span "20M"
    return {.centerFreq = 1e9,
            .spanStep = 20000,
            .xScroll = xScroll,
            .xZoom = xZoom,
            .sweepSeconds = 0.1};
}

} // namespace

// The plain unzoomed labels are checked through the widget in trace_display_traces_test.cpp.
TEST(AxisMapping, LabelsAndPositionsByZoomScrollZeroSpanAndZeroStep) {
    struct Case {
        double centre;
        bool zeroSpan;
        int xZoom, xScroll;
        const char* left;
        const char* right;
    };
    for (const Case& c : {Case{1e9, false, 1, 250, "995.0000M", "1.0050G"},
                          Case{10e6 + 0.5, false, 0, 0, "0.0000", nullptr},
                          Case{1e9, true, 0, 0, "0.0000s", "100.0000ms"},
                          Case{1e9, true, 2, 500, "50.0000ms", "75.0000ms"}}) {
        AxisFrame f = Frame20M(c.xZoom, c.xScroll);
        f.centerFreq = c.centre;
        f.zeroSpan = c.zeroSpan;
        const AxisEndLabels l = FrequencyLabels(f);
        EXPECT_EQ(l.left, c.left) << c.centre << " " << c.zeroSpan << " " << c.xZoom;
        if (c.right) {
            EXPECT_EQ(l.right, c.right) << c.centre << " " << c.zeroSpan << " " << c.xZoom;
        }
    }
    // Positions: round trip, clamp, zero span and zero step.
    const AxisFrame f = Frame20M(1, 100);
    EXPECT_DOUBLE_EQ(PositionToFrequency(f, 400), 1e9);
    EXPECT_DOUBLE_EQ(FrequencyToPosition(f, 1e9), 400);
    EXPECT_DOUBLE_EQ(FrequencyToPosition(f, 5e9), 501); // n + 1
    EXPECT_DOUBLE_EQ(FrequencyToPosition(f, 0), 0);
    EXPECT_DOUBLE_EQ(FrequencyToPosition(f, std::numeric_limits<double>::quiet_NaN()), 0);
    AxisFrame time = Frame20M();
    time.zeroSpan = true;
    EXPECT_DOUBLE_EQ(PositionToTime(time, 500), 0.05);
    EXPECT_DOUBLE_EQ(FrequencyToPosition(time, 0.05), 500);
    EXPECT_DOUBLE_EQ(WidthToPositions(time, 0.01), 100);
    AxisFrame flat = Frame20M();
    flat.spanStep = 0;
    EXPECT_TRUE(std::isfinite(FrequencyToPosition(flat, 2e9)));
    EXPECT_TRUE(std::isfinite(WidthToPositions(flat, 1e6)));
    EXPECT_EQ(TruncToInt(std::numeric_limits<double>::infinity()), 1000000000);
    EXPECT_EQ(TruncToInt(std::nan("")), 0);
}
