#include "keyword_match.h"
#include "span_steps.h"
#include "trace_kinds.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using keywords::LetterCase;
using keywords::matchKeyword;
using keywords::matchWholeKeyword;

TEST(KeywordLookup, IndexToKeywordIsSafeForBadIndexes) {
    EXPECT_STREQ(keywords::keywordAt(keywords::kRbw, 3), "100K");
    EXPECT_STREQ(keywords::keywordAt(keywords::kRbw, -1), "");
    EXPECT_STREQ(keywords::keywordAt(keywords::kRbw, 8), "");
    EXPECT_STREQ(keywords::keywordAt(keywords::kRbw, 1000000), "");
    EXPECT_STREQ(keywords::keywordAt(nullptr, 3, 0), "");
    EXPECT_STREQ(keywords::spanKeyword(0, 14), "FULL");
    EXPECT_STREQ(keywords::spanKeyword(1, 14), "5G");
    EXPECT_STREQ(keywords::spanKeyword(1, 15), "FULL");
    EXPECT_STREQ(keywords::spanKeyword(0, 15), "");
    EXPECT_STREQ(keywords::spanKeyword(7, 7), "20M"); // any other model reads the RVX410 row
    EXPECT_STREQ(keywords::keywordAt(keywords::kAntenna, 5), "AT15");
}

TEST(KeywordMatch, LongestKeywordWins) {
    EXPECT_EQ(matchKeyword("10", keywords::kSweep, 0, 7), 6);
    EXPECT_EQ(matchKeyword("1", keywords::kSweep, 0, 7), 4);
    EXPECT_EQ(matchKeyword("10M", keywords::kSweep, 0, 7), 0);
    EXPECT_EQ(matchKeyword("30", keywords::kSweep, 0, 7), 7);
    EXPECT_EQ(matchKeyword("0.1", keywords::kSweep, 0, 7), 2);
    EXPECT_EQ(matchKeyword("100K", keywords::kVbw, 0, 8), 6);
    EXPECT_EQ(matchKeyword("100", keywords::kVbw, 0, 8), 0);
    EXPECT_EQ(matchKeyword("DBMV", keywords::kUnit, 0, 7), 2);
    EXPECT_EQ(matchKeyword("DBM", keywords::kUnit, 0, 7), 0);
    EXPECT_EQ(matchKeyword("100M", keywords::kSpan410, 0, 14), 9);
}

TEST(KeywordMatch, LettersIgnoreCaseUnlessExact) {
    EXPECT_EQ(matchKeyword("dbmv", keywords::kUnit, 0, 7), 2);
    EXPECT_EQ(matchKeyword("dBuV/m", keywords::kUnit, 0, 7), 4);
    EXPECT_EQ(matchKeyword("dbuv/M", keywords::kUnit, 0, 7), 4);
    EXPECT_EQ(matchKeyword("user", keywords::kAntenna, 0, 4), 4);
    EXPECT_EQ(matchKeyword("dbm", keywords::kUnit, 0, 7, LetterCase::Exact), -1);
    EXPECT_EQ(matchKeyword("DBM", keywords::kUnit, 0, 7, LetterCase::Exact), 0);
    // Only ASCII letters fold: "dBu{" is not "dBu[".
    EXPECT_EQ(matchKeyword("dBu[", keywords::kUnit, 0, 7), -1);
    EXPECT_EQ(matchKeyword("dBu{", keywords::kUnit, 0, 7), 6);
}

TEST(KeywordMatch, AllowedRangeLimitsTheResult) {
    EXPECT_EQ(matchKeyword("ALL", keywords::kVbw, 0, 8), -1);
    EXPECT_EQ(matchKeyword("FULL", keywords::kSpan410, 0, 14), 14);
    EXPECT_EQ(matchKeyword("FULL", keywords::kSpan420, 0, 14), -1);
    EXPECT_EQ(matchKeyword("20M", keywords::kSpan420, 0, 14), 7);
    EXPECT_EQ(matchKeyword("AT15", keywords::kAntenna, 0, 4), -1);
    EXPECT_EQ(matchKeyword("OFF", keywords::kVbw, -5, 99), 10); // range clamped to the table
    EXPECT_EQ(matchKeyword("OFF", keywords::kVbw, 5, 2), -1);
}

TEST(KeywordMatch, ShortOrMissingRepliesMatchNothing) {
    EXPECT_EQ(matchKeyword("", keywords::kCalc, 0, 4), -1);
    EXPECT_EQ(matchKeyword("MA", keywords::kCalc, 0, 4), -1);
    EXPECT_EQ(matchKeyword(nullptr, keywords::kCalc, 0, 4), -1);
    EXPECT_EQ(matchKeyword("MAX", nullptr, 5, 0, 4), -1);
    // A reply that is not terminated is read only over its length.
    auto raw = std::make_unique<char[]>(2);
    std::memcpy(raw.get(), "10", 2);
    EXPECT_EQ(matchKeyword(raw.get(), 2, keywords::kSweep, keywords::count(keywords::kSweep), 0, 7,
                           LetterCase::Ignore),
              6);
    EXPECT_EQ(matchKeyword("10M", 2, keywords::kSweep, keywords::count(keywords::kSweep), 0, 7,
                           LetterCase::Ignore),
              6);
}

TEST(KeywordMatch, WholeValueMustEqualAKeyword) {
    EXPECT_EQ(matchWholeKeyword("100", keywords::kVbw), 0);
    EXPECT_EQ(matchWholeKeyword("100K", keywords::kVbw), 6);
    EXPECT_EQ(matchWholeKeyword("100KX", keywords::kVbw), -1);
    EXPECT_EQ(matchWholeKeyword("pos", keywords::kDetector), 0);
    EXPECT_EQ(matchWholeKeyword("pos", keywords::kDetector, LetterCase::Exact), -1);
    EXPECT_EQ(matchWholeKeyword("", keywords::kDetector), -1);
    EXPECT_EQ(matchWholeKeyword("SMPX", 3, keywords::kDetector,
                                keywords::count(keywords::kDetector), 0, 2),
              2);
}

TEST(SpanSteps, ModelRowsAndClampedIndexes) {
    // Where the two models' rows differ, and indexes outside the rows.
    EXPECT_EQ(spansteps::spanStepValue(0, 1), 2);
    EXPECT_EQ(spansteps::spanStepValue(0, 14), 33000);
    EXPECT_EQ(spansteps::spanStepValue(1, 13), 20000);
    EXPECT_EQ(spansteps::spanStepValue(1, 14), 50000);
    EXPECT_EQ(spansteps::spanStepValue(1, 15), 85000);
    EXPECT_EQ(spansteps::spanStepHz(0, 7), 20000);
    EXPECT_EQ(spansteps::spanStepValue(0, -1), 0);
    EXPECT_EQ(spansteps::spanStepValue(0, 15), 33000);
    EXPECT_EQ(spansteps::spanStepValue(0, 1 << 30), 33000);
    EXPECT_EQ(spansteps::spanStepValue(1, 99), 85000);
    EXPECT_EQ(spansteps::spanStepValue(-3, 14), 33000);
}

TEST(TraceKinds, PointCountsAndFamilies) {
    EXPECT_EQ(tracekind::pointCount(0), 251);
    EXPECT_EQ(tracekind::pointCount(1), 1001);
    EXPECT_EQ(tracekind::pointCount(2), 0);
    EXPECT_EQ(tracekind::pointCount(18), 0);
    EXPECT_EQ(tracekind::pointCount(-1), 0);
    // The first and last kind of each family.
    for (int kind : {10, 17, 31, 38}) {
        EXPECT_EQ(tracekind::pointCount(kind), 1001) << kind;
    }
    for (int kind : {20, 30, 32, 39}) {
        EXPECT_EQ(tracekind::pointCount(kind), 251) << kind;
    }
    EXPECT_TRUE(tracekind::isFieldStrengthKind(28));
    EXPECT_TRUE(tracekind::isMagneticFieldKind(29));
    EXPECT_FALSE(tracekind::isFieldStrengthKind(30));
    EXPECT_FALSE(tracekind::isFieldStrengthKind(2));
    EXPECT_EQ(tracekind::unitOfKind(33), 1);
    EXPECT_EQ(tracekind::unitOfKind(36), 3);
    EXPECT_EQ(tracekind::unitOfKind(39), 4);
    EXPECT_EQ(tracekind::unitOfKind(27), 5);
    EXPECT_EQ(tracekind::unitOfKind(1), -1);
}

TEST(TraceKinds, AntennaAndProbeCodesRoundTrip) {
    EXPECT_EQ(tracekind::antennaOfKind(14), 5); // AT15
    EXPECT_EQ(tracekind::antennaOfKind(15), 4); // user antenna
    EXPECT_EQ(tracekind::antennaOfKind(38), 6);
    EXPECT_EQ(tracekind::antennaOfKind(24), 5);
    EXPECT_EQ(tracekind::antennaOfKind(28), -1);
    EXPECT_EQ(tracekind::probeOfKind(27), 1);
    EXPECT_EQ(tracekind::probeOfKind(29), -1);
    for (int a = 0; a < 7; ++a) {
        EXPECT_EQ(tracekind::antennaOfKind(tracekind::electricFieldKind(a, true)), a);
        EXPECT_EQ(tracekind::antennaOfKind(tracekind::electricFieldKind(a, false)), a);
        EXPECT_EQ(tracekind::pointCount(tracekind::electricFieldKind(a, false)), 251);
    }
    EXPECT_EQ(tracekind::magneticFieldKind(1, true), 17);
    EXPECT_EQ(tracekind::magneticFieldKind(2, true), -1);
    EXPECT_EQ(tracekind::electricFieldKind(7, false), -1);
}

} // namespace
