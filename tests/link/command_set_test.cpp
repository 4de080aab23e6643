// The command transaction against an analyzer played by hand: command texts, the reply checks,
// the busy cursor, the write failure with its reconnect, and recovery.

#include "command_set.h"
#include "hand_played_analyzer.h"
#include "instrument_settings.h"
#include "link_state.h"
#include "link_view.h"
#include "serial_port.h"
#include "use_com_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using orvel::test::HandPlayedAnalyzer;

std::string Text(int code) {
    char out[kTxBufferSize];
    BuildCommandText(code, out, sizeof out);
    return out;
}

struct CursorCount : LinkView {
    int on = 0;
    int off = 0;
    void SetWaitCursor(bool busy) override { (busy ? on : off)++; }
};

class CommandSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        UseComPort(analyzer.devicePath());
        CommPort(portop::kOpen);
        ASSERT_EQ(gLink.comHandle, 1);
        SetPortTimeouts(portprofile::kLong);
        SetLinkView(&cursor);
    }
    void TearDown() override {
        SetLinkView(nullptr);
        CommPort(portop::kClose);
    }
    std::string nextReply = "OK\r\n";
    HandPlayedAnalyzer analyzer{[this](const std::string&) { return nextReply; }};
    CursorCount cursor;
};

// Texts the wire tests against the simulator do not reach: the model's span row, the ends of the
// number ranges, and indexes outside their tables.
TEST(CommandText, TextsFromTheRecord) {
    using Set = void (*)(InstrumentSettings&);
    struct Case {
        Set set;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {nullptr, query::kAcpRefBw, "ACPREFBW?\r\n"},
        {[](InstrumentSettings& s) {
             s.modelIndex = 1;
             s.spanIndex = 14;
         },
         cmd::kSpan, "SPAN5G\r\n"},
        {[](InstrumentSettings& s) { s.spanIndex = 14; }, cmd::kSpan, "SPANFULL\r\n"},
        {[](InstrumentSettings& s) { s.peakSearchNo = 11; }, cmd::kPeakSearch, "PKSEARCH12\r\n"},
        {[](InstrumentSettings& s) { s.levelOffset = 12.0; }, cmd::kOffset, "OFFSET12.0\r\n"},
        {[](InstrumentSettings& s) { s.runState = 1; }, cmd::kRunHold, "RUN\r\n"},
        {[](InstrumentSettings& s) { s.obwMode = 0; }, cmd::kObwMode, "OBWMODEN%\r\n"},
        {[](InstrumentSettings& s) { s.spanIndex = 15; }, cmd::kSpan, ""}, // RVX410 has no 15
        {[](InstrumentSettings& s) { s.rbwIndex = -1; }, cmd::kRbw, ""},
        {[](InstrumentSettings& s) { s.impedanceIndex = 2; }, cmd::kImpedance, ""},
    };
    for (const Case& c : cases) {
        SetDefaultSettings();
        if (c.set)
            c.set(gSettings);
        EXPECT_EQ(Text(c.code), c.text) << c.code;
    }
    for (int code : {99, 120, 122, 132, 140, 147, 148, 151, 153, 199, 239})
        EXPECT_EQ(Text(code), "") << code;
}

TEST_F(CommandSetTest, OkInAnyCaseAcceptsAndErrInAnyCaseRefuses) {
    nextReply = "ok\r\n";
    EXPECT_EQ(SendCommand(cmd::kFreq), 1);
    EXPECT_STREQ(gLink.rxBuffer, "ok");
    nextReply = "NG\r\n";
    EXPECT_EQ(SendCommand(cmd::kFreq), 0);
    nextReply = "eRr:range\r\n";
    EXPECT_EQ(SendCommand(cmd::kFreq), 0);
    nextReply = "Err\r\n";
    EXPECT_EQ(SendCommand(cmd::kMeasRes), 0);
    nextReply = "CP:-20.05dBm\r\n";
    EXPECT_EQ(SendCommand(cmd::kMeasRes), 1);
    EXPECT_STREQ(gLink.rxBuffer, "CP:-20.05dBm");
    const auto lines = analyzer.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "FREQ1000000000.0000");
    EXPECT_EQ(lines[4], "MEASRES");
    EXPECT_EQ(cursor.on, 5);
    EXPECT_EQ(cursor.off, 5);
}

TEST_F(CommandSetTest, UnknownCodesSendNothing) {
    EXPECT_EQ(SendCommand(153), 0);
    EXPECT_EQ(SendCommand(199), 0);
    gSettings.sweepIndex = 8;
    EXPECT_EQ(SendCommand(cmd::kSweep), 0);
    gSettings.sweepIndex = 2;
    EXPECT_EQ(SendCommand(cmd::kSweep), 1);
    const auto lines = analyzer.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "SWEEP0.1");
    EXPECT_EQ(cursor.on, cursor.off);
}

TEST_F(CommandSetTest, SettledAndAutoCouplingCommands) {
    nextReply = "ERR\r\n";
    EXPECT_EQ(SendSettledCommand(cmd::kEfAntenna), 0);
    nextReply = "OK trailing\r\n";
    EXPECT_EQ(SendAutoCoupling(cmd::kVbw), 0) << "only exactly \"OK\" counts";
    nextReply = "OK\r\n";
    EXPECT_EQ(SendSettledCommand(cmd::kEfAntenna), 1);
    EXPECT_EQ(SendAutoCoupling(cmd::kSweep), 1);
    EXPECT_EQ(SendAutoCoupling(cmd::kFreq), 0);
    const std::vector<std::string> expected = {"EFANTAT11", "EFANTAT11", "EFANTAT11", "EFANTAT11",
                                               "EFANTAT11", "VBWAUTO",   "EFANTAT11", "SWEEPAUTO"};
    EXPECT_EQ(analyzer.lines(), expected) << "five tries while refused";
}

TEST_F(CommandSetTest, VersionTextByTheReplysFirstLetter) {
    nextReply = "VER1.05 RVX410\r\n";
    EXPECT_EQ(SendCommand(cmd::kVersion), 1);
    EXPECT_STREQ(gSettings.versionText, "1.05 RVX410");
    nextReply = "MODEL RVX410 FW:2.10 B\r\n";
    SendCommand(cmd::kVersion);
    EXPECT_STREQ(gSettings.versionText, "2.10 B");
    nextReply = "RVX410 FIRMWARE V 3.01\r\n";
    SendCommand(cmd::kVersion);
    EXPECT_STREQ(gSettings.versionText, "3.01");
    nextReply = "V\r\n";
    SendCommand(cmd::kVersion);
    EXPECT_STREQ(gSettings.versionText, "") << "a short reply gives no version, not old bytes";
}

} // namespace
