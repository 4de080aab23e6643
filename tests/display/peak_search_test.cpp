#include "peak_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

using display::PeakSearch;
using display::PeakSearchInput;

namespace {

struct Case {
    PeakSearchInput in; // points are filled in; kind 1 = 1001 points, 0 = 251 points, 2 = empty
    uint8_t floor;
    std::vector<std::pair<int, uint8_t>> set;  // point, level byte
    std::vector<std::pair<int, int>> expected; // n, position found
};

const PeakSearchInput kFull{.kind = 1};
const PeakSearchInput kShort{.kind = 0};

PeakSearchInput Zone(int kind, int position, int halfWidth, int xScroll = 0, int xZoom = 0) {
    return {.kind = kind,
            .peakMode = PeakMode::Zone,
            .zonePosition = position,
            .zoneWidth = halfWidth,
            .xScroll = xScroll,
            .xZoom = xZoom};
}

const Case kCases[] = {
    // Equal peaks follow the exchange order: 5, 5, 7 at a < b < c give c, b, a; 5, 7, 5 b, a, c.
    {kFull, 0, {{100, 5}, {300, 5}, {500, 7}}, {{0, 500}, {1, 300}, {2, 100}}},
    {kFull, 0, {{100, 5}, {300, 7}, {500, 5}}, {{0, 300}, {1, 100}, {2, 500}}},
    // Of equal highest points the first wins.
    {kFull, 10, {{250, 90}, {750, 90}}, {{0, 250}, {1, 750}}},
    // A sharp spike; fewer peaks than asked give the left end; the ordinal is limited to the trace.
    {kFull, 100, {{400, 125}}, {{0, 400}, {3, 0}, {5000, 0}, {-3, 400}}},
    // More than twenty steps above both neighbours stands out even beside a higher peak.
    {kFull, 100, {{200, 130}, {203, 140}}, {{0, 203}, {1, 200}}},
    // Exactly twenty steps needs the neighbour test, which it passes on its own.
    {kFull, 100, {{200, 120}, {203, 140}}, {{0, 203}, {1, 0}}},
    {kFull, 100, {{200, 120}, {600, 140}}, {{1, 200}}},
    // A flat top reports its middle; a two-point plateau counts once.
    {kFull, 100, {{300, 150}, {301, 150}, {302, 150}, {303, 150}, {304, 150}}, {{0, 302}}},
    {kFull, 100, {{300, 150}, {301, 150}, {700, 120}}, {{0, 301}, {1, 700}, {2, 0}}},
    // The zone's edge (200) stands 50 steps above its only neighbour inside the window.
    {Zone(1, 250, 50), 100, {{200, 150}, {203, 160}, {199, 250}}, {{0, 203}, {1, 200}}},
    // An empty slot returns at once; a short trace gives display positions (a plateau: the second).
    {{.kind = 2}, 100, {{400, 125}}, {{0, 0}}},
    {kShort, 100, {{100, 180}}, {{0, 400}}},
    {kShort, 100, {{100, 180}, {101, 180}}, {{0, 404}}},
    // Zoomed, normal mode searches the visible part; none is the left end less the window base.
    {{.kind = 1, .xScroll = 600, .xZoom = 2}, 100, {{100, 200}, {700, 150}}, {{0, 100}, {1, -600}}},
    // The zone limits the search; zoomed, it counts from the scroll position (200 is point 500).
    {Zone(1, 500, 50), 100, {{100, 200}, {520, 150}}, {{0, 520}, {1, 0}}},
    {Zone(1, 200, 50, 300, 1), 100, {{100, 200}, {520, 150}}, {{0, 220}}},
    // A zone on a short trace divides every term: position 500 is point 125, 10 points each side.
    {Zone(0, 500, 40), 100, {{10, 200}, {130, 150}}, {{0, 520}}},
    // A zone outside the trace, or of extreme numbers, finds nothing.
    {Zone(1, 5000, 10), 100, {{500, 200}}, {{0, 0}}},
    {Zone(1, -2000000000, 2000000000), 100, {{500, 200}}, {{0, 0}}},
    // Bad scroll and zoom are clamped: x9 counts as x8, 100000 as 875.
    {{.kind = 1, .xScroll = 100000, .xZoom = 9}, 100, {{950, 200}}, {{0, 75}}},
};

} // namespace

TEST(PeakSearch, OrderShapesCountsAndWindows) {
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        std::vector<uint8_t> bytes(1024, c.floor);
        for (const auto& [point, value] : c.set)
            bytes[static_cast<size_t>(point)] = value;
        PeakSearchInput in = c.in;
        in.points = bytes.data();
        for (const auto& [n, position] : c.expected)
            EXPECT_EQ(PeakSearch(in, n), position) << "case " << i << ", n = " << n;
    }
    PeakSearchInput none;
    none.kind = 1;
    EXPECT_EQ(PeakSearch(none, 0), 0) << "no points at all";
}
