#include "peak_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using display::PeakSearch;
using display::PeakSearchInput;

namespace {

// A flat trace of the given kind (1 = 1001 points, 0 = 251 points) at `floor`.
struct Trace {
    explicit Trace(int kind, uint8_t floor = 0) : bytes(1024, floor) { in.kind = kind; }
    Trace& Set(int point, uint8_t value) {
        bytes[static_cast<size_t>(point)] = value;
        return *this;
    }
    int Search(int n) {
        in.points = bytes.data();
        return PeakSearch(in, n);
    }
    std::vector<uint8_t> bytes;
    PeakSearchInput in;
};

} // namespace

TEST(PeakSearchOrder, EqualPeaksFollowTheExchangeOrder) {
    // 5, 5, 7 at a < b < c come out c, b, a.
    Trace t(1);
    t.Set(100, 5).Set(300, 5).Set(500, 7);
    EXPECT_EQ(t.Search(0), 500);
    EXPECT_EQ(t.Search(1), 300);
    EXPECT_EQ(t.Search(2), 100);

    // 5, 7, 5 come out b, a, c.
    Trace u(1);
    u.Set(100, 5).Set(300, 7).Set(500, 5);
    EXPECT_EQ(u.Search(0), 300);
    EXPECT_EQ(u.Search(1), 100);
    EXPECT_EQ(u.Search(2), 500);
}

TEST(PeakSearchOrder, OfEqualHighestPointsTheFirstWins) {
    Trace t(1, 10);
    t.Set(250, 90).Set(750, 90);
    EXPECT_EQ(t.Search(0), 250);
    EXPECT_EQ(t.Search(1), 750);
}

TEST(PeakSearchShapes, SharpSpikeIsTheFirstPeak) {
    Trace t(1, 100);
    t.Set(400, 125);
    EXPECT_EQ(t.Search(0), 400);
}

TEST(PeakSearchShapes, SpikeMoreThanTwentyStepsStandsOutEvenBesideAHigherPeak) {
    // 200 fails the neighbour test (203 is higher) but stands 30 steps above both neighbours.
    Trace t(1, 100);
    t.Set(200, 130).Set(203, 140);
    EXPECT_EQ(t.Search(0), 203);
    EXPECT_EQ(t.Search(1), 200);
}

TEST(PeakSearchShapes, SpikeOfExactlyTwentyStepsNeedsTheNeighbourTest) {
    Trace t(1, 100);
    t.Set(200, 120).Set(203, 140);
    EXPECT_EQ(t.Search(0), 203);
    EXPECT_EQ(t.Search(1), 0); // no second peak

    Trace alone(1, 100);
    alone.Set(200, 120).Set(600, 140);
    EXPECT_EQ(alone.Search(1), 200); // passes the neighbour test on its own
}

TEST(PeakSearchShapes, FlatTopReportsItsMiddle) {
    Trace t(1, 100);
    for (int k = 300; k < 305; ++k)
        t.Set(k, 150);
    EXPECT_EQ(t.Search(0), 302);
}

TEST(PeakSearchShapes, TwoPointPlateauCountsOnce) {
    Trace t(1, 100);
    t.Set(300, 150).Set(301, 150).Set(700, 120);
    EXPECT_EQ(t.Search(0), 301);
    EXPECT_EQ(t.Search(1), 700);
    EXPECT_EQ(t.Search(2), 0);
}

TEST(PeakSearchShapes, WindowEdgeStandsOutAgainstItsOnlyNeighbour) {
    // The zone starts at point 200; 200 fails the neighbour test (203 is higher) but stands
    // 50 steps above its only neighbour inside the window.
    Trace t(1, 100);
    t.Set(200, 150).Set(203, 160).Set(199, 250);
    t.in.peakMode = PeakMode::Zone;
    t.in.zonePosition = 250;
    t.in.zoneWidth = 50;
    EXPECT_EQ(t.Search(0), 203);
    EXPECT_EQ(t.Search(1), 200);
}

TEST(PeakSearchCount, FewerPeaksThanAskedGiveTheLeftEnd) {
    Trace t(1, 100);
    t.Set(400, 125);
    EXPECT_EQ(t.Search(3), 0);
    EXPECT_EQ(t.Search(5000), 0); // the ordinal is limited to the trace
    EXPECT_EQ(t.Search(-3), 400);
}

TEST(PeakSearchCount, EmptySlotReturnsAtOnce) {
    Trace t(2, 100);
    t.Set(400, 125);
    EXPECT_EQ(t.Search(0), 0);
    PeakSearchInput none;
    none.kind = 1;
    EXPECT_EQ(PeakSearch(none, 0), 0);
}

TEST(PeakSearchKinds, ShortTraceGivesDisplayPositions) {
    Trace t(0, 100);
    t.Set(100, 180);
    EXPECT_EQ(t.Search(0), 400);
    t.Set(101, 180);
    EXPECT_EQ(t.Search(0), 404); // plateau of two points: the second
}

TEST(PeakSearchWindows, ZoomedNormalModeSearchesTheVisiblePart) {
    Trace t(1, 100);
    t.Set(100, 200).Set(700, 150);
    t.in.xZoom = 2; // 250 positions visible
    t.in.xScroll = 600;
    EXPECT_EQ(t.Search(0), 100);  // 700 less the window start 600
    EXPECT_EQ(t.Search(1), -600); // none: the left end less the window base
}

TEST(PeakSearchWindows, ZoneLimitsTheSearch) {
    Trace t(1, 100);
    t.Set(100, 200).Set(520, 150);
    t.in.peakMode = PeakMode::Zone;
    t.in.zonePosition = 500;
    t.in.zoneWidth = 50;
    EXPECT_EQ(t.Search(0), 520);
    EXPECT_EQ(t.Search(1), 0);
}

TEST(PeakSearchWindows, ZoomedZoneCountsFromTheScrollPosition) {
    Trace t(1, 100);
    t.Set(100, 200).Set(520, 150);
    t.in.peakMode = PeakMode::Zone;
    t.in.xZoom = 1;
    t.in.xScroll = 300;
    t.in.zonePosition = 200; // display position: point 500
    t.in.zoneWidth = 50;
    EXPECT_EQ(t.Search(0), 220);
}

TEST(PeakSearchWindows, ZoneOnAShortTraceDividesEveryTerm) {
    Trace t(0, 100);
    t.Set(10, 200).Set(130, 150);
    t.in.peakMode = PeakMode::Zone;
    t.in.zonePosition = 500; // point 125
    t.in.zoneWidth = 40;     // 10 points each side
    EXPECT_EQ(t.Search(0), 520);
}

TEST(PeakSearchWindows, ZoneOutsideTheTraceFindsNothing) {
    Trace t(1, 100);
    t.Set(500, 200);
    t.in.peakMode = PeakMode::Zone;
    t.in.zonePosition = 5000;
    t.in.zoneWidth = 10;
    EXPECT_EQ(t.Search(0), 0);
    t.in.zonePosition = -2000000000;
    t.in.zoneWidth = 2000000000;
    EXPECT_EQ(t.Search(0), 0);
}

TEST(PeakSearchWindows, BadScrollAndZoomAreClamped) {
    Trace t(1, 100);
    t.Set(950, 200);
    t.in.xZoom = 9;        // counts as x8
    t.in.xScroll = 100000; // counts as 875
    EXPECT_EQ(t.Search(0), 75);
}
