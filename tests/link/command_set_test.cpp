// Against an analyzer played by hand: replies, command texts, the reconnect, the poller's timers.

#include "link_fixtures.h"

#include <tuple>

namespace {

std::string Text(int code) {
    char out[kTxBufferSize];
    BuildCommandText(code, out, sizeof out);
    return out;
}

using CommandSetTest = HandPlayedTest;

// The reply checks; a refused or unanswered query leaves its field as the caller stored it.
TEST_F(CommandSetTest, OkInAnyCaseAcceptsErrInAnyCaseAndSilenceRefuse) {
    // {reply, command, result}
    const std::tuple<const char*, int, int> cases[] = {{"ok", cmd::kFreq, 1},
                                                       {"NG", cmd::kFreq, 0},
                                                       {"eRr:range", cmd::kFreq, 0},
                                                       {"Err", cmd::kMeasRes, 0},
                                                       {"CP:-20.05dBm", cmd::kMeasRes, 1},
                                                       {"ERR", query::kSpan, 0}};
    gSettings.spanIndex = 3;
    for (const auto& [text, code, result] : cases) {
        reply = std::string(text) + "\r\n";
        EXPECT_EQ(SendCommand(code), result) << text;
        EXPECT_STREQ(gLink.rxBuffer, text);
    }
    EXPECT_EQ(
        analyzer->lines(),
        Words("FREQ1000000000.0000 FREQ1000000000.0000 FREQ1000000000.0000 MEASRES MEASRES SPAN?"));
    EXPECT_EQ(std::tuple(view.cursorOn, view.cursorOff, gSettings.spanIndex), std::tuple(6, 6, 3));
    gSettings.refLevel = 50;
    reply = "";
    gSettings.timeOutSetting = 10; // silence ends at the short total time-out
    SetPortTimeouts(portprofile::kShort);
    EXPECT_EQ(SendCommand(query::kRef), 0);
    EXPECT_STREQ(gLink.rxBuffer, "Read error");
    EXPECT_EQ(gSettings.refLevel, 50) << "the record keeps what the caller stored";
    // The version by the reply's first letter ("VER1.05 RVX420" is read in All Reading); a short
    // reply gives no version, not old bytes.
    const std::pair<const char*, const char*> versions[] = {
        {"MODEL RVX410 FW:2.10 B", "2.10 B"}, {"RVX410 FIRMWARE V 3.01", "3.01"}, {"V", ""}};
    for (const auto& [text, version] : versions) {
        reply = std::string(text) + "\r\n";
        EXPECT_EQ(SendCommand(cmd::kVersion), 1) << text;
        EXPECT_STREQ(gSettings.versionText, version) << text;
    }
}

TEST_F(CommandSetTest, UnknownSettledAndAutoCouplingCommandsAnUnopenablePortAndTheTexts) {
    EXPECT_EQ(SendCommand(153), 0);
    gSettings.sweepIndex = 8;
    EXPECT_EQ(SendCommand(cmd::kSweep), 0) << "unknown codes and indexes send nothing";
    gSettings.sweepIndex = 2;
    EXPECT_EQ(SendCommand(cmd::kSweep), 1);
    reply = "ERR\r\n";
    EXPECT_EQ(SendSettledCommand(cmd::kEfAntenna), 0);
    reply = "OK trailing\r\n";
    EXPECT_EQ(SendAutoCoupling(cmd::kVbw), 0) << "only exactly \"OK\" counts";
    reply = "OK\r\n";
    EXPECT_EQ(SendSettledCommand(cmd::kEfAntenna), 1);
    EXPECT_EQ(SendAutoCoupling(cmd::kSweep), 1);
    EXPECT_EQ(SendAutoCoupling(cmd::kFreq), 0);
    EXPECT_EQ(view.cursorOn, view.cursorOff);
    // The failed open, its "Write error", presence and message box are judged in SerialPortOpen and
    // StartupTest; here the reconnect of the next write.
    CommPort(portop::kClose);
    EXPECT_EQ(gLink.comHandle, 1) << "close keeps the handle value";
    ::setenv("ORVEL_COM1", (::testing::TempDir() + "/unplugged").c_str(), 1);
    CommPort(portop::kOpen);
    EXPECT_EQ(SendCommand(cmd::kFreq), 0);
    ::setenv("ORVEL_COM1", analyzer->devicePath().c_str(), 1);
    EXPECT_EQ(SendCommand(cmd::kFreq), 0) << "this write fails; its reconnect finds the port";
    EXPECT_EQ(gLink.comHandle, 1);
    EXPECT_EQ(SendCommand(cmd::kFreq), 1);
    EXPECT_EQ(analyzer->lines(), Words("SWEEP0.1 EFANTAT11 EFANTAT11 EFANTAT11 EFANTAT11 EFANTAT11 "
                                       "VBWAUTO EFANTAT11 SWEEPAUTO FREQ1000000000.0000"))
        << "five tries while refused";
    // Texts no wire test reaches (the RVX410's full span is walked in ControlPanelSim, every query
    // in All Reading): a whole offset, range ends, bad indexes, unknown codes.
    // clang-format off
    const std::tuple<int, double, const char*> cases[] = {
        {cmd::kOffset, 12.0, "OFFSET12.0\r\n"},
        {cmd::kPeakSearch, 11, "PKSEARCH12\r\n"},
        {cmd::kObwMode, 0, "OBWMODEN%\r\n"},
        {cmd::kSpan, 15, ""}, // RVX410 has no 15
        {cmd::kRbw, -1, ""},
        {cmd::kImpedance, 2, ""}};
    // clang-format on
    for (const auto& [code, value, text] : cases) {
        SetDefaultSettings();
        const fields::SettingField* f = fields::byCommand(code);
        ASSERT_NE(f, nullptr) << code;
        SetField(*f, value);
        EXPECT_EQ(Text(code), text) << code;
    }
    gSettings.modelIndex = 1;
    gSettings.spanIndex = 14;
    EXPECT_EQ(Text(cmd::kSpan), "SPAN5G\r\n") << "the RVX420's own row";
    gSettings.runState = 1;
    EXPECT_EQ(Text(cmd::kRunHold), "RUN\r\n");
    for (int code : {99, 120, 122, 132, 140, 147, 148, 151, 153, 199, 239})
        EXPECT_EQ(Text(code), "") << code;
}

class PollerTest : public HandPlayedTest {
protected:
    // Capture poll active, single shot, its interval; periodic timer active, single shot, interval.
    std::vector<int> Timers() const {
        const QTimer& capture = poller->capturePollTimer();
        const QTimer& periodic = poller->periodicTimer();
        return {capture.isActive(),  capture.isSingleShot(),  capture.interval(),
                periodic.isActive(), periodic.isSingleShot(), periodic.interval()};
    }
    std::string Answer(const std::string& line) override {
        return line == "CAPT" ? "COMP\r\n" : "OK\r\n";
    }
};

TEST_F(PollerTest, TimersByTraceCalculationThePeriodAndAPollThatLeavesThePortAlone) {
    RestartPolling(); // no poller: nothing to restart, nothing breaks
    poller = std::make_unique<LinkPoller>();
    EXPECT_EQ(LinkPoller::Active(), poller.get());
    RestartPolling();
    EXPECT_EQ(Timers(), (std::vector<int>{1, 0, 500, 0, 1, 0}));
    for (int calc : {1, 2, 3}) {
        gSettings.calcIndex = calc;
        gSettings.sweepIndex = 7;
        RestartPolling();
        EXPECT_EQ(Timers(), (std::vector<int>{0, 0, 500, 1, 1, 55000})) << calc;
    }
    gSettings.calcIndex = 4;
    RestartPolling();
    EXPECT_EQ(Timers(), (std::vector<int>{1, 0, 500, 0, 1, 55000}));
    poller->StopPeriodicTimer();
    EXPECT_FALSE(poller->periodicTimer().isActive());
    poller.reset();
    EXPECT_EQ(LinkPoller::Active(), nullptr);
    // The period; the last row: an interval a damaged settings file may hold.
    // {sweep index, interval, unchanged traces, period}
    const int periods[][4] = {{2, 100, 0, 2000}, {7, 100, 0, 55000}, {7, 100, 10, 110000},
                              {4, 50, 0, 1500},  {5, 150, 3, 9000},  {6, 100, 0, 18000},
                              {6, -500, 0, 1}};
    for (const auto& [sweep, interval, unchanged, period] : periods) {
        SetDefaultSettings();
        gSettings.sweepIndex = sweep;
        gSettings.intervalSetting = interval;
        gSettings.unchangedTraceCount = unchanged;
        EXPECT_EQ(PeriodicAcquisitionPeriod(), period) << sweep << " " << interval;
    }

    // Held, compact, or inside an exchange: the poll leaves a waiting "COMP" on the port.
    SetDefaultSettings();
    poller = std::make_unique<LinkPoller>();
    analyzer->Send("COMP\r\n");
    ASSERT_TRUE(RunUntil([] { return PortBytesWaiting() == 1; }));
    poller->OnCapturePollTimer();
    EXPECT_EQ(PortBytesWaiting(), 1) << "held: the port is not read";
    gSettings.runState = 1;
    gSettings.compactMode = 1;
    poller->OnCapturePollTimer();
    EXPECT_EQ(PortBytesWaiting(), 1) << "compact: the port is not read";
    gSettings.compactMode = 0;
    poller->OnCapturePollTimer();
    ASSERT_TRUE(RunUntil([&] { return view.traces == 1 && !LiveReadInFlight(); }));
    view.onTrace = [&] {
        // A nested event loop inside the view: a "COMP" is waiting, yet nothing may read it.
        analyzer->Send("COMP\r\n");
        ASSERT_TRUE(RunUntil([] { return PortBytesWaiting() == 1; }));
        poller->OnCapturePollTimer();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(PortBytesWaiting(), 1);
    };
    AcquireStep();
    view.onTrace = nullptr;
    EXPECT_EQ(view.traces, 2);
}

} // namespace
