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

TEST(FrequencyLabels, NormalSpanShowsTheAxisEnds) {
    const AxisEndLabels l = FrequencyLabels(Frame20M());
    EXPECT_EQ(l.left, "990.0000M");
    EXPECT_EQ(l.right, "1.0100G");
}

TEST(FrequencyLabels, ZoomedAndScrolled) {
    const AxisEndLabels l = FrequencyLabels(Frame20M(1, 250));
    EXPECT_EQ(l.left, "995.0000M");
    EXPECT_EQ(l.right, "1.0050G");
}

TEST(FrequencyLabels, LeftEndNearZeroShowsZero) {
    AxisFrame f = Frame20M();
    f.centerFreq = 10e6 + 0.5;
    EXPECT_EQ(FrequencyLabels(f).left, "0.0000");
}

TEST(FrequencyLabels, ZeroSpanShowsTimes) {
    AxisFrame f = Frame20M();
    f.zeroSpan = true;
    AxisEndLabels l = FrequencyLabels(f);
    EXPECT_EQ(l.left, "0.0000s");
    EXPECT_EQ(l.right, "100.0000ms");
    f.xZoom = 2;
    f.xScroll = 500;
    l = FrequencyLabels(f);
    EXPECT_EQ(l.left, "50.0000ms");
    EXPECT_EQ(l.right, "75.0000ms");
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
