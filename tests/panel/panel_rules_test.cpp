// The panel's value rules without a window.

#include "panel_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace panelrules;

TEST(PanelRules, CentreFrequencyIsClampedToTheModel) {
    EXPECT_EQ(ClampCenterFreq(1.5e9, 0), 1.5e9);
    EXPECT_EQ(ClampCenterFreq(9e9, 0), 3.3e9);
    EXPECT_EQ(ClampCenterFreq(9e9, 1), 8.5e9);
    EXPECT_EQ(ClampCenterFreq(-5, 0), 0.0);
    EXPECT_FALSE(std::signbit(ClampCenterFreq(-0.0, 0)));
    EXPECT_EQ(ClampCenterFreq(std::numeric_limits<double>::quiet_NaN(), 0), 0.0);
    EXPECT_EQ(ClampCenterFreq(std::numeric_limits<double>::infinity(), 1), 8.5e9);
}

TEST(PanelRules, SpansThatExcludeTenMillisecondSweeps) {
    EXPECT_TRUE(SpanExcludesFastSweep(0, 14));
    EXPECT_FALSE(SpanExcludesFastSweep(0, 13));
    EXPECT_TRUE(SpanExcludesFastSweep(1, 14));
    EXPECT_TRUE(SpanExcludesFastSweep(1, 15));
    EXPECT_TRUE(IsFullSpan(0, 14));
    EXPECT_FALSE(IsFullSpan(1, 14));
    EXPECT_TRUE(IsFullSpan(1, 15));
}

TEST(PanelRules, CountListPositions) {
    EXPECT_EQ(CountListPosition(2, false), 0);
    EXPECT_EQ(CountListPosition(256, false), 7);
    EXPECT_EQ(CountListPosition(1024, false), 9);
    EXPECT_EQ(CountListPosition(0, false), 10);
    EXPECT_EQ(CountListPosition(4096, false), 10);
    EXPECT_EQ(CountListPosition(1024, true), 7) << "Average stops at 256";
    EXPECT_EQ(CountListPosition(0, true), 7);
    EXPECT_EQ(CountListPosition(-8, false), 10);
}

TEST(PanelRules, ReferenceRangeByUnitAndOffset) {
    const ReferenceRange dBm = ReferenceRangeFor(0, 0.0);
    EXPECT_EQ(dBm.lo, -60);
    EXPECT_EQ(dBm.hi, 10);
    const ReferenceRange dBuV = ReferenceRangeFor(107, 0.0);
    EXPECT_EQ(dBuV.lo, 47);
    EXPECT_EQ(dBuV.hi, 117);
    const ReferenceRange shifted = ReferenceRangeFor(0, -0.5);
    EXPECT_EQ(shifted.lo, -61) << "-0.5 rounds away from zero";
    EXPECT_EQ(ClampReference(200, dBm), 10);
    EXPECT_EQ(ClampReference(-3.9, dBm), -3);
    EXPECT_EQ(ClampReference(1e300, dBm), 10);
    EXPECT_EQ(ClampReference(std::numeric_limits<double>::quiet_NaN(), dBm), -60);
}

TEST(PanelRules, OffsetAndItsSpin) {
    EXPECT_EQ(ClampOffset(60), 50.0);
    EXPECT_EQ(ClampOffset(-60), -50.0);
    EXPECT_EQ(OffsetSpinPosition(50.0), 1000);
    EXPECT_EQ(OffsetSpinPosition(-50.0), 0);
    EXPECT_EQ(OffsetSpinPosition(2.3), 523);
    EXPECT_EQ(OffsetSpinPosition(5.7), 557);
}
