// Decoding of query replies into the settings record: keyword match by the longest keyword,
// the unit rule, the exact-case replies, and replies that must leave the field alone.

#include "command_codes.h"
#include "instrument_settings.h"
#include "query_decoding.h"

#include <gtest/gtest.h>

namespace {

TEST(QueryDecoding, EveryCodeHasItsKeyword) {
    EXPECT_STREQ(QueryKeyword(query::kFreq), "FREQ?");
    EXPECT_STREQ(QueryKeyword(query::kAcpRefBw), "ACPREFBW?");
    EXPECT_STREQ(QueryKeyword(query::kAutoTune), "AUTO?");
    EXPECT_STREQ(QueryKeyword(query::kRemote), "REMOTE?");
    EXPECT_STREQ(QueryKeyword(query::kCalcSpread), "CALCSPR?");
    EXPECT_EQ(QueryKeyword(199), nullptr);
    EXPECT_EQ(QueryKeyword(239), nullptr);
}

TEST(QueryDecoding, SpanFollowsTheModelRow) {
    gSettings.modelIndex = 0;
    gSettings.spanIndex = 3;
    DecodeQueryReply(query::kSpan, "20M");
    EXPECT_EQ(gSettings.spanIndex, 7);
    DecodeQueryReply(query::kSpan, "FULL");
    EXPECT_EQ(gSettings.spanIndex, 14);
    gSettings.modelIndex = 1;
    gSettings.spanIndex = 3;
    DecodeQueryReply(query::kSpan, "20m");
    EXPECT_EQ(gSettings.spanIndex, 7);
    DecodeQueryReply(query::kSpan, "FULL");
    EXPECT_EQ(gSettings.spanIndex, 7) << "FULL lies outside the positions asked on RVX420";
    DecodeQueryReply(query::kSpan, "5G");
    EXPECT_EQ(gSettings.spanIndex, 14);
}

TEST(QueryDecoding, LongestKeywordWins) {
    DecodeQueryReply(query::kUnit, "DBMV");
    EXPECT_EQ(gSettings.unitIndex, 2);
    DecodeQueryReply(query::kVbw, "100K");
    EXPECT_EQ(gSettings.vbwIndex, 6);
    DecodeQueryReply(query::kSweep, "10");
    EXPECT_EQ(gSettings.sweepIndex, 6);
    DecodeQueryReply(query::kSweep, "1");
    EXPECT_EQ(gSettings.sweepIndex, 4);
    DecodeQueryReply(query::kSweep, "10M");
    EXPECT_EQ(gSettings.sweepIndex, 0);
    DecodeQueryReply(query::kRbw, "300k");
    EXPECT_EQ(gSettings.rbwIndex, 4);
}

TEST(QueryDecoding, FieldStrengthUnitReadsAsDbm) {
    gSettings.unitIndex = 3;
    DecodeQueryReply(query::kUnit, "dBuV/m");
    EXPECT_EQ(gSettings.unitIndex, 0);
    gSettings.unitIndex = 5; // left over from a field-strength display
    DecodeQueryReply(query::kUnit, "nonsense");
    EXPECT_EQ(gSettings.unitIndex, 0) << "the rule applies whether or not the reply matched";
}

TEST(QueryDecoding, RepliesOutsideTheAskedPositionsLeaveTheField) {
    gSettings.vbwIndex = 4;
    EXPECT_EQ(DecodeQueryReply(query::kVbw, "ALL"), 1);
    EXPECT_EQ(gSettings.vbwIndex, 4);
    gSettings.antennaIndex = 2;
    DecodeQueryReply(query::kEfAntenna, "USER");
    EXPECT_EQ(gSettings.antennaIndex, 4);
    DecodeQueryReply(query::kEfAntenna, "AT15");
    EXPECT_EQ(gSettings.antennaIndex, 4);
    gSettings.measureIndex = 2;
    DecodeQueryReply(query::kMeas, "FC");
    EXPECT_EQ(gSettings.measureIndex, 2);
    gSettings.calcIndex = 1;
    DecodeQueryReply(query::kCalc, "");
    EXPECT_EQ(gSettings.calcIndex, 1);
}

TEST(QueryDecoding, ExactCaseReplies) {
    gSettings.impedanceIndex = 0;
    DecodeQueryReply(query::kImpedance, "75");
    EXPECT_EQ(gSettings.impedanceIndex, 1);
    DecodeQueryReply(query::kImpedance, "050");
    EXPECT_EQ(gSettings.impedanceIndex, 1);
    DecodeQueryReply(query::kImpedance, "50OHM");
    EXPECT_EQ(gSettings.impedanceIndex, 0);

    DecodeQueryReply(query::kRemote, "ON");
    EXPECT_EQ(gSettings.remoteState, 1);
    DecodeQueryReply(query::kRemote, "on");
    EXPECT_EQ(gSettings.remoteState, 0);

    gSettings.calcSpread = 1;
    DecodeQueryReply(query::kCalcSpread, "off");
    EXPECT_EQ(gSettings.calcSpread, 1);
    DecodeQueryReply(query::kCalcSpread, "OFF");
    EXPECT_EQ(gSettings.calcSpread, 0);
    DecodeQueryReply(query::kCalcSpread, "ON");
    EXPECT_EQ(gSettings.calcSpread, 1);
}

TEST(QueryDecoding, NumbersAndIntegers) {
    DecodeQueryReply(query::kFreq, "1.5G");
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1.5e9);
    DecodeQueryReply(query::kCpWidth, "2,000,000");
    EXPECT_DOUBLE_EQ(gSettings.cpWidth, 2e6);
    DecodeQueryReply(query::kOffset, "-3.5");
    EXPECT_DOUBLE_EQ(gSettings.levelOffset, -3.5);
    DecodeQueryReply(query::kNormMarker, "2.5e-3");
    EXPECT_DOUBLE_EQ(gSettings.normMarkerFreq, 0.0025);
    DecodeQueryReply(query::kRef, "-20");
    EXPECT_EQ(gSettings.refLevel, -20);
    DecodeQueryReply(query::kAveCount, "256");
    EXPECT_EQ(gSettings.aveCount, 256);
    DecodeQueryReply(query::kMaxCount, "99999999999999");
    EXPECT_EQ(gSettings.maxCount, 2147483647);
}

TEST(QueryDecoding, RepliesWithoutDigitsKeepNumbers) {
    gSettings.centerFreq = 1e9;
    gSettings.refLevel = 10;
    DecodeQueryReply(query::kFreq, "garbage");
    DecodeQueryReply(query::kRef, "dBm");
    DecodeQueryReply(query::kFreq, "");
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1e9);
    EXPECT_EQ(gSettings.refLevel, 10);
}

TEST(QueryDecoding, HoldSucceedsOnlyOnOk) {
    EXPECT_EQ(DecodeQueryReply(query::kHold, "ok"), 1);
    EXPECT_EQ(DecodeQueryReply(query::kHold, "RUN"), 0);
    EXPECT_EQ(DecodeQueryReply(query::kAutoTune, "anything"), 1);
}

} // namespace
