// Decoding of query replies and screen records; damaged ones disturb nothing they do not carry.

#include "link_fixtures.h"
#include "query_decoding.h"
#include "screen_record.h"

#include <initializer_list>
#include <tuple>

namespace {

struct Row {
    int code;
    const char* reply;
    int InstrumentSettings::*field;
    int expected;
};

void Decode(std::initializer_list<Row> rows) {
    for (const Row& r : rows) {
        DecodeQueryReply(r.code, r.reply);
        EXPECT_EQ(gSettings.*r.field, r.expected) << r.code << " \"" << r.reply << '"';
    }
}

using S = InstrumentSettings;

// Span by the model's row, the longest keyword, exact case, replies outside the asked positions,
// the field-strength unit rule, the queries that read no setting, then numbers. Rows run in order:
// a reply that must leave the field alone expects the value before it.
TEST(QueryDecoding, KeywordsCaseNumbersAndRepliesOutsideTheAskedPositionsOrTheRange) {
    EXPECT_EQ(QueryKeyword(199), nullptr);
    EXPECT_EQ(QueryKeyword(239), nullptr);
    EXPECT_EQ(DecodeQueryReply(query::kHold, "ok"), 1) << "hold succeeds only on \"OK\"";
    EXPECT_EQ(DecodeQueryReply(query::kHold, "RUN"), 0);
    EXPECT_EQ(DecodeQueryReply(query::kAutoTune, "anything"), 1);
    gSettings.modelIndex = 0;
    gSettings.spanIndex = 3;
    Decode({{query::kSpan, "20M", &S::spanIndex, 7}, {query::kSpan, "FULL", &S::spanIndex, 14}});
    gSettings.modelIndex = 1;
    gSettings.spanIndex = 3;
    // FULL lies outside the positions asked on RVX420 ("5G" is read in All Reading).
    Decode({{query::kSpan, "20m", &S::spanIndex, 7}, {query::kSpan, "FULL", &S::spanIndex, 7}});
    gSettings.vbwIndex = 4;
    EXPECT_EQ(DecodeQueryReply(query::kVbw, "ALL"), 1);
    gSettings.antennaIndex = 2;
    gSettings.measureIndex = 2;
    gSettings.calcIndex = 1;
    gSettings.impedanceIndex = 0;
    gSettings.calcSpread = 1;
    gSettings.unitIndex = 3;
    Decode({
        {query::kVbw, "ALL", &S::vbwIndex, 4},
        // The longest keyword wins ("DBMV" is read in the field walk on the wire).
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
        // A field-strength unit reads as dBm.
        {query::kUnit, "dBuV/m", &S::unitIndex, 0},
    });
    gSettings.unitIndex = 5; // left over from a field-strength display
    DecodeQueryReply(query::kUnit, "nonsense");
    EXPECT_EQ(gSettings.unitIndex, 0) << "the rule applies whether or not the reply matched";

    // Numbers as parseSI reads them (see ParseSI.Values); no digits keep the number. A value out of
    // its field's range (every number and integer query, beyond each end) leaves the field alone.
    SetDefaultSettings();
    DecodeQueryReply(query::kFreq, "1.5G");
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1.5e9);
    Decode({{query::kRef, "-20", &S::refLevel, -20},
            {query::kAveCount, "256", &S::aveCount, 256},
            {query::kMaxCount, "1024", &S::maxCount, 1024},
            {query::kRef, "dBm", &S::refLevel, -20}});
    DecodeQueryReply(query::kFreq, "garbage");
    DecodeQueryReply(query::kFreq, "");
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1.5e9);
    const std::string nines(400, '9');
    // Integers are the reply's leading digits: "1e400" reads as 1.
    // clang-format off
    const Lines extremes = {"1.7976931348623157e308", "-1.7976931348623157e308", "1e400", "NaN",
        "-inf", nines, "-" + nines, "0." + nines + "e999", "999999999999"};
    const Lines integerExtremes = {"2147483647", "-2147483648", "2147483648", "1025", nines,
        "-" + nines, "NaN"};
    // clang-format on
    int judged = 0;
    for (const fields::SettingField& f : fields::all()) {
        if (f.query == 0 || (f.kind != fields::Kind::Number && f.kind != fields::Kind::Integer))
            continue;
        ++judged;
        const double before = GetField(f);
        for (const std::string& reply :
             f.kind == fields::Kind::Number ? extremes : integerExtremes) {
            EXPECT_EQ(DecodeQueryReply(f.query, reply.c_str()), 1);
            EXPECT_EQ(GetField(f), before) << f.query << " \"" << reply.substr(0, 30) << '"';
        }
    }
    EXPECT_GE(judged, 10) << "the field table's numeric queries";
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
    EXPECT_EQ(std::pair(gSettings.cpWidth, gSettings.obwRatio), std::pair(1e6, 99.0));
}

std::string Points(int count, int value) {
    std::string s;
    char point[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(point, sizeof point, "%02X,", (value + i) & 0xFF);
        s += point;
    }
    return s;
}

std::string Record(const std::string& unitLine, const std::string& trace) {
    return "CF 1.0000GHz\r\nSP 20M\r\nRF-10\r\n" + unitLine + "\r\nST 0.1sPOS\r\nRB 100K\r\n" +
           "VB 10K\r\nSC 10dB/\r\nTRACE" + trace;
}

void Parse(const std::string& text) {
    std::snprintf(gLink.rxBuffer, kRxBufferSize, "%s", text.c_str());
    ParseScreenRecord(250);
}

// The record parsed into slot 1 on RVX410.
TraceRecord& Slot1Record() {
    gSettings.activeTraceSlot = 1;
    gSettings.modelIndex = 0;
    return gSettings.traceRecord;
}

// Labels (centre, span, ref, unit bits, kind, sweep, detector, RBW, VBW, scale) after the record
// before: unit words in their order; sweep is the longest keyword before the detector ("PO" is too
// short for either); a scale other than 2 or 10 and a span word not matching whole leave their
// field; the reference from a line beginning with R.
TEST(ScreenRecordTest, LabelsByTheirKeywords) {
    TraceRecord& record = Slot1Record();
    const std::string r1 = "CF 1G\r\nSP 1M\r\nR";
    const std::string rest = "\r\nRB 3K\r\nVB 1M\r\nSC 10\r\nTRACE";
    // clang-format off
    const std::tuple<int, std::string, std::vector<double>> cases[] = {
        {0, Record("dBmV", ""), {1e9, 7, -10, 0x1F2, 34, 2, 0, 3, 4, 1}},
        {0, Record("dBm", "") + " dBuV", {1e9, 7, -10, 0x1F0, 30, 2, 0, 3, 4, 1}},
        {0, Record("dBu{", ""), {1e9, 7, -10, 0x1F4, 28, 2, 0, 3, 4, 1}},
        {0, Record("dBu|", ""), {1e9, 7, -10, 0x1F5, 29, 2, 0, 3, 4, 1}},
        {0, r1 + "F0\r\nST 10msSMP\r\nRB 3K\r\nVB OFF\r\nSC 2\r\nTRACE", {1e9, 3, 0, 0x1F5, 29, 0, 2, 0, 10, 0}},
        {0, r1 + "F0\r\nST 10sneg\r\nRB 3K\r\nVB 1M\r\nSC 5\r\nTRACE", {1e9, 3, 0, 0x1F5, 29, 6, 1, 0, 8, 0}},
        {0, r1 + "F0\r\nST PO" + rest, {1e9, 3, 0, 0x1F5, 29, 6, 1, 0, 8, 1}},
        {0, r1 + " -35dBm\r\nST 1sPOS" + rest, {1e9, 3, -35, 0x1F0, 30, 4, 0, 0, 8, 1}},
        {0, "CF 1G\r\nSP 20MHz\r\nRF0\r\nST 1sPOS" + rest, {1e9, 3, 0, 0x1F0, 30, 4, 0, 0, 8, 1}},
        {1, "CF 1G\r\nSP full\r\nRF0\r\nST 1sPOS" + rest, {1e9, 15, 0, 0x1F0, 30, 4, 0, 0, 8, 1}}};
    // clang-format on
    record = TraceRecord{};
    record.recordUnitBits = 0x1F0; // only the low four bits are the unit's
    for (const auto& [model, text, labels] : cases) {
        gSettings.modelIndex = model;
        Parse(text);
        EXPECT_EQ(RecordLabels(record), labels) << text;
    }
}

// A missing label stops the parse there.
TEST(ScreenRecordTest, DamagedRecordsTheUnchangedCountAndALabelAtTheVeryEndOfTheBuffer) {
    TraceRecord& record = Slot1Record();
    Parse(Record("dBm", Points(251, 0)));
    record.recordRbwIndex = 6;
    record.recordVbwIndex = 9;
    std::string text = Record("dBmV", Points(251, 0x40));
    text.replace(text.find("RB"), 2, "XX");
    Parse(text);
    EXPECT_EQ(RecordLabels(record), (std::vector<double>{1e9, 7, -10, 2, 34, 2, 0, 6, 9, 1}))
        << "the labels before the gap take their new values, those after keep theirs";
    EXPECT_EQ(record.tracePoints[0], 0) << "points keep their old values";
    EXPECT_EQ(gSettings.traceStore[1][5], 5);
    // Non-hexadecimal points read as far as they are digits; a short trace keeps the rest.
    Parse(Record("dBm", Points(251, 0x20)));
    Parse(Record("dBm", "ZZ,1G,7F,0"));
    EXPECT_EQ(std::vector<int>(record.tracePoints, record.tracePoints + 5),
              (std::vector<int>{0, 1, 0x7F, 0, 0x24}));
    EXPECT_EQ(gSettings.traceStore[1][4], 0x24);
    // A NUL byte ends the text: nothing after it is read.
    text = Record("dBm", Points(10, 0x50));
    text[text.find("TRACE") + 8] = '\0';
    std::memcpy(gLink.rxBuffer, text.data(), text.size() + 1);
    ParseScreenRecord(250);
    EXPECT_EQ(record.tracePoints[0], 0x50);
    EXPECT_EQ(record.tracePoints[1], 1) << "kept from the record before";
    // Unchanged traces are counted up to ten, only when all points are.
    gSettings.unchangedTraceCount = 0;
    Parse(Record("dBm", Points(250, 0x30)));
    EXPECT_EQ(gSettings.unchangedTraceCount, 0);
    for (int i = 0; i < 12; ++i)
        ParseScreenRecord(250);
    EXPECT_EQ(gSettings.unchangedTraceCount, 10);
    gSettings.unchangedTraceCount = 3;
    std::string differing = Points(250, 0x30);
    differing.replace(3 * 100, 2, "FF");
    Parse(Record("dBm", differing));
    EXPECT_EQ(gSettings.unchangedTraceCount, 3);
    // The analyzer's records of 251 points count only when all are unchanged.
    Parse(Record("dBm", Points(251, 0x30)));
    gSettings.unchangedTraceCount = 0;
    differing = Points(251, 0x30);
    differing.replace(3 * 250, 2, "FF");
    Parse(Record("dBm", differing));
    EXPECT_EQ(gSettings.unchangedTraceCount, 0) << "250 of 251 equal is a changed trace";
    ParseScreenRecord(250);
    EXPECT_EQ(gSettings.unchangedTraceCount, 1);
    // A label at the very end of the buffer reads nothing beyond it.
    std::memset(gLink.rxBuffer, '.', kRxBufferSize - 1);
    gLink.rxBuffer[kRxBufferSize - 1] = '\0';
    std::memcpy(gLink.rxBuffer + kRxBufferSize - 3, "CF", 2);
    ParseScreenRecord(1000);
    text = Record("dBm", "");
    std::memset(gLink.rxBuffer, '1', kRxBufferSize - 1);
    std::memcpy(gLink.rxBuffer, text.data(), text.size());
    ParseScreenRecord(1000);
    EXPECT_EQ(record.tracePoints[1004], 0x11);
    EXPECT_EQ(record.tracePoints[1005], 0) << "at most n + n/250 + 1 points";
    // A caller asking for more points than the record holds still stays inside it.
    gSettings.activeTraceSlot = 10;
    ParseScreenRecord(100000);
    EXPECT_EQ(record.tracePoints[1023], 0x11);
    EXPECT_EQ(gSettings.traceStore[10][1023], 0x11);
    EXPECT_EQ(record.reserved1[0], 0);
    gSettings.activeTraceSlot = 40; // no such slot: the points still arrive, no slot is written
    ParseScreenRecord(250);
}

} // namespace
