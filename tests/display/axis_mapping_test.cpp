#include "axis_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace display;

namespace {

AxisFrame Frame20M(int xZoom = 0, int xScroll = 0) {
    AxisFrame f;
    f.centerFreq = 1e9;
    f.spanStep = 20000; // "20M"
    f.xZoom = xZoom;
    f.xScroll = xScroll;
    f.sweepSeconds = 0.1;
    return f;
}

} // namespace

// The plain unzoomed labels are checked through the widget in trace_display_traces_test.cpp.
TEST(FrequencyLabels, ZoomScrollZeroSpanAndTheEndNearZero) {
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
}

TEST(PositionMapping, RoundTripAndClamp) {
    const AxisFrame f = Frame20M(1, 100);
    EXPECT_DOUBLE_EQ(PositionToFrequency(f, 400), 1e9);
    EXPECT_DOUBLE_EQ(FrequencyToPosition(f, 1e9), 400);
    EXPECT_DOUBLE_EQ(FrequencyToPosition(f, 5e9), 501); // n + 1
    EXPECT_DOUBLE_EQ(FrequencyToPosition(f, 0), 0);
    EXPECT_DOUBLE_EQ(FrequencyToPosition(f, std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(PositionMapping, ZeroSpanUsesTime) {
    AxisFrame f = Frame20M();
    f.zeroSpan = true;
    EXPECT_DOUBLE_EQ(PositionToTime(f, 500), 0.05);
    EXPECT_DOUBLE_EQ(FrequencyToPosition(f, 0.05), 500);
    EXPECT_DOUBLE_EQ(WidthToPositions(f, 0.01), 100);
}

TEST(PositionMapping, ZeroStepStaysFinite) {
    AxisFrame f = Frame20M();
    f.spanStep = 0;
    EXPECT_TRUE(std::isfinite(FrequencyToPosition(f, 2e9)));
    EXPECT_TRUE(std::isfinite(WidthToPositions(f, 1e6)));
    EXPECT_EQ(TruncToInt(std::numeric_limits<double>::infinity()), 1000000000);
    EXPECT_EQ(TruncToInt(std::nan("")), 0);
}
