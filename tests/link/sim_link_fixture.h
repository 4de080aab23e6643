#pragma once
// The link against the simulated analyzer on a real pseudo-terminal, with its wire log.

#include "instrument_settings.h"
#include "link_state.h"
#include "link_view.h"
#include "serial_port.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// Records what the link asks of the view.
struct RecordingView : LinkView {
    std::vector<int> readSettings;
    std::vector<int> clearedAutoBoxes;
    std::vector<std::string> messages;
    int allSettingsShown = 0;
    int remoteChecked = -1;
    int traces = 0;
    int frequencyAxis = 0;
    int levelAxis = 0;
    int cursorOn = 0;
    int cursorOff = 0;
    std::string result;
    int detailedChecked = 0;

    void SetWaitCursor(bool on) override { (on ? cursorOn : cursorOff)++; }
    void ShowMessage(MessageIcon, const char* caption, const char* text, bool) override {
        messages.push_back(std::string(caption) + ": " + text);
    }
    int DetailedTraceChecked() override { return detailedChecked; }
    void UpdateTraces() override { ++traces; }
    void ShowMeasurementResult(const char* text) override { result = text; }
    void ShowReadSetting(int code) override { readSettings.push_back(code); }
    void ShowAllSettings() override { ++allSettingsShown; }
    void UpdateFrequencyAxis() override { ++frequencyAxis; }
    void UpdateLevelAxis() override { ++levelAxis; }
    void SetRemoteChecked(int on) override { remoteChecked = on; }
    void ClearAutoBox(int code) override { clearedAutoBoxes.push_back(code); }
};

class SimLinkTest : public ::testing::Test {
protected:
    // Starts the simulator with `args` (unpaced unless asked) and opens the port on it.
    void Start(std::vector<std::string> args = {}) {
        if (std::find(args.begin(), args.end(), "--baud") == args.end()) {
            args.push_back("--no-pace");
        }
        sim = std::make_unique<orvel::test::SimProcess>(args);
        ASSERT_TRUE(sim->started()) << sim->error();
        SetDefaultSettings();
        ::setenv("ORVEL_COM1", sim->devicePath().c_str(), 1);
        CommPort(portop::kOpen);
        ASSERT_EQ(gLink.comHandle, 1);
        SetPortTimeouts(portprofile::kLong);
        SetLinkView(&view);
    }
    void TearDown() override {
        SetLinkView(nullptr);
        CommPort(portop::kClose);
        sim.reset();
    }
    // The command lines the simulator received, in order (without CR LF).
    std::vector<std::string> Received() const { return sim->received(); }
    // Received() once at least `count` lines are in the log (lines left unanswered may be logged
    // a moment after the link has moved on).
    std::vector<std::string> ReceivedAtLeast(size_t count) const {
        orvel::test::SimProcess::waitFor([&] { return sim->received().size() >= count; });
        return sim->received();
    }

    std::unique_ptr<orvel::test::SimProcess> sim;
    RecordingView view;
};
