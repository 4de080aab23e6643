// The polling schedule with a real event loop: timer periods, the capture cycle driven by the
// analyzer's "COMP", the early wake-up, and the guards that keep the poll off the port.

#include "acquisition.h"
#include "command_codes.h"
#include "field_changes.h"
#include "hand_played_analyzer.h"
#include "instrument_settings.h"
#include "link_poller.h"
#include "link_state.h"
#include "serial_port.h"
#include "use_com_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "event_loop_wait.h"
#include <string>

namespace {

using orvel::test::HandPlayedAnalyzer;

const std::string kRecord =
    "MODEL RVX410\r\nCURR\r\nCF 1000000000.0000Hz\r\nSP 20M\r\nRF 10\r\nUNIT dBm\r\n"
    "ST 0.1 POS\r\nRB 100K\r\nVB 10K\r\nSC 10\r\nTRACE\r\n" +
    [] {
        std::string points;
        for (int i = 0; i < 251; ++i) {
            points += "C8";
            points += (i % 25 == 24 || i == 250) ? "\r\n" : ",";
        }
        return points;
    }();

// Answers like an analyzer in capture mode: "COMP" for "CAPT", a record, a result, "ERR" to an
// empty line.
std::string Analyzer(const std::string& line) {
    if (line == "CAPT") {
        return "COMP\r\n";
    }
    if (line == "SRSCURR" || line == "SRSF") {
        return kRecord;
    }
    if (line == "MEASRES") {
        return "MEAS OFF\r\n";
    }
    if (line.empty()) {
        return "ERR\r\n";
    }
    return "OK\r\n";
}

struct CountingView {
    int traces = 0;
    std::string result;
    std::function<void()> duringTraces;
    void Changed(FieldSet changed) {
        if (changed.Any(Field::Result)) {
            result = gLink.rxBuffer;
        }
        if (changed.Any(Field::Trace)) {
            ++traces;
            if (duringTraces) {
                duringTraces();
            }
        }
    }
};

class PollerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        UseComPort(analyzer.devicePath());
        CommPort(portop::kOpen);
        ASSERT_EQ(gLink.comHandle, 1);
        SetPortTimeouts(portprofile::kShort);
        SetChangeListener([this](FieldSet changed) { view.Changed(changed); });
    }
    void TearDown() override {
        SetChangeListener(nullptr);
        CommPort(portop::kClose);
    }
    int argc = 1;
    char name[8] = "test";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    HandPlayedAnalyzer analyzer{Analyzer};
    CountingView view;
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
    LinkPoller poller;
    EXPECT_EQ(LinkPoller::Active(), &poller);
    RestartPolling();
    EXPECT_TRUE(poller.capturePollTimer().isActive());
    EXPECT_EQ(poller.capturePollTimer().interval(), 500);
    EXPECT_FALSE(poller.capturePollTimer().isSingleShot());
    EXPECT_FALSE(poller.periodicTimer().isActive());
    for (int calc : {1, 2, 3}) {
        gSettings.calcIndex = calc;
        gSettings.sweepIndex = 7;
        RestartPolling();
        EXPECT_TRUE(poller.periodicTimer().isActive()) << calc;
        EXPECT_TRUE(poller.periodicTimer().isSingleShot());
        EXPECT_EQ(poller.periodicTimer().interval(), 55000);
        EXPECT_FALSE(poller.capturePollTimer().isActive());
    }
    gSettings.calcIndex = 4;
    RestartPolling();
    EXPECT_TRUE(poller.capturePollTimer().isActive());
    EXPECT_FALSE(poller.periodicTimer().isActive());
    poller.StopPeriodicTimer();
    EXPECT_FALSE(poller.periodicTimer().isActive());
}

TEST_F(PollerTest, PeriodicModeReadsTheScreenWithoutCapture) {
    LinkPoller poller;
    gSettings.runState = 1;
    gSettings.calcIndex = 1;
    poller.OnPeriodicTimer();
    // The step runs from the event loop; timer 1 is re-armed once it has ended.
    ASSERT_TRUE(RunUntil([&] { return poller.periodicTimer().isActive(); }));
    EXPECT_EQ(view.traces, 1);
    EXPECT_EQ(poller.periodicTimer().interval(), 2000);
    ResumeAcquisition();
    PauseAcquisition();
    EXPECT_EQ(analyzer.lines(), (std::vector<std::string>{"SRSCURR", "MEASRES"}));
    gSettings.compactMode = 1;
    poller.OnPeriodicTimer();
    EXPECT_EQ(view.traces, 1) << "compact mode skips the acquisition";
    EXPECT_TRUE(poller.periodicTimer().isActive());
}

TEST_F(PollerTest, HeldOrCompactPollLeavesThePortAlone) {
    LinkPoller poller;
    analyzer.Send("COMP\r\n");
    ASSERT_TRUE(RunUntil([] { return PortBytesWaiting() == 1; }));
    poller.OnCapturePollTimer();
    EXPECT_EQ(PortBytesWaiting(), 1) << "held: the port is not read";
    gSettings.runState = 1;
    gSettings.compactMode = 1;
    poller.OnCapturePollTimer();
    EXPECT_EQ(PortBytesWaiting(), 1) << "compact: the port is not read";
    gSettings.compactMode = 0;
    poller.OnCapturePollTimer();
    ASSERT_TRUE(RunUntil([&] { return view.traces == 1; }));
}

TEST_F(PollerTest, PollDoesNotReenterAnExchange) {
    LinkPoller poller;
    gSettings.runState = 1;
    view.duringTraces = [&] {
        // A nested event loop inside the view: a "COMP" is waiting, yet nothing may read it.
        analyzer.Send("COMP\r\n");
        ASSERT_TRUE(RunUntil([] { return PortBytesWaiting() == 1; }));
        poller.OnCapturePollTimer();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(PortBytesWaiting(), 1);
    };
    AcquireStep();
    view.duringTraces = nullptr;
    EXPECT_EQ(view.traces, 1);
}

TEST_F(PollerTest, NoPollerNoTimers) {
    RestartPolling(); // nothing to restart, nothing breaks
    {
        LinkPoller poller;
        EXPECT_EQ(LinkPoller::Active(), &poller);
    }
    EXPECT_EQ(LinkPoller::Active(), nullptr);
}

} // namespace
