// The acquisition loop against the simulated analyzer: pause and resume, the periodic cycle, the
// faults of the exchanges, and the live loop's reads with a user exchange or the line reopened.

#include "link_fixtures.h"

namespace {

using orvel::test::SimProcess;

using SimLoopTest = SimLinkTest;

TEST_F(SimLoopTest, PauseTriesTwiceWhenTheEmptyLineGoesUnanswered) {
    Start({"--fault", "drop:EMPTY#1"});
    gSettings.runState = 1;
    gSettings.sweepIndex = 7; // a 30 s capture stays pending throughout
    SendCommand(cmd::kSweep);
    ResumeAcquisition();
    PauseAcquisition();
    EXPECT_EQ(Received(), (Lines{"SWEEP30", "CAPT", "", ""}));
    EXPECT_TRUE(sim->waitForLogLine("> ERR"));
}

// One session: held or periodic modes send nothing and a pause quiets a pending capture; the
// hidden command entry; the trace kinds of the detailed trace and the field-strength modes.
TEST_F(SimLoopTest, QuietModesTheHiddenEntryAndTheTraceKinds) {
    Start();
    PauseAcquisition();
    ResumeAcquisition();
    gSettings.runState = 1;
    for (int calc : {1, 2, 3}) {
        gSettings.calcIndex = calc;
        PauseAcquisition();
        ResumeAcquisition();
    }
    EXPECT_TRUE(Received().empty());
    gSettings.calcIndex = 4;
    ResumeAcquisition();
    EXPECT_EQ(CapturePending(), 1);
    ASSERT_TRUE(sim->waitForLogLine("> COMP"));
    PauseAcquisition(); // drains the "COMP", then one empty line answered "ERR"
    EXPECT_EQ(CapturePending(), 0);
    EXPECT_EQ(Received(), (Lines{"CAPT", ""}));
    EXPECT_EQ(PortBytesWaiting(), 0);

    gSettings.runState = 0;
    gSettings.calcIndex = 0;
    const size_t beforeEntry = Received().size();
    EXPECT_EQ(RunHiddenCommand("hide"), 0);
    EXPECT_EQ(RunHiddenCommand("VER"), 1);
    EXPECT_STREQ(gLink.rxBuffer, "VER1.05 RVX410");
    EXPECT_EQ(RunHiddenCommand(std::string(2000, 'X').c_str()), 1);
    // "hide" sends nothing; the long entry is cut to fit with its CR LF.
    EXPECT_EQ(ReceivedSince(beforeEntry), (Lines{"VER", std::string(kTxBufferSize - 3, 'X')}));

    const size_t beforeSteps = Received().size();
    gSettings.measureIndex = 5;
    gSettings.probeIndex = 1;
    AcquireStep();
    EXPECT_EQ(gSettings.traceKind[1], 27);
    gSettings.detailedTrace = 1;
    AcquireStep();
    EXPECT_EQ(gSettings.traceKind[1], 17);
    gSettings.measureIndex = 4;
    gSettings.antennaIndex = 6;
    AcquireStep();
    EXPECT_EQ(gSettings.traceKind[1], 38);
    EXPECT_EQ(ReceivedSince(beforeSteps), Words("SRSCURR MEASRES SRSF MEASRES SRSF MEASRES"));
}

TEST_F(SimLoopTest, PeriodicCycleReadsWithoutCapture) {
    Start();
    poller = std::make_unique<LinkPoller>();
    gSettings.runState = 1;
    gSettings.calcIndex = 1;
    gSettings.intervalSetting = 10; // a 200 ms period
    RestartPolling();
    // The second step has ended once its result is in and timer 1 is armed again.
    ASSERT_TRUE(RunUntil([&] { return view.traces >= 2 && !LiveReadInFlight(); }));
    EXPECT_TRUE(poller->periodicTimer().isActive()) << "re-armed after each acquisition";
    EXPECT_EQ(poller->periodicTimer().interval(), PeriodicAcquisitionPeriod()) << "the period now";
    const auto lines = Received();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 4), Words("SRSCURR MEASRES SRSCURR MEASRES"));
    const int traces = view.traces;
    gSettings.compactMode = 1;
    poller->OnPeriodicTimer();
    EXPECT_EQ(view.traces, traces) << "compact mode skips the acquisition";
    EXPECT_TRUE(poller->periodicTimer().isActive());
}

TEST_F(SimLoopTest, DroppedOrGarbledCompLeavesTheDisplayAlone) {
    Start({"--fault", "drop:CAPT#1", "--fault", "garbage:CAPT#2"});
    poller = std::make_unique<LinkPoller>();
    gSettings.runState = 1;
    ResumeAcquisition();
    ASSERT_TRUE(sim->waitForLogLine("! drop"));
    poller->OnCapturePollTimer();
    EXPECT_EQ(view.traces, 0);
    ResumeAcquisition();
    ASSERT_TRUE(sim->waitForLogLine("! garbage"));
    ASSERT_TRUE(RunUntil([] { return PortBytesWaiting() == 0; }));
    EXPECT_EQ(view.traces, 0) << "a COMP behind line noise is not taken for one";
    gSettings.runState = 0;
    PauseAcquisition();
}

// Garbage before a reply keeps the record; a stalled one keeps what arrived, and after a drain
// the link works.
TEST_F(SimLoopTest, GarbageOrAStallInTheReplyKeepsTheRecordAndTheLinkCarriesOn) {
    Start({"--fault", "garbage:REF?", "--fault", "garbage:SRSCURR#2", "--fault", "stall:SRSF",
           "--stall-ms", "400"});
    SetPortTimeouts(portprofile::kLong);
    gSettings.refLevel = -7;
    EXPECT_EQ(SendCommand(query::kRef), 1);
    EXPECT_EQ(gSettings.refLevel, -7);
    ASSERT_EQ(SendCommand(cmd::kScreenCurrent), 1);
    TraceRecord before = gSettings.traceRecord;
    gSettings.centerFreq = 1.3e9;
    SendCommand(cmd::kFreq);
    SendCommand(cmd::kScreenCurrent);
    EXPECT_EQ(std::memcmp(&before, &gSettings.traceRecord, sizeof before), 0);

    SetPortTimeouts(portprofile::kShort);
    std::memset(gSettings.traceRecord.tracePoints, 0x11, sizeof gSettings.traceRecord.tracePoints);
    EXPECT_EQ(SendCommand(cmd::kScreenFull), 1);
    EXPECT_LT(gLink.rxLength, 3000) << "the read ended at the stall";
    EXPECT_EQ(gSettings.traceRecord.tracePoints[1000], 0x11) << "the missing points keep theirs";
    ASSERT_TRUE(sim->waitForLogLine("! stall"));
    gSettings.runState = 0;
    SimProcess::waitFor([] { return PortBytesWaiting() != 0; }, std::chrono::milliseconds(2000));
    while (PortBytesWaiting() != 0) {
        PauseAcquisition();
    }
    gSettings.centerFreq = 2e9;
    EXPECT_EQ(SendCommand(query::kFreq), 1);
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1.3e9);
}

class LiveLoopTest : public SimLinkTest {
protected:
    // Runs the loop (capture unless `calc`) until a record is coming in, `afterMs` after asking.
    void RunUntilRecordHalfIn(int calc, int afterMs) {
        poller = std::make_unique<LinkPoller>();
        gSettings.runState = 1;
        gSettings.calcIndex = calc;
        gSettings.intervalSetting = 10; // a 200 ms period
        // A loaded simulator may pause mid-record: the long profile's gap, not the short one's.
        SetPortTimeouts(portprofile::kLong);
        RestartPolling();
        ResumeAcquisition();
        ASSERT_TRUE(RunUntil([] { return CurrentLiveState() == LiveState::ReadingScreen; }));
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(RunUntil([&] { return clock.elapsed() >= afterMs; }));
        ASSERT_EQ(CurrentLiveState(), LiveState::ReadingScreen) << "still coming in";
    }
};

// The calculation of the trace: 0 capture mode, 1 max hold.
class PanelChangeMidRecord : public LiveLoopTest, public ::testing::WithParamInterface<int> {};

TEST_P(PanelChangeMidRecord, WaitsForTheRecordThenSendsExactlyItsOwnTraffic) {
    const Lines wires[] = {
        // Capture mode: the step ends with its "CAPT", which the pause then quiets.
        {"CAPT", "SRSCURR", "MEASRES", "CAPT", "", "FREQ1500000000.0000", "CAPT"},
        // Max hold: no handshake; pause and resume leave the line alone.
        {"SRSCURR", "MEASRES", "FREQ1500000000.0000"}};
    Start({"--baud", "19200"}); // paced: a 251-point record takes about half a second
    ASSERT_NO_FATAL_FAILURE(RunUntilRecordHalfIn(GetParam(), 150));
    // A panel change, as every handler makes it.
    PauseAcquisition();
    EXPECT_EQ(view.traces, 1) << "the record was finished before the pause returned";
    EXPECT_EQ(view.result, "MEAS OFF");
    EXPECT_DOUBLE_EQ(gSettings.traceRecord.recordCenterFreq, 1e9);
    gSettings.centerFreq = 1.5e9;
    EXPECT_EQ(SendCommand(cmd::kFreq), 1) << gLink.rxBuffer;
    EXPECT_STREQ(gLink.rxBuffer, "OK");
    ResumeAcquisition();
    const Lines& wire = wires[GetParam()];
    EXPECT_EQ(ReceivedAtLeast(wire.size()), wire);
}

INSTANTIATE_TEST_SUITE_P(Modes, PanelChangeMidRecord, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "Capture" : "MaxHold"; });

struct FaultCase {
    const char* name;
    std::vector<std::string> fault;
    bool pointsKept; // the record did not reach the trace
    bool carriesOn;  // later cycles bring whole records
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }
};

class FaultDuringAsyncRead : public LiveLoopTest,
                             public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultDuringAsyncRead, EndsTheReadByItsRulesAndTheLoopCarriesOn) {
    const FaultCase& c = GetParam();
    Start(c.fault);
    ::setenv("ORVEL_COM1", (::testing::TempDir() + "/unplugged").c_str(), 1);
    std::memset(gSettings.traceRecord.tracePoints, 0x33, sizeof gSettings.traceRecord.tracePoints);
    poller = std::make_unique<LinkPoller>();
    gSettings.runState = 1;
    RestartPolling();
    ResumeAcquisition();
    ASSERT_TRUE(RunUntil([&] { return !view.result.empty(); })) << c.name;
    EXPECT_EQ(gSettings.traceRecord.tracePoints[0] == 0x33, c.pointsKept) << c.name;
    EXPECT_EQ(view.traces, 1);
    EXPECT_EQ(gSettings.traceKind[1], 0) << "the kind is set all the same";
    if (c.carriesOn) {
        ASSERT_TRUE(RunUntil([&] { return view.traces >= 3; })) << c.name;
        EXPECT_NE(gSettings.traceRecord.tracePoints[250], 0x33) << "whole records again";
        EXPECT_EQ(view.result, "MEAS OFF");
    } else {
        // A dead line: the loop idles; polls, writes and reconnects fail, nothing spins or hangs.
        EXPECT_EQ(view.result, "Write error");
        EXPECT_EQ(CurrentLiveState(), LiveState::Idle);
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            poller->OnCapturePollTimer();
        }
        EXPECT_EQ(view.traces, 1);
        EXPECT_EQ(SendCommand(cmd::kFreq), 0);
        EXPECT_EQ(CheckPresence(), 0);
        ShowCommunicationError();
        EXPECT_EQ(view.messages, Lines{"Communication error: A COM port has not been opened."});
    }
    gSettings.runState = 0;
    PauseAcquisition();
    EXPECT_LT(gLink.rxLength, kRxBufferSize);
}

INSTANTIATE_TEST_SUITE_P(
    SimulatorFaults, FaultDuringAsyncRead,
    ::testing::Values(
        FaultCase{"drop", {"--fault", "drop:SRSCURR#1"}, true, true},
        FaultCase{"err", {"--fault", "err:SRSCURR#1"}, true, true},
        // The garbage holds a NUL: the text ends there.
        FaultCase{"garbage", {"--fault", "garbage:SRSCURR#1"}, true, true},
        FaultCase{"stall", {"--fault", "stall:SRSCURR#1", "--stall-ms", "400"}, false, true},
        FaultCase{"hangup", {"--fault", "hangup:SRSCURR#1"}, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LiveLoopTest, RawUseWithoutPauseFinishesTheRecordAndTheNewLineIsWatched) {
    Start({"--baud", "19200"});
    ASSERT_NO_FATAL_FAILURE(RunUntilRecordHalfIn(0, 100));
    // The setup sheet's close and reopen without a pause: the step ends on the old line first.
    CommPort(portop::kClose);
    EXPECT_EQ(view.traces, 1);
    EXPECT_EQ(view.result, "MEAS OFF");
    EXPECT_EQ(ReceivedAtLeast(4), (std::vector<std::string>{"CAPT", "SRSCURR", "MEASRES", "CAPT"}));
    CommPort(portop::kOpen);
    ASSERT_EQ(gLink.comHandle, 1);
    SetPortTimeouts(portprofile::kShort);
    PauseAcquisition();
    // Without timer 5 only the watch on the new descriptor can bring the next step.
    poller.reset();
    ResumeAcquisition();
    ASSERT_TRUE(RunUntil([&] { return view.traces >= 2; }, 3000));
}

TEST_F(LiveLoopTest, AfterThePauseNothingOfTheLoopReadsThePort) {
    Start();
    poller = std::make_unique<LinkPoller>(); // timers not started: only the watch could read
    gSettings.runState = 1;
    ResumeAcquisition();
    ASSERT_TRUE(RunUntil([&] { return view.traces >= 1; }));
    PauseAcquisition();
    // A raw exchange of its own, read later, as the hard copy window does from its timer.
    std::snprintf(gLink.txBuffer, kTxBufferSize, "VER\r\n");
    ASSERT_GT(WriteTxBuffer(), 0);
    QElapsedTimer clock;
    clock.start();
    RunUntil([&] { return clock.elapsed() >= 150; });
    EXPECT_EQ(PortBytesWaiting(), 1) << "the reply waits for its own reader";
    CommPort(portop::kRead);
    EXPECT_STREQ(gLink.rxBuffer, "VER1.05 RVX410");
}

} // namespace
