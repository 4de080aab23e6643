#include "peak_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

using display::PeakSearch;
using display::PeakSearchInput;

namespace {

struct Case {
    const char* what;
    PeakSearchInput in; // points are filled in; kind 1 = 1001 points, 0 = 251 points, 2 = empty
    uint8_t floor;
    std::vector<std::pair<int, uint8_t>> set;  // point, level byte
    std::vector<std::pair<int, int>> expected; // n, position found
};

const PeakSearchInput kFull{.kind = 1};
const PeakSearchInput kShort{.kind = 0};

const Case kCases[] = {
    {"5, 5, 7 at a < b < c come out c, b, a",
     kFull,
     0,
     {{100, 5}, {300, 5}, {500, 7}},
     {{0, 500}, {1, 300}, {2, 100}}},
    {"5, 7, 5 come out b, a, c",
     kFull,
     0,
     {{100, 5}, {300, 7}, {500, 5}},
     {{0, 300}, {1, 100}, {2, 500}}},
    {"of equal highest points the first wins",
     kFull,
     10,
     {{250, 90}, {750, 90}},
     {{0, 250}, {1, 750}}},
    {"a sharp spike; fewer peaks than asked give the left end; the ordinal is limited",
     kFull,
     100,
     {{400, 125}},
     {{0, 400}, {3, 0}, {5000, 0}, {-3, 400}}},
    {"more than twenty steps stands out beside a higher peak",
     kFull,
     100,
     {{200, 130}, {203, 140}},
     {{0, 203}, {1, 200}}},
    {"exactly twenty steps needs the neighbour test",
     kFull,
     100,
     {{200, 120}, {203, 140}},
     {{0, 203}, {1, 0}}},
    {"twenty steps alone passes the neighbour test",
     kFull,
     100,
     {{200, 120}, {600, 140}},
     {{1, 200}}},
    {"a flat top reports its middle",
     kFull,
     100,
     {{300, 150}, {301, 150}, {302, 150}, {303, 150}, {304, 150}},
     {{0, 302}}},
    {"a two-point plateau counts once",
     kFull,
     100,
     {{300, 150}, {301, 150}, {700, 120}},
     {{0, 301}, {1, 700}, {2, 0}}},
    {"the window edge stands out against its only neighbour",
     {.kind = 1, .peakMode = PeakMode::Zone, .zonePosition = 250, .zoneWidth = 50},
     100,
     {{200, 150}, {203, 160}, {199, 250}},
     {{0, 203}, {1, 200}}},
    {"an empty slot returns at once", {.kind = 2}, 100, {{400, 125}}, {{0, 0}}},
    {"a short trace gives display positions", kShort, 100, {{100, 180}}, {{0, 400}}},
    {"a short plateau of two points: the second",
     kShort,
     100,
     {{100, 180}, {101, 180}},
     {{0, 404}}},
    {"zoomed, normal mode searches the visible part, none is the left end less the base",
     {.kind = 1, .xScroll = 600, .xZoom = 2},
     100,
     {{100, 200}, {700, 150}},
     {{0, 100}, {1, -600}}},
    {"the zone limits the search",
     {.kind = 1, .peakMode = PeakMode::Zone, .zonePosition = 500, .zoneWidth = 50},
     100,
     {{100, 200}, {520, 150}},
     {{0, 520}, {1, 0}}},
    {"a zoomed zone counts from the scroll position",
     {.kind = 1,
      .peakMode = PeakMode::Zone,
      .zonePosition = 200,
      .zoneWidth = 50,
      .xScroll = 300,
      .xZoom = 1},
     100,
     {{100, 200}, {520, 150}},
     {{0, 220}}},
    {"a zone on a short trace divides every term",
     {.kind = 0, .peakMode = PeakMode::Zone, .zonePosition = 500, .zoneWidth = 40},
     100,
     {{10, 200}, {130, 150}},
     {{0, 520}}},
    {"a zone outside the trace finds nothing",
     {.kind = 1, .peakMode = PeakMode::Zone, .zonePosition = 5000, .zoneWidth = 10},
     100,
     {{500, 200}},
     {{0, 0}}},
    {"a zone of extreme numbers finds nothing",
     {.kind = 1, .peakMode = PeakMode::Zone, .zonePosition = -2000000000, .zoneWidth = 2000000000},
     100,
     {{500, 200}},
     {{0, 0}}},
    {"bad scroll and zoom are clamped (x8, 875)",
     {.kind = 1, .xScroll = 100000, .xZoom = 9},
     100,
     {{950, 200}},
     {{0, 75}}},
};

} // namespace

TEST(PeakSearch, OrderShapesCountsAndWindows) {
    for (const Case& c : kCases) {
        std::vector<uint8_t> bytes(1024, c.floor);
        for (const auto& [point, value] : c.set)
            bytes[static_cast<size_t>(point)] = value;
        PeakSearchInput in = c.in;
        in.points = bytes.data();
        for (const auto& [n, position] : c.expected)
            EXPECT_EQ(PeakSearch(in, n), position) << c.what << ", n = " << n;
    }
    PeakSearchInput none;
    none.kind = 1;
    EXPECT_EQ(PeakSearch(none, 0), 0) << "no points at all";
}
