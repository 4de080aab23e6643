// Peak search and the View menu's analysis: peak list, limit lines, colour map, waterfall.

#include "colour_map.h"
#include "limit_lines.h"
#include "peak_search.h"
#include "peak_table.h"
#include "waterfall_history.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace display;
using testing::DoubleEq;
using testing::Pointwise;

namespace {

std::vector<int> Positions(const std::vector<PeakRow>& rows) {
    std::vector<int> out;
    for (const PeakRow& r : rows)
        out.push_back(r.position);
    return out;
}

// The input (kind 1 = 1001 points, 0 = 251, 2 = empty), the floor byte, the points set (point,
// byte) and the positions found (n, position).
using Case = std::tuple<PeakSearchInput, uint8_t, std::vector<std::pair<int, uint8_t>>,
                        std::vector<std::pair<int, int>>>;

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

// clang-format off
const Case kCases[] = {
    {kFull, 0, {{100, 5}, {300, 5}, {500, 7}}, {{0, 500}, {1, 300}, {2, 100}}}, // Equal peaks follow the exchange order: 5, 5, 7 at a < b < c give c, b, a; 5, 7, 5 b, a, c.
    {kFull, 0, {{100, 5}, {300, 7}, {500, 5}}, {{0, 300}, {1, 100}, {2, 500}}},
    {kFull, 10, {{250, 90}, {750, 90}}, {{0, 250}, {1, 750}}}, // Of equal highest points the first wins.
    {kFull, 100, {{400, 125}}, {{0, 400}, {3, 0}, {5000, 0}, {-3, 400}}}, // A sharp spike; fewer peaks than asked give the left end; the ordinal is limited to the trace.
    {kFull, 100, {{200, 130}, {203, 140}}, {{0, 203}, {1, 200}}}, // More than twenty steps above both neighbours stands out even beside a higher peak.
    {kFull, 100, {{200, 120}, {203, 140}}, {{0, 203}, {1, 0}}}, // Exactly twenty steps needs the neighbour test, which it passes on its own.
    {kFull, 100, {{200, 120}, {600, 140}}, {{1, 200}}},
    {kFull, 100, {{300, 150}, {301, 150}, {302, 150}, {303, 150}, {304, 150}}, {{0, 302}}}, // A flat top reports its middle; a two-point plateau counts once.
    {kFull, 100, {{300, 150}, {301, 150}, {700, 120}}, {{0, 301}, {1, 700}, {2, 0}}},
    {Zone(1, 250, 50), 100, {{200, 150}, {203, 160}, {199, 250}}, {{0, 203}, {1, 200}}}, // The zone's edge (200) stands 50 steps above its only neighbour inside the window.
    {{.kind = 2}, 100, {{400, 125}}, {{0, 0}}}, // An empty slot returns at once; a short trace gives display positions (a plateau: the second).
    {kShort, 100, {{100, 180}}, {{0, 400}}},
    {kShort, 100, {{100, 180}, {101, 180}}, {{0, 404}}},
    {{.kind = 1, .xScroll = 600, .xZoom = 2}, 100, {{100, 200}, {700, 150}}, {{0, 100}, {1, -600}}}, // Zoomed, normal mode searches the visible part; none is the left end less the window base.
    {Zone(1, 500, 50), 100, {{100, 200}, {520, 150}}, {{0, 520}, {1, 0}}}, // The zone limits the search; zoomed, it counts from the scroll position (200 is point 500).
    {Zone(1, 200, 50, 300, 1), 100, {{100, 200}, {520, 150}}, {{0, 220}}},
    {Zone(0, 500, 40), 100, {{10, 200}, {130, 150}}, {{0, 520}}}, // A zone on a short trace divides every term: position 500 is point 125, 10 points each side.
    {Zone(1, 5000, 10), 100, {{500, 200}}, {{0, 0}}}, // A zone outside the trace, or of extreme numbers, finds nothing.
    {Zone(1, -2000000000, 2000000000), 100, {{500, 200}}, {{0, 0}}},
    {{.kind = 1, .xScroll = 100000, .xZoom = 9}, 100, {{950, 200}}, {{0, 75}}}, // Bad scroll and zoom are clamped: x9 counts as x8, 100000 as 875.
};
// clang-format on

const AxisFrame k10kHzSteps{.centerFreq = 1e9, .spanStep = 1e4};

} // namespace

TEST(PeakSearch, OrderShapesCountsAndWindowsAndThePeakListInItsOrder) {
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const auto& [input, floor, set, expected] = kCases[i];
        std::vector<uint8_t> bytes(1024, floor);
        for (const auto& [point, value] : set)
            bytes[static_cast<size_t>(point)] = value;
        PeakSearchInput in = input;
        in.points = bytes.data();
        for (const auto& [n, position] : expected)
            EXPECT_EQ(PeakSearch(in, n), position) << "case " << i << ", n = " << n;
    }
    EXPECT_EQ(PeakSearch({.kind = 1}, 0), 0) << "no points at all";
    std::vector<uint8_t> v(1024, 10);
    v[100] = 50;
    v[300] = 80;
    v[700] = v[701] = 60; // a flat top two points wide reports its right middle, 701
    PeakSearchInput in{.points = v.data(), .kind = 1};
    const std::vector<PeakRow> rows = BuildPeakTable(in, 10, k10kHzSteps, 0.0, 1);
    ASSERT_EQ(Positions(rows), (std::vector<int>{300, 701, 100})); // the flat rest is no peak
    EXPECT_EQ(Positions(rows), (std::vector<int>{PeakSearch(in, 0), PeakSearch(in, 1),
                                                 PeakSearch(in, 2)})); // Next's order
    // 10 dB/div: 0.4 dB a byte step.
    EXPECT_THAT((std::vector<double>{rows[0].x, rows[0].level, rows[0].delta, rows[1].delta}),
                Pointwise(DoubleEq(), std::vector<double>{1e9 - 2e6, -120 * 0.4, 0, -8}));

    // The zone keeps only the peaks inside it; zoomed, positions are the visible window's.
    PeakSearchInput zone = Zone(1, 700, 50);
    zone.points = v.data();
    EXPECT_EQ(Positions(BuildPeakTable(zone, 10, k10kHzSteps, 0.0, 1)), std::vector<int>{701});
    in.xZoom = 1;
    in.xScroll = 250;
    EXPECT_EQ(BuildPeakTable(in, 1, k10kHzSteps, 0.0, 1)[0].position, 300 - 250);

    // A top the search finds twice (two spikes three points apart) is listed once.
    std::vector<uint8_t> twin(1024, 10);
    twin[500] = twin[503] = 100;
    twin[501] = twin[502] = 50;
    twin[800] = 60;
    const PeakSearchInput t{.points = twin.data(), .kind = 1};
    ASSERT_EQ(PeakSearch(t, 1), 503);
    EXPECT_EQ(Positions(BuildPeakTable(t, 2, k10kHzSteps, 0.0, 1)), (std::vector<int>{500, 800}));

    // A 251-point trace reports display positions four apart; an empty slot lists nothing.
    std::vector<uint8_t> s(1024, 10);
    s[60] = 90;
    PeakSearchInput small{.points = s.data(), .kind = 0};
    EXPECT_EQ(BuildPeakTable(small, 3, k10kHzSteps, 0.0, 1)[0].position, 240);
    small.kind = 2;
    EXPECT_TRUE(BuildPeakTable(small, 3, k10kHzSteps, 0.0, 1).empty());
}

TEST(LimitLines, JudgementPolylineAndCsvBadInputRefusedOrTidiedAsDocumented) {
    const LimitLine upper = {{1e9, -20}, {2e9, -40}, {3e9, -40}};
    const LimitLine lower = {{1e9, -80}, {3e9, -60}};
    // Frequency, level; judged, passed.
    const std::tuple<double, double, bool, bool> cases[] = {
        // clang-format off
        {1e9, -20, true, true},     {1e9, -19.9, true, false},   // first corner
        {2e9, -40, true, true},     {2e9, -39.99, true, false},  // inner corner
        {1.5e9, -30, true, true},   {1.5e9, -29.9, true, false}, // between points
        {3e9, -60, true, true},     {3e9, -60.01, true, false},  // lower line's end
        {2e9, -70.01, true, false}, {2e9, -69.99, true, true},   // lower, between
        {0.5e9, 50, false, true},   {3.5e9, -200, false, true},  // outside both lines
        // clang-format on
    };
    for (const auto& [f, level, judged, pass] : cases) {
        const LimitVerdict v = JudgeTrace(&f, &level, 1, upper, lower);
        EXPECT_EQ(std::pair(v.judged, v.pass), std::pair(judged, pass)) << f << " " << level;
    }
    const double f[] = {1e9, 1.5e9, 2.5e9};
    const double l[] = {0, -50, -90};
    std::vector<int> failing;
    EXPECT_EQ(JudgeTrace(f, l, 3, upper, lower, &failing).failures, 2);
    EXPECT_EQ(failing, (std::vector<int>{0, 2}));
    // Positions 0..1000 cover 0.5 .. 1.5 GHz; the line runs 0 .. 1 .. 2 GHz.
    const LimitLine line = {{0, 0}, {1e9, -50}, {2e9, 0}};
    const std::vector<GraphPoint> p = LimitPolyline(line, {.centerFreq = 1e9, .spanStep = 1e6});
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ((std::vector<double>{p[0].x, p[0].y, p[1].x, p[1].y, p[2].x}),
              (std::vector<double>{0, -25, 500, -50, 1000}));
    EXPECT_TRUE(
        LimitPolyline(line, {.centerFreq = 1e9, .spanStep = 1e6, .zeroSpan = true}).empty());
    std::string many = "f,l\n";
    for (int i = 0; i < 100000; ++i)
        many += std::to_string(i) + ",0\n";
    // The file's text; accepted, part of the message, the line read.
    const LimitLine l123 = {{1e9, -20}, {2e9, -30}, {3e9, -40}};
    const std::tuple<std::string, bool, const char*, LimitLine> texts[] = {
        // clang-format off
        {"Frequency (Hz),Level\r\n1G,-20\r\n1.5e9;-30\r\n# note\r\n\r\n2000M\t-40\r\n", true, "", {{1e9, -20}, {1.5e9, -30}, {2e9, -40}}},
        {"1e9,-20\n2e9,junk\n", false, "Line 2", {}},
        {"1e9,-20\nhello\n", false, "Line 2", {}},
        {"1e9,nan\n2e9,-20\n", false, "level", {}},
        {"inf,-20\n2e9,-20\n", false, "frequency", {}},
        {"1e9,1e300\n2e9,-20\n", false, "level", {}},
        {"1e9,-20\n", false, "at least two", {}},
        {"1e9,-20\n1e9,-30\n", false, "at least two", {}},
        {"3e9,-40\n1e9,-20\n2e9,-30\n", true, "Sorted", l123},
        {"1e9,-20\n2e9,-30\n2e9,-99\n3e9,-40\n", true, "1 point with a repeated", l123}, // the first kept
        {"1e9,-20\n2e9,-30\n2e9,-99\n", true, "1 point with a repeated", {{1e9, -20}, {2e9, -30}}},
        {many, false, "at most 1000", {}},
        {"", true, "", {}},
        // clang-format on
    };
    for (const auto& [text, ok, message, line] : texts) {
        const LimitCleanup r = ParseLimitCsv(text);
        EXPECT_EQ(std::pair(r.ok, r.line), std::pair(ok, line)) << text.substr(0, 40);
        EXPECT_TRUE(*message ? r.message.find(message) != std::string::npos : r.message.empty())
            << r.message;
        const LimitCleanup back = ParseLimitCsv(LimitCsv(r.line)); // a saved line reads back
        EXPECT_EQ(std::pair(back.ok, back.line), std::pair(true, r.line));
    }
}

TEST(Waterfall, ColourMapEndsAndClampsAndHistoryKeepsTheNewestRowsFirstAndRestartsOnANewFrame) {
    const float levels[] = {-80, 0, -40, -200, 50, std::numeric_limits<float>::quiet_NaN()};
    uint32_t px[6];
    MapLevels(levels, 6, -80, 0, px);
    // Viridis within 5: the violet end 68 1 84, the middle 33 145 140, the yellow end 253 231 37.
    const uint32_t low = 0xFF470155u, high = 0xFFFCE721u;
    EXPECT_EQ(std::vector<uint32_t>(px, px + 6),
              (std::vector<uint32_t>{low, high, 0xFF1F918Bu, low, high, low}));
    MapLevels(levels, 2, 0, 0, px); // an empty range
    EXPECT_EQ(px[1], low);
    WaterfallHistory h(3);
    double row[WaterfallHistory::kPositions] = {};
    const WaterfallFrame frame{1e9, 9, 1001};
    for (int i = 0; i < 5; ++i) {
        row[0] = i;
        EXPECT_FALSE(h.Add(row, frame, i * 0.5));
    }
    ASSERT_EQ(h.Count(), 3);
    EXPECT_EQ(std::tuple(h.Row(0)[0], h.Row(2)[0], h.Seconds(1)), std::tuple(4.0f, 2.0f, 1.5));
    EXPECT_FALSE(h.FollowFrame(1e9, 9));
    EXPECT_TRUE(h.Add(row, {1e9, 9, 251}, 3.0)) << "a new point count starts again";
    EXPECT_EQ(h.Count(), 1);
    EXPECT_TRUE(h.FollowFrame(1e9, 10));
    EXPECT_EQ(h.Count(), 0);
}
