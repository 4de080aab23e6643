// The acquisition loop against the simulated analyzer: pause and resume around a pending
// capture, the capture and periodic cycles on the wire, the hidden command entry, and the faults
// of the synchronous exchanges (those during the live loop's own reads are in its test).

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
    EXPECT_EQ(RunHiddenCommand("hide"), 0);
    EXPECT_EQ(RunHiddenCommand("VER"), 1);
    EXPECT_STREQ(gLink.rxBuffer, "VER1.05 RVX410");
    EXPECT_EQ(RunHiddenCommand(std::string(2000, 'X').c_str()), 1);
    // "hide" sends nothing; the long entry is cut to fit with its CR LF.
    EXPECT_EQ(ReceivedSince(2), (Lines{"VER", std::string(kTxBufferSize - 3, 'X')}));

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
    EXPECT_EQ(ReceivedSince(4), Words("SRSCURR MEASRES SRSF MEASRES SRSF MEASRES"));
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

TEST_F(SimLoopTest, GarbageBeforeRepliesKeepsTheRecord) {
    Start({"--fault", "garbage:REF?", "--fault", "garbage:SRSCURR#2"});
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
}

TEST_F(SimLoopTest, StalledRecordKeepsWhatArrivedAndTheLinkCarriesOn) {
    Start({"--fault", "stall:SRSF", "--stall-ms", "400"});
    std::memset(gSettings.traceRecord.tracePoints, 0x11, sizeof gSettings.traceRecord.tracePoints);
    EXPECT_EQ(SendCommand(cmd::kScreenFull), 1);
    EXPECT_LT(gLink.rxLength, 3000) << "the read ended at the stall";
    EXPECT_EQ(gSettings.traceRecord.tracePoints[1000], 0x11) << "the missing points keep theirs";
    ASSERT_TRUE(sim->waitForLogLine("! stall"));
    // The tail arrives later; a pause drains it, and the next exchanges work.
    gSettings.runState = 0;
    SimProcess::waitFor([] { return PortBytesWaiting() != 0; }, std::chrono::milliseconds(2000));
    while (PortBytesWaiting() != 0) {
        PauseAcquisition();
    }
    EXPECT_EQ(SendCommand(query::kFreq), 1);
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1e9);
}

} // namespace
