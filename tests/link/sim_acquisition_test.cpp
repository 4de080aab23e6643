// The acquisition loop against the simulated analyzer: modes, the cycle, faults, records cut into.

#include "link_fixtures.h"

namespace {

using SimLoopTest = SimLinkTest;

// One session: held or periodic modes send nothing and a pause quiets a pending capture, asking
// twice when the first empty line goes unanswered; noise before a "COMP", or none, is not taken for
// one; the hidden command entry; the trace kinds of the detailed trace and the field-strength
// modes.
TEST_F(SimLoopTest, QuietModesTheHiddenEntryAndTheTraceKinds) {
    Start({"--fault", "garbage:CAPT#2", "--fault", "drop:EMPTY#2", "--fault", "drop:CAPT#3"});
    for (int calc : {0, 1, 2, 3}) {
        gSettings.runState = calc != 0 ? 1 : 0; // held, then each periodic calculation running
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
    ResumeAcquisition();
    ASSERT_TRUE(sim->waitForLogLine("! garbage"));
    ASSERT_TRUE(RunUntil([] { return PortBytesWaiting() == 0; }));
    EXPECT_EQ(view.traces, 0);
    PauseAcquisition();
    ResumeAcquisition();
    ASSERT_TRUE(sim->waitForLogLine("! drop CAPT"));
    LinkPoller().OnCapturePollTimer();
    EXPECT_EQ(view.traces, 0);
    PauseAcquisition();
    EXPECT_EQ(Received(), (Lines{"CAPT", "", "CAPT", "", "", "CAPT", ""}));
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

// Waits until a record is coming in, and still is 150 ms later.
void WaitUntilRecordHalfIn() {
    ASSERT_TRUE(RunUntil([] { return CurrentLiveState() == LiveState::ReadingScreen; }));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(RunUntil([&] { return clock.elapsed() >= 150; }));
    ASSERT_EQ(CurrentLiveState(), LiveState::ReadingScreen) << "still coming in";
}

// Capture mode, paced: a 251-point record takes about half a second. A panel change mid-record,
// then the setup sheet's close and reopen without a pause mid-record.
TEST_F(SimLoopTest, MidRecordAPanelChangeWaitsForTheRecordAndAReopenedLineIsWatched) {
    Start({"--baud", "19200"});
    poller = std::make_unique<LinkPoller>();
    gSettings.runState = 1;
    // A loaded simulator may pause mid-record: the long profile's gap, not the short one's.
    SetPortTimeouts(portprofile::kLong);
    RestartPolling();
    ResumeAcquisition();
    ASSERT_NO_FATAL_FAILURE(WaitUntilRecordHalfIn());
    // As every panel handler does: the step ends with its "CAPT", which the pause then quiets.
    PauseAcquisition();
    EXPECT_EQ(view.traces, 1) << "the record was finished before the pause returned";
    EXPECT_EQ(view.result, "MEAS OFF");
    EXPECT_DOUBLE_EQ(gSettings.traceRecord.recordCenterFreq, 1e9);
    gSettings.centerFreq = 1.5e9;
    EXPECT_EQ(SendCommand(cmd::kFreq), 1) << gLink.rxBuffer;
    EXPECT_STREQ(gLink.rxBuffer, "OK");
    ResumeAcquisition();
    const Lines wire = {"CAPT", "SRSCURR", "MEASRES", "CAPT", "", "FREQ1500000000.0000", "CAPT"};
    EXPECT_EQ(ReceivedAtLeast(wire.size()), wire);

    // The close without a pause: the step ends on the old line first.
    ASSERT_NO_FATAL_FAILURE(WaitUntilRecordHalfIn());
    CommPort(portop::kClose);
    EXPECT_EQ(std::tuple(view.traces, view.result), std::tuple(2, "MEAS OFF"));
    ReceivedAtLeast(wire.size() + 3);
    EXPECT_EQ(ReceivedSince(wire.size()), Words("SRSCURR MEASRES CAPT"));
    CommPort(portop::kOpen);
    ASSERT_EQ(gLink.comHandle, 1);
    SetPortTimeouts(portprofile::kShort);
    PauseAcquisition();
    // Without timer 5 only the watch on the new descriptor can bring the next step.
    poller.reset();
    ResumeAcquisition();
    ASSERT_TRUE(RunUntil([&] { return view.traces >= 3; }, 3000));

    // Max hold: the same wait mid-record, with no handshake around the panel's command.
    PauseAcquisition();
    std::tie(gSettings.calcIndex, gSettings.intervalSetting) = std::tuple(1, 10); // a 200 ms period
    SetPortTimeouts(portprofile::kLong);
    const size_t mark = Received().size();
    const int traces = view.traces;
    poller = std::make_unique<LinkPoller>();
    RestartPolling();
    ASSERT_NO_FATAL_FAILURE(WaitUntilRecordHalfIn());
    PauseAcquisition();
    EXPECT_EQ(view.traces, traces + 1) << "the record was finished before the pause returned";
    EXPECT_EQ(SendCommand(cmd::kFreq), 1) << gLink.rxBuffer;
    ResumeAcquisition();
    EXPECT_EQ(ReceivedSince(mark), Words("SRSCURR MEASRES FREQ1500000000.0000"));
}

struct FaultCase {
    const char* name;
    std::vector<std::string> fault;
    bool pointsKept; // the record did not reach the trace
    bool carriesOn;  // later cycles bring whole records
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }
};

class FaultDuringAsyncRead : public SimLinkTest, public ::testing::WithParamInterface<FaultCase> {};

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
    EXPECT_EQ(gSettings.traceRecord.tracePoints[250], 0x33) << "the record never came whole";
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
        CommPort(portop::kRead);
        EXPECT_STREQ(gLink.rxBuffer, "Read error");
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
        FaultCase{"stall", {"--fault", "stall:SRSCURR#1", "--stall-ms", "400"}, false, true},
        FaultCase{"hangup", {"--fault", "hangup:SRSCURR#1"}, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
