// The polling schedule with a real event loop: timer periods, and the guards that keep the poll
// off the port, against an analyzer played by hand that answers "COMP" to every "CAPT".

#include "link_fixtures.h"

namespace {

class PollerTest : public HandPlayedTest {
protected:
    // Capture poll active, its interval, periodic timer active, single shot, its interval.
    std::vector<int> Timers() const {
        const QTimer& capture = poller->capturePollTimer();
        const QTimer& periodic = poller->periodicTimer();
        return {capture.isActive(), capture.interval(), periodic.isActive(),
                periodic.isSingleShot(), periodic.interval()};
    }
    std::string Answer(const std::string& line) override {
        return line == "CAPT" ? "COMP\r\n" : "OK\r\n";
    }
};

TEST(PollingPeriod, FollowsSweepIntervalAndUnchangedTraces) {
    // The last row: an interval a damaged settings file may hold.
    const struct {
        int sweep, interval, unchanged, period;
    } cases[] = {{2, 100, 0, 2000}, {7, 100, 0, 55000}, {7, 100, 10, 110000}, {4, 50, 0, 1500},
                 {5, 150, 3, 9000}, {6, 100, 0, 18000}, {6, -500, 0, 1}};
    for (const auto& c : cases) {
        SetDefaultSettings();
        gSettings.sweepIndex = c.sweep;
        gSettings.intervalSetting = c.interval;
        gSettings.unchangedTraceCount = c.unchanged;
        EXPECT_EQ(PeriodicAcquisitionPeriod(), c.period) << c.sweep << " " << c.interval;
    }
}

TEST_F(PollerTest, RestartChoosesTheTimerByTraceCalculation) {
    RestartPolling(); // no poller: nothing to restart, nothing breaks
    poller = std::make_unique<LinkPoller>();
    EXPECT_EQ(LinkPoller::Active(), poller.get());
    RestartPolling();
    EXPECT_FALSE(poller->capturePollTimer().isSingleShot());
    EXPECT_EQ(Timers(), (std::vector<int>{1, 500, 0, 1, 0}));
    for (int calc : {1, 2, 3}) {
        gSettings.calcIndex = calc;
        gSettings.sweepIndex = 7;
        RestartPolling();
        EXPECT_EQ(Timers(), (std::vector<int>{0, 500, 1, 1, 55000})) << calc;
    }
    gSettings.calcIndex = 4;
    RestartPolling();
    EXPECT_EQ(Timers(), (std::vector<int>{1, 500, 0, 1, 55000}));
    poller->StopPeriodicTimer();
    EXPECT_FALSE(poller->periodicTimer().isActive());
    poller.reset();
    EXPECT_EQ(LinkPoller::Active(), nullptr);
}

TEST_F(PollerTest, HeldOrCompactPollLeavesThePortAlone) {
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
    ASSERT_TRUE(RunUntil([&] { return view.traces == 1; }));
}

TEST_F(PollerTest, PollDoesNotReenterAnExchange) {
    poller = std::make_unique<LinkPoller>();
    gSettings.runState = 1;
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
    EXPECT_EQ(view.traces, 1);
}

} // namespace
