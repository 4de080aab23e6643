#include "instrument_settings.h"
#include "keyword_match.h"
#include "span_steps.h"
#include "trace_kinds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using keywords::keywordAt;
using keywords::LetterCase;
using keywords::matchKeyword;
using keywords::matchWholeKeyword;
using ::testing::Each;
using ::testing::ElementsAre;

struct Keys {
    const char* const* table;
    int count;
};
template <std::size_t N> Keys K(const char* const (&table)[N]) {
    return {table, keywords::count(table)};
}
// f of each value, for one whole comparison.
template <class F> std::vector<int> Map(F f, std::initializer_list<int> in) {
    std::vector<int> out;
    for (int x : in) {
        out.push_back(f(x));
    }
    return out;
}

// The settings file's fields are checked against the defaults file there; here the rest.
TEST(DefaultSettings, ResetsEveryAssignedFieldFromAnyState) {
    std::memset(&gSettings, 0x5A, sizeof gSettings);
    const InstrumentSettings& s = gSettings;
    std::tie(gSettings.normMarkerFreq, gSettings.peakZoneCenter, gSettings.peakZoneWidth,
             gSettings.detailedTrace) = std::tuple(123.0, 456.0, 789.0, 1);
    SetDefaultSettings();
    // Not assigned: they keep what they held.
    EXPECT_EQ(std::tuple(s.normMarkerFreq, s.peakZoneCenter, s.peakZoneWidth, s.detailedTrace),
              std::tuple(123.0, 456.0, 789.0, 1));
    EXPECT_EQ(std::string(s.versionText) + "|" + s.titleText, "VER*.**|Orvel Version 1.11");
    // clang-format off
    EXPECT_EQ(std::vector<int>({s.runState, s.instrumentPresent, s.modelIndex, s.peakSearchNo, s.unchangedTraceCount,
                                s.compactMode, s.requiredFileFound, s.selectedMarker, s.memoryRangeStart,
                                s.memoryRangeEnd, s.xZoom, s.yZoom, s.xScroll, s.xScrollSaved, s.yScroll,
                                s.activeTraceSlot}),
              std::vector<int>({0, 0, 0, 0, 0, 0, 1, 1, 0, 99, 0, 0, 0, 0, 0, 1}));
    // clang-format on
    EXPECT_THAT(s.traceKind, Each(2));
    EXPECT_THAT(s.traceView, ElementsAre(0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    for (const int* table : {s.efUserFreq, s.efUserGain, s.mfUserFreq, s.mfUserGain}) {
        EXPECT_THAT(std::vector<int>(table, table + kUserTableRows), Each(-200));
    }
    EXPECT_THAT(s.traceStore, Each(Each(0)));
    EXPECT_THAT(s.traceRecord.tracePoints, Each(0));
}

// Bad indexes read "", the last rows of each model "FULL"; any other model reads the RVX410 row.
TEST(KeywordLookup, IndexToKeywordIsSafeForBadIndexes) {
    using keywords::spanKeyword;
    EXPECT_EQ(std::vector<std::string>({keywordAt(keywords::kRbw, -1), keywordAt(keywords::kRbw, 8),
                                        keywordAt(keywords::kRbw, 1000000),
                                        keywordAt(nullptr, 3, 0), spanKeyword(0, 14),
                                        spanKeyword(1, 15), spanKeyword(0, 15), spanKeyword(7, 7)}),
              std::vector<std::string>({"", "", "", "", "FULL", "FULL", "", "20M"}));
}

// The longest keyword wins; letters fold (ASCII only: "dBu{" is not "dBu["); the allowed range
// limits the result and is clamped to the table; short or missing replies match nothing.
TEST(KeywordMatch, RepliesToIndexes) {
    const Keys sweep = K(keywords::kSweep), vbw = K(keywords::kVbw), unit = K(keywords::kUnit),
               s410 = K(keywords::kSpan410), s420 = K(keywords::kSpan420),
               antenna = K(keywords::kAntenna), calc = K(keywords::kCalc);
    const std::tuple<const char*, Keys, int, int, int> cases[] = {
        // clang-format off
        {"10", sweep, 0, 7, 6}, {"1", sweep, 0, 7, 4}, {"10M", sweep, 0, 7, 0},
        {"100K", vbw, 0, 8, 6}, {"100", vbw, 0, 8, 0}, {"DBMV", unit, 0, 7, 2},
        {"dbmv", unit, 0, 7, 2}, {"dBuV/m", unit, 0, 7, 4}, {"user", antenna, 0, 4, 4},
        {"dBu[", unit, 0, 7, -1}, {"dBu{", unit, 0, 7, 6}, {"ALL", vbw, 0, 8, -1},
        {"FULL", s410, 0, 14, 14}, {"FULL", s420, 0, 14, -1}, {"OFF", vbw, -5, 99, 10},
        {"OFF", vbw, 5, 2, -1}, {"MA", calc, 0, 4, -1}, {nullptr, calc, 0, 4, -1},
        {"MAX", {nullptr, 5}, 0, 4, -1},
        // clang-format on
    };
    for (const auto& [reply, keys, first, last, index] : cases) {
        EXPECT_EQ(matchKeyword(reply, keys.table, keys.count, first, last), index)
            << (reply ? reply : "null");
    }
    // Exact letters, and whole values that must equal a keyword.
    EXPECT_EQ(std::vector<int>({matchKeyword("dbm", keywords::kUnit, 0, 7, LetterCase::Exact),
                                matchKeyword("DBM", keywords::kUnit, 0, 7, LetterCase::Exact),
                                matchWholeKeyword("100", keywords::kVbw),
                                matchWholeKeyword("100K", keywords::kVbw),
                                matchWholeKeyword("100KX", keywords::kVbw),
                                matchWholeKeyword("pos", keywords::kDetector),
                                matchWholeKeyword("pos", keywords::kDetector, LetterCase::Exact),
                                matchWholeKeyword("", keywords::kDetector),
                                matchWholeKeyword("SMPX", 3, keywords::kDetector,
                                                  keywords::count(keywords::kDetector), 0, 2)}),
              std::vector<int>({-1, 0, 0, 6, -1, 0, -1, -1, 2}));
    // A reply that is not terminated is read only over its length.
    auto raw = std::make_unique<char[]>(2);
    std::memcpy(raw.get(), "10", 2);
    for (const char* reply : {static_cast<const char*>(raw.get()), "10M"}) {
        EXPECT_EQ(matchKeyword(reply, 2, sweep.table, sweep.count, 0, 7, LetterCase::Ignore), 6);
    }
}

TEST(SpanSteps, ModelRowsAndClampedIndexes) {
    // Where the two models' rows differ, and indexes outside the rows.
    const int cases[][3] = {{0, 14, 33000}, {1, 14, 50000}, {1, 15, 85000}, {0, -1, 0},
                            {0, 15, 33000}, {1, 99, 85000}, {-3, 14, 33000}};
    for (const auto& c : cases) {
        EXPECT_EQ(spansteps::spanStepValue(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
    }
    EXPECT_EQ(spansteps::spanStepHz(0, 7), 20000);
}

TEST(TraceKinds, PointCountsFamiliesAndCodes) {
    using namespace tracekind;
    using Ints = std::vector<int>;
    EXPECT_EQ(Map(pointCount, {0, 1, 2, 18, -1, 10, 17, 31, 38, 20, 30, 39}),
              Ints({251, 1001, 0, 0, 0, 1001, 1001, 1001, 1001, 251, 251, 251}));
    EXPECT_EQ(Map(unitOfKind, {33, 36, 39, 27, 1}), Ints({1, 3, 4, 5, -1}));
    // 14: AT15; 15: user.
    EXPECT_EQ(Map(antennaOfKind, {14, 15, 38, 24, 28}), Ints({5, 4, 6, 5, -1}));
    EXPECT_EQ(std::vector<bool>({isFieldStrengthKind(28), isMagneticFieldKind(29),
                                 isFieldStrengthKind(30), isFieldStrengthKind(2)}),
              std::vector<bool>({true, true, false, false}));
    EXPECT_EQ(std::vector<int>({probeOfKind(27), probeOfKind(29), magneticFieldKind(1, true),
                                magneticFieldKind(2, true), electricFieldKind(7, false)}),
              std::vector<int>({1, -1, 17, -1, -1}));
    for (int a = 0; a < 7; ++a) {
        EXPECT_EQ(antennaOfKind(electricFieldKind(a, true)), a);
        EXPECT_EQ(antennaOfKind(electricFieldKind(a, false)), a);
        EXPECT_EQ(pointCount(electricFieldKind(a, false)), 251);
    }
}

} // namespace
