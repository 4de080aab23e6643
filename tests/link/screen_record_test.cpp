// The screen record parser: labels, units, sweep and detector, points, and damaged records that
// must not disturb what they do not carry.

#include "link_fixtures.h"
#include "screen_record.h"

namespace {

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

void Load(const std::string& text) {
    std::snprintf(gLink.rxBuffer, kRxBufferSize, "%s", text.c_str());
}

void Parse(const std::string& text) {
    Load(text);
    ParseScreenRecord(250);
}

// The first `count` points of the record.
std::vector<int> FirstPoints(const TraceRecord& r, int count) {
    return std::vector<int>(r.tracePoints, r.tracePoints + count);
}

class ScreenRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        gSettings.activeTraceSlot = 1;
        gSettings.modelIndex = 0;
    }
    TraceRecord& record = gSettings.traceRecord;
};

TEST_F(ScreenRecordTest, DecodesEveryLabel) {
    record.recordUnitBits = 0x1F0;
    Parse(Record("dBm", Points(251, 0x10)));
    // Only the low four bits of the unit change.
    EXPECT_EQ(RecordLabels(record), (std::vector<double>{1e9, 7, -10, 0x1F0, 30, 2, 0, 3, 4, 1}));
    for (int i = 0; i < 251; ++i) {
        ASSERT_EQ(record.tracePoints[i], (0x10 + i) & 0xFF) << i;
        ASSERT_EQ(gSettings.traceStore[1][i], (0x10 + i) & 0xFF) << i;
    }
    EXPECT_EQ(record.tracePoints[251], 0);
}

TEST_F(ScreenRecordTest, UnitWordsInTheirOrder) {
    struct Case {
        std::string text;
        unsigned bits;
        int kind;
    };
    for (const Case& c : {Case{Record("dBmV", ""), 2, 34}, Case{Record("dBm", "") + " dBuV", 0, 30},
                          Case{Record("dBu{", ""), 4, 28}, Case{Record("dBu|", ""), 5, 29}}) {
        Parse(c.text);
        EXPECT_EQ(record.recordUnitBits & 0xF, c.bits) << c.text;
        EXPECT_EQ(record.recordKind, c.kind) << c.text;
    }
}

// "PO" is too short to be sweep or detector; a scale other than 2 or 10 leaves the field.
TEST_F(ScreenRecordTest, SweepIsTheLongestKeywordBeforeTheDetector) {
    // clang-format off
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"CF 1G\r\nSP 1M\r\nRF0\r\nST 10msSMP\r\nRB 3K\r\nVB OFF\r\nSC 2\r\nTRACE", {0, 2, 10, 0}},
        {"CF 1G\r\nSP 1M\r\nRF0\r\nST 10sneg\r\nRB 3K\r\nVB 1M\r\nSC 5\r\nTRACE", {6, 1, 8, 0}},
        {"CF 1G\r\nSP 1M\r\nRF0\r\nST PO\r\nRB 3K\r\nVB 1M\r\nSC 10\r\nTRACE", {6, 1, 8, 1}}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        Parse(text);
        EXPECT_EQ((std::vector<int>{record.recordSweepIndex, record.recordDetectorIndex,
                                    record.recordVbwIndex, record.recordScaleIndex}),
                  expected)
            << text;
    }
    Parse("CF 1G\r\nSP 1M\r\nR -35dBm\r\nST 1sPOS\r\nRB 3K\r\nVB 1M\r\nSC 10\r\nTRACE");
    EXPECT_EQ(record.recordRefLevel, -35) << "the reference from a line beginning with R";
}

TEST_F(ScreenRecordTest, MissingLabelStopsTheParseThere) {
    Parse(Record("dBm", Points(251, 0)));
    record.recordRbwIndex = 6;
    record.recordVbwIndex = 9;
    std::string text = Record("dBmV", Points(251, 0x40));
    text.replace(text.find("RB"), 2, "XX");
    Parse(text);
    EXPECT_EQ(record.recordKind, 34) << "fields before the gap take their new values";
    EXPECT_EQ(record.recordRbwIndex, 6);
    EXPECT_EQ(record.recordVbwIndex, 9);
    EXPECT_EQ(record.tracePoints[0], 0) << "points keep their old values";
    EXPECT_EQ(gSettings.traceStore[1][5], 5);
}

TEST_F(ScreenRecordTest, ShortTraceKeepsTheRestAndStopsAtTheEnd) {
    Parse(Record("dBm", Points(251, 0x20)));
    Parse(Record("dBm", "01,02,0"));
    EXPECT_EQ(FirstPoints(record, 4), (std::vector<int>{1, 2, 0, 0x23}));
    EXPECT_EQ(gSettings.traceStore[1][3], 0x23);
}

TEST_F(ScreenRecordTest, NonHexadecimalPointsAndNulBytes) {
    Parse(Record("dBm", "ZZ,1G,7F,"));
    EXPECT_EQ(FirstPoints(record, 3), (std::vector<int>{0, 1, 0x7F}));
    // A NUL byte ends the text: nothing after it is read.
    std::string text = Record("dBm", Points(10, 0x50));
    text[text.find("TRACE") + 8] = '\0';
    std::memcpy(gLink.rxBuffer, text.data(), text.size());
    gLink.rxBuffer[text.size()] = '\0';
    ParseScreenRecord(250);
    EXPECT_EQ(record.tracePoints[0], 0x50);
    EXPECT_EQ(record.tracePoints[1], 1) << "kept from the record before";
}

TEST_F(ScreenRecordTest, LabelAtTheVeryEndOfTheBufferReadsNothingBeyond) {
    std::memset(gLink.rxBuffer, '.', kRxBufferSize - 1);
    gLink.rxBuffer[kRxBufferSize - 1] = '\0';
    std::memcpy(gLink.rxBuffer + kRxBufferSize - 3, "CF", 2);
    ParseScreenRecord(1000);
    std::string text = Record("dBm", "");
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

TEST_F(ScreenRecordTest, UnchangedTracesAreCountedUpToTenOnlyWhenAllPointsAre) {
    gSettings.unchangedTraceCount = 0;
    Parse(Record("dBm", Points(250, 0x30)));
    EXPECT_EQ(gSettings.unchangedTraceCount, 0);
    for (int i = 0; i < 12; ++i) {
        ParseScreenRecord(250);
    }
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
}

TEST_F(ScreenRecordTest, SpanKeywordMustMatchWhole) {
    record.recordSpanIndex = 3;
    Parse("CF 1G\r\nSP 20MHz\r\nRF0\r\nST 1sPOS\r\nRB 3K\r\nVB 1M\r\nSC 10\r\nTRACE");
    EXPECT_EQ(record.recordSpanIndex, 3);
    gSettings.modelIndex = 1;
    Parse("CF 1G\r\nSP full\r\nRF0\r\nST 1sPOS\r\nRB 3K\r\nVB 1M\r\nSC 10\r\nTRACE");
    EXPECT_EQ(record.recordSpanIndex, 15);
}

} // namespace
