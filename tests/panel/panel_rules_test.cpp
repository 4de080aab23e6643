// The panel's value rules at edges the widgets cannot type: non-finite, rounding, list ends.

#include "panel_rules.h"

#include <gtest/gtest.h>

#include <limits>

using namespace panelrules;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(PanelRules, NonFiniteAndHugeValuesClamp) {
    EXPECT_EQ(ClampCenterFreq(kNaN, 0), 0.0);
    EXPECT_EQ(ClampCenterFreq(kInf, 1), 8.5e9);
    const ReferenceRange dBm = ReferenceRangeFor(0, 0.0);
    EXPECT_EQ(ClampReference(1e300, dBm), 10);
    EXPECT_EQ(ClampReference(kNaN, dBm), -60);
    EXPECT_EQ(ClampReference(-3.9, dBm), -3) << "truncates toward zero";
    EXPECT_EQ(ReferenceRangeFor(0, -0.5).lo, -61) << "-0.5 rounds away from zero";
    // Offsets beyond the panel's range count as its ends.
    for (double offset : {1e300, kInf, 2147483647.0}) {
        EXPECT_EQ(ReferenceRangeFor(0, offset).lo, -10);
        EXPECT_EQ(ReferenceRangeFor(0, offset).hi, 60);
        EXPECT_EQ(ReferenceRangeFor(-13, -offset).lo, -123);
    }
    EXPECT_EQ(ReferenceRangeFor(107, kNaN).hi, 117);
    EXPECT_EQ(ClampOffset(-60), -50.0);
    EXPECT_EQ(OffsetSpinPosition(-50.0), 0);
    EXPECT_EQ(OffsetSpinPosition(5.7), 557) << "no binary rounding down to 556";
}

TEST(PanelRules, SpansThatExcludeTenMillisecondSweeps) {
    struct Case {
        int model, span;
        bool excludes, full;
    };
    for (const Case c : {Case{0, 13, false, false}, Case{0, 14, true, true},
                         Case{1, 14, true, false}, Case{1, 15, true, true}}) {
        EXPECT_EQ(SpanExcludesFastSweep(c.model, c.span), c.excludes) << c.model << " " << c.span;
        EXPECT_EQ(IsFullSpan(c.model, c.span), c.full) << c.model << " " << c.span;
    }
}

TEST(PanelRules, CountListPositions) {
    struct Case {
        int count;
        bool average;
        int position;
    };
    for (const Case c :
         {Case{2, false, 0}, Case{256, false, 7}, Case{1024, false, 9}, Case{0, false, 10},
          Case{4096, false, 10}, Case{-8, false, 10}, Case{1024, true, 7}, Case{0, true, 7}})
        EXPECT_EQ(CountListPosition(c.count, c.average), c.position) << c.count << " " << c.average;
}
