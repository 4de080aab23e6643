// Decoding of query replies into the settings record: keyword match by the longest keyword,
// the unit rule, the exact-case replies, and replies that must leave the field alone.

#include "link_fixtures.h"
#include "query_decoding.h"

#include <initializer_list>

namespace {

struct Row {
    int code;
    const char* reply;
    int InstrumentSettings::*field;
    int expected;
};

// Rows run in order: a reply that must leave the field alone expects the value before it.
void Decode(std::initializer_list<Row> rows) {
    for (const Row& r : rows) {
        DecodeQueryReply(r.code, r.reply);
        EXPECT_EQ(gSettings.*r.field, r.expected) << r.code << " \"" << r.reply << '"';
    }
}

using S = InstrumentSettings;

// Keywords All Reading never asks (the wire test of All Reading shows its own).
TEST(QueryDecoding, KeywordsOfEveryCodeAndTheHandshakeReplies) {
    EXPECT_STREQ(QueryKeyword(query::kAutoTune), "AUTO?");
    EXPECT_STREQ(QueryKeyword(query::kCalcSpread), "CALCSPR?");
    EXPECT_EQ(QueryKeyword(199), nullptr);
    EXPECT_EQ(QueryKeyword(239), nullptr);
    // Hold succeeds only on "OK"; auto tune on anything.
    EXPECT_EQ(DecodeQueryReply(query::kHold, "ok"), 1);
    EXPECT_EQ(DecodeQueryReply(query::kHold, "RUN"), 0);
    EXPECT_EQ(DecodeQueryReply(query::kAutoTune, "anything"), 1);
}

TEST(QueryDecoding, SpanFollowsTheModelRow) {
    gSettings.modelIndex = 0;
    gSettings.spanIndex = 3;
    Decode({{query::kSpan, "20M", &S::spanIndex, 7}, {query::kSpan, "FULL", &S::spanIndex, 14}});
    gSettings.modelIndex = 1;
    gSettings.spanIndex = 3;
    // FULL lies outside the positions asked on RVX420.
    Decode({{query::kSpan, "20m", &S::spanIndex, 7},
            {query::kSpan, "FULL", &S::spanIndex, 7},
            {query::kSpan, "5G", &S::spanIndex, 14}});
}

TEST(QueryDecoding, KeywordsCaseAndRepliesOutsideTheAskedPositions) {
    gSettings.vbwIndex = 4;
    EXPECT_EQ(DecodeQueryReply(query::kVbw, "ALL"), 1);
    gSettings.antennaIndex = 2;
    gSettings.measureIndex = 2;
    gSettings.calcIndex = 1;
    gSettings.impedanceIndex = 0;
    gSettings.calcSpread = 1;
    Decode({
        {query::kVbw, "ALL", &S::vbwIndex, 4},
        // The longest keyword wins.
        {query::kUnit, "DBMV", &S::unitIndex, 2},
        {query::kVbw, "100K", &S::vbwIndex, 6},
        {query::kSweep, "10", &S::sweepIndex, 6},
        {query::kSweep, "1", &S::sweepIndex, 4},
        {query::kSweep, "10M", &S::sweepIndex, 0},
        {query::kRbw, "300k", &S::rbwIndex, 4},
        // Replies outside the positions asked leave the field.
        {query::kEfAntenna, "USER", &S::antennaIndex, 4},
        {query::kEfAntenna, "AT15", &S::antennaIndex, 4},
        {query::kMeas, "FC", &S::measureIndex, 2},
        {query::kCalc, "", &S::calcIndex, 1},
        // Exact-case replies.
        {query::kImpedance, "75", &S::impedanceIndex, 1},
        {query::kImpedance, "050", &S::impedanceIndex, 1},
        {query::kImpedance, "50OHM", &S::impedanceIndex, 0},
        {query::kRemote, "ON", &S::remoteState, 1},
        {query::kRemote, "on", &S::remoteState, 0},
        {query::kCalcSpread, "off", &S::calcSpread, 1},
        {query::kCalcSpread, "OFF", &S::calcSpread, 0},
        {query::kCalcSpread, "ON", &S::calcSpread, 1},
    });
}

TEST(QueryDecoding, FieldStrengthUnitReadsAsDbm) {
    gSettings.unitIndex = 3;
    DecodeQueryReply(query::kUnit, "dBuV/m");
    EXPECT_EQ(gSettings.unitIndex, 0);
    gSettings.unitIndex = 5; // left over from a field-strength display
    DecodeQueryReply(query::kUnit, "nonsense");
    EXPECT_EQ(gSettings.unitIndex, 0) << "the rule applies whether or not the reply matched";
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
    Decode({{query::kRef, "-20", &S::refLevel, -20},
            {query::kAveCount, "256", &S::aveCount, 256},
            {query::kMaxCount, "1024", &S::maxCount, 1024},
            // Replies without digits keep the number.
            {query::kRef, "dBm", &S::refLevel, -20}});
    DecodeQueryReply(query::kFreq, "garbage");
    DecodeQueryReply(query::kFreq, "");
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1.5e9);
}

// Replies no field can hold: a value outside the field's range leaves it as it was, so nothing
// later computes with it. Every number and integer query, each with the same extremes.
TEST(QueryDecoding, NumbersOutsideTheFieldsRangeLeaveIt) {
    const std::string nines(400, '9');
    const std::string extremes[] = {"1.7976931348623157e308",
                                    "-1.7976931348623157e308",
                                    "1e400",
                                    "NaN",
                                    "-inf",
                                    nines,
                                    "-" + nines,
                                    "0." + nines + "e999",
                                    "999999999999"};
    // Integers are the reply's leading digits: "1e400" reads as 1.
    const std::string integerExtremes[] = {"2147483647", "-2147483648", "2147483648", "1025",
                                           nines,        "-" + nines,   "NaN"};
    SetDefaultSettings();
    for (const fields::SettingField& f : fields::all()) {
        if (f.query == 0 || f.kind != fields::Kind::Number)
            continue;
        const double before = gSettings.*f.number;
        for (const std::string& reply : extremes) {
            EXPECT_EQ(DecodeQueryReply(f.query, reply.c_str()), 1);
            EXPECT_EQ(gSettings.*f.number, before)
                << f.query << " \"" << reply.substr(0, 30) << '"';
        }
    }
    for (int code : {query::kRef, query::kMaxCount, query::kMinCount, query::kAveCount}) {
        for (const std::string& reply : integerExtremes)
            Decode({{code, reply.c_str(), &S::refLevel, 10},
                    {code, reply.c_str(), &S::aveCount, 256}});
    }
    // The ends of each range still arrive; a width, a ratio and the centre have their own.
    Decode({{query::kRef, "-110", &S::refLevel, -110},
            {query::kRef, "61", &S::refLevel, -110},
            {query::kAveCount, "0", &S::aveCount, 0}});
    DecodeQueryReply(query::kFreq, "3300000000.0000");
    EXPECT_EQ(gSettings.centerFreq, 3.3e9);
    DecodeQueryReply(query::kFreq, "3400000000.0000"); // above the RVX410's limit
    EXPECT_EQ(gSettings.centerFreq, 3.3e9);
    DecodeQueryReply(query::kCpWidth, "-1M");
    DecodeQueryReply(query::kObwRatio, "50");
    EXPECT_EQ(gSettings.cpWidth, 1e6);
    EXPECT_EQ(gSettings.obwRatio, 99.0);
}

} // namespace
