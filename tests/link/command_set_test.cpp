// The command transaction against an analyzer played by hand: command texts, the reply checks,
// the busy cursor, the write failure with its reconnect, and recovery.

#include "link_fixtures.h"

namespace {

std::string Text(int code) {
    char out[kTxBufferSize];
    BuildCommandText(code, out, sizeof out);
    return out;
}

using CommandSetTest = HandPlayedTest;

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

// The reply checks; a refused or unanswered query leaves its field as the caller stored it.
TEST_F(CommandSetTest, OkInAnyCaseAcceptsErrInAnyCaseAndSilenceRefuse) {
    const struct {
        const char* reply;
        int code;
        int result;
    } cases[] = {{"ok", cmd::kFreq, 1},
                 {"NG", cmd::kFreq, 0},
                 {"eRr:range", cmd::kFreq, 0},
                 {"Err", cmd::kMeasRes, 0},
                 {"CP:-20.05dBm", cmd::kMeasRes, 1}};
    for (const auto& c : cases) {
        reply = std::string(c.reply) + "\r\n";
        EXPECT_EQ(SendCommand(c.code), c.result) << c.reply;
        EXPECT_STREQ(gLink.rxBuffer, c.reply);
    }
    EXPECT_EQ(analyzer->lines(),
              Words("FREQ1000000000.0000 FREQ1000000000.0000 FREQ1000000000.0000 MEASRES MEASRES"));
    EXPECT_EQ(view.cursorOn, 5);
    EXPECT_EQ(view.cursorOff, 5);
    gSettings.refLevel = 50;
    reply = "ERR\r\n";
    EXPECT_EQ(SendCommand(cmd::kRef), 0);
    EXPECT_STREQ(gLink.rxBuffer, "ERR");
    gSettings.spanIndex = 3;
    EXPECT_EQ(SendCommand(query::kSpan), 0);
    EXPECT_EQ(gSettings.spanIndex, 3);
    reply = "1000000000.0000\r\n";
    gSettings.centerFreq = 2e9;
    EXPECT_EQ(SendCommand(query::kFreq), 1);
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1e9);
    reply = "";
    gSettings.timeOutSetting = 10; // silence ends at the short total time-out
    SetPortTimeouts(portprofile::kShort);
    EXPECT_EQ(SendCommand(query::kRef), 0);
    EXPECT_STREQ(gLink.rxBuffer, "Read error");
    EXPECT_EQ(gSettings.refLevel, 50) << "the record keeps what the caller stored";
}

TEST_F(CommandSetTest, UnknownCodesSendNothing) {
    EXPECT_EQ(SendCommand(153), 0);
    EXPECT_EQ(SendCommand(199), 0);
    gSettings.sweepIndex = 8;
    EXPECT_EQ(SendCommand(cmd::kSweep), 0);
    gSettings.sweepIndex = 2;
    EXPECT_EQ(SendCommand(cmd::kSweep), 1);
    EXPECT_EQ(analyzer->lines(), Lines{"SWEEP0.1"});
    EXPECT_EQ(view.cursorOn, view.cursorOff);
}

TEST_F(CommandSetTest, SettledAndAutoCouplingCommands) {
    reply = "ERR\r\n";
    EXPECT_EQ(SendSettledCommand(cmd::kEfAntenna), 0);
    reply = "OK trailing\r\n";
    EXPECT_EQ(SendAutoCoupling(cmd::kVbw), 0) << "only exactly \"OK\" counts";
    reply = "OK\r\n";
    EXPECT_EQ(SendSettledCommand(cmd::kEfAntenna), 1);
    EXPECT_EQ(SendAutoCoupling(cmd::kSweep), 1);
    EXPECT_EQ(SendAutoCoupling(cmd::kFreq), 0);
    const std::vector<std::string> expected = {"EFANTAT11", "EFANTAT11", "EFANTAT11", "EFANTAT11",
                                               "EFANTAT11", "VBWAUTO",   "EFANTAT11", "SWEEPAUTO"};
    EXPECT_EQ(analyzer->lines(), expected) << "five tries while refused";
}

TEST_F(CommandSetTest, VersionTextByTheReplysFirstLetter) {
    // The last row: a short reply gives no version, not old bytes.
    const std::pair<const char*, const char*> cases[] = {{"VER1.05 RVX410", "1.05 RVX410"},
                                                         {"MODEL RVX410 FW:2.10 B", "2.10 B"},
                                                         {"RVX410 FIRMWARE V 3.01", "3.01"},
                                                         {"V", ""}};
    for (const auto& [text, version] : cases) {
        reply = std::string(text) + "\r\n";
        EXPECT_EQ(SendCommand(cmd::kVersion), 1) << text;
        EXPECT_STREQ(gSettings.versionText, version) << text;
    }
}

TEST_F(CommandSetTest, UnopenablePortIsWriteErrorThenTheLinkRecovers) {
    CommPort(portop::kClose);
    ::setenv("ORVEL_COM1", (::testing::TempDir() + "/unplugged").c_str(), 1);
    CommPort(portop::kOpen);
    EXPECT_EQ(gLink.comHandle, -1);
    EXPECT_EQ(SendCommand(cmd::kFreq), 0);
    EXPECT_STREQ(gLink.rxBuffer, "Write error");
    EXPECT_EQ(CheckPresence(), 0);
    ShowCommunicationError();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Communication error: A COM port has not been opened.");
    ::setenv("ORVEL_COM1", analyzer->devicePath().c_str(), 1);
    EXPECT_EQ(SendCommand(cmd::kFreq), 0) << "this write fails; its reconnect finds the port";
    EXPECT_EQ(gLink.comHandle, 1);
    EXPECT_EQ(SendCommand(cmd::kFreq), 1);
    EXPECT_EQ(analyzer->lines(), Lines{"FREQ1000000000.0000"});
}

} // namespace
