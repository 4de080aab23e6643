#pragma once
// The link on a real pseudo-terminal as COM1: an analyzer played by hand, or the simulator.

#include "acquisition.h"
#include "command_set.h"
#include "event_loop_wait.h"
#include "field_changes.h"
#include "hand_played_analyzer.h"
#include "instrument_settings.h"
#include "link_poller.h"
#include "link_state.h"
#include "link_view.h"
#include "live_link.h"
#include "serial_port.h"
#include "setting_fields.h"
#include "sim_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

// The words of a text separated by single spaces, as a list of lines.
inline Lines Words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// A screen record's labels: centre, span, ref, unit bits, kind, sweep, detector, RBW, VBW, scale.
inline std::vector<double> RecordLabels(const TraceRecord& r) {
    return {r.recordCenterFreq,
            double(r.recordSpanIndex),
            double(r.recordRefLevel),
            double(r.recordUnitBits),
            double(r.recordKind),
            double(r.recordSweepIndex),
            double(r.recordDetectorIndex),
            double(r.recordRbwIndex),
            double(r.recordVbwIndex),
            double(r.recordScaleIndex)};
}

// A field of the settings record by its row of the field table.
inline double GetField(const fields::SettingField& f) {
    return f.number != nullptr ? gSettings.*f.number : gSettings.*f.integer;
}
inline void SetField(const fields::SettingField& f, double value) {
    if (f.number != nullptr)
        gSettings.*f.number = value;
    else
        gSettings.*f.integer = static_cast<int>(value);
}

// Points "COM1" at `path` and selects it, with the link settings at their defaults.
inline void UseComPort(const std::string& path) {
    ::setenv("ORVEL_COM1", path.c_str(), 1);
    gSettings.comPortIndex = 0;
    gSettings.baudIndex = 3;
    gSettings.timeOutSetting = 100;
    gSettings.intervalSetting = 100;
    gSettings.activeTraceSlot = 1;
}

// Records what the link asks of the view and what it announces.
struct RecordingView : LinkView {
    std::vector<FieldSet> readSettings; // the announcements of values read back
    int autoOff = 0;
    int remoteChecked = -1;
    int traces = 0;
    int cursorOn = 0;
    int cursorOff = 0;
    std::string result;
    std::function<void()> onTrace; // runs inside the announcement of a trace

    void SetWaitCursor(bool on) override { (on ? cursorOn : cursorOff)++; }
    void Changed(FieldSet changed) {
        if (changed.Any(Field::FromAnalyzer))
            readSettings.push_back(changed);
        if (changed.Any(Field::Remote))
            remoteChecked = gSettings.remoteState;
        autoOff += changed.Any(Field::AutoOff) ? 1 : 0;
        if (changed.Any(Field::Trace)) {
            ++traces;
            if (onTrace)
                onTrace();
        }
        if (changed.Any(Field::Result))
            result = gLink.rxBuffer;
    }
};

// What both fixtures share: the recording view attached to the link, an event loop, a poller.
class LinkTest : public ::testing::Test {
protected:
    // Opens COM1, sets the timeouts of `profile` (-1: as opened), attaches the view.
    void Open() {
        CommPort(portop::kOpen);
        ASSERT_EQ(gLink.comHandle, 1);
        if (profile >= 0)
            SetPortTimeouts(profile);
        SetLinkView(&view);
        SetChangeListener([this](FieldSet changed) { view.Changed(changed); });
    }
    void TearDown() override {
        poller.reset();
        SetChangeListener(nullptr);
        SetLinkView(nullptr);
        CommPort(portop::kClose);
    }

    int argc = 1;
    char name[8] = "test";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    int profile = portprofile::kShort; // a reply ends 20 ms after its last byte
    RecordingView view;
    std::unique_ptr<LinkPoller> poller; // the live loop's timers, when a test starts them
};

// The port open on an analyzer answering each line with Answer(), or played by the test (byHand).
class HandPlayedTest : public LinkTest {
protected:
    void SetUp() override {
        SetDefaultSettings();
        analyzer = std::make_unique<orvel::test::HandPlayedAnalyzer>(
            byHand ? nullptr
                   : orvel::test::HandPlayedAnalyzer::Reply(
                         [this](const std::string& line) { return Answer(line); }));
        UseComPort(analyzer->devicePath());
        Open();
    }
    void TearDown() override {
        LinkTest::TearDown();
        analyzer.reset();
    }
    virtual std::string Answer(const std::string&) { return reply; }

    bool byHand = false;
    std::string reply = "OK\r\n"; // what Answer() gives every line ("": silence)
    std::unique_ptr<orvel::test::HandPlayedAnalyzer> analyzer;
};

// The port open on the simulated analyzer, once Start() has run.
class SimLinkTest : public LinkTest {
protected:
    // Starts the simulator with `args` (unpaced unless asked) and opens the port on it.
    void Start(Lines args = {}) {
        if (std::find(args.begin(), args.end(), "--baud") == args.end())
            args.push_back("--no-pace");
        sim = std::make_unique<orvel::test::SimProcess>(args);
        ASSERT_TRUE(sim->started()) << sim->error();
        SetDefaultSettings();
        gSettings.detailedTrace = 0; // the defaults leave the menu's check mark
        ::setenv("ORVEL_COM1", sim->devicePath().c_str(), 1);
        Open();
    }
    void TearDown() override {
        LinkTest::TearDown();
        sim.reset();
    }
    // The command lines the simulator received, in order (without CR LF): all; all once `count`
    // are in (unanswered lines may be logged a moment later); those after the first `mark`.
    Lines Received() const { return sim->received(); }
    Lines ReceivedAtLeast(size_t count) const {
        orvel::test::SimProcess::waitFor([&] { return sim->received().size() >= count; });
        return sim->received();
    }
    Lines ReceivedSince(size_t mark) const {
        const Lines all = Received();
        return Lines(all.begin() + static_cast<long>(std::min(mark, all.size())), all.end());
    }

    std::unique_ptr<orvel::test::SimProcess> sim;
};
