#pragma once
// A simulator with a port open on it, and a screen record reader, for the simulator's own tests.

#include "raw_pty.h"
#include "sim_process.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace simtest {

// Reads a screen record as the program does, written apart from the simulator to check it.
struct DecodedRecord {
    bool complete = false; // every label and the trace found
    std::string center, span, ref, unit, sweepAndDetector, rbw, vbw, scale;
    std::vector<uint8_t> points;
};

// The text after "LABEL " to the end of its line, without spaces.
inline std::string labelValue(const std::string& text, const std::string& label) {
    const size_t at = text.find(label + ' ');
    if (at == std::string::npos)
        return "\x01missing";
    std::string value = text.substr(at, text.find('\r', at) - at).substr(label.size() + 1);
    value.erase(std::remove(value.begin(), value.end(), ' '), value.end());
    return value;
}

inline DecodedRecord decodeRecord(const std::string& text, size_t maxPoints) {
    DecodedRecord r;
    const size_t trace = text.find("TRACE");
    r.complete = trace != std::string::npos;
    const std::pair<std::string*, const char*> labels[] = {
        {&r.center, "CF"},           {&r.span, "SP"}, {&r.ref, "RF"}, {&r.unit, "UNIT"},
        {&r.sweepAndDetector, "ST"}, {&r.rbw, "RB"},  {&r.vbw, "VB"}, {&r.scale, "SC"}};
    for (const auto& [value, label] : labels) {
        *value = labelValue(text, label);
        r.complete = r.complete && *value != "\x01missing" && value->size() <= 19;
    }
    if (trace == std::string::npos)
        return r;
    // Two hex digits a point, a comma or a line end after each.
    std::string hex = text.substr(trace + 5);
    std::replace(hex.begin(), hex.end(), ',', ' ');
    std::istringstream in(hex);
    for (unsigned point = 0; r.points.size() < maxPoints && in >> std::hex >> point;)
        r.points.push_back(static_cast<uint8_t>(point));
    return r;
}

struct SimSession {
    explicit SimSession(std::vector<std::string> args)
        : sim(std::make_unique<orvel::test::SimProcess>(std::move(args))) {
        if (sim->started())
            port = std::make_unique<orvel::test::SerialClient>(sim->devicePath());
    }
    // A sanitizer report from the simulator fails the test that ran it.
    ~SimSession() {
        port.reset();
        sim->stop();
        const std::string err = sim->stderrText();
        if (err.find("runtime error") != std::string::npos ||
            err.find("Sanitizer") != std::string::npos)
            ADD_FAILURE() << "orvel-sim reported:\n" << err;
    }

    bool ready() const { return port && port->isOpen(); }

    std::string ask(const std::string& line) { return port->ask(line); }

    // Sends the lines in one write; each must answer "OK".
    void setAll(const std::vector<std::string>& lines) {
        ASSERT_EQ(port->askAll(lines), std::vector<std::string>(lines.size(), "OK"));
    }

    // Sends each line in turn and expects its reply; a step reads "LINE -> REPLY".
    void expectReplies(std::initializer_list<std::string> script) {
        for (const std::string& step : script) {
            const std::size_t arrow = step.find(" -> ");
            ASSERT_NE(arrow, std::string::npos) << step;
            EXPECT_EQ(ask(step.substr(0, arrow)), step.substr(arrow + 4)) << step;
        }
    }

    std::string recordText(const char* command, int points) {
        port->sendLine(command);
        return port->readRecord(points);
    }

    DecodedRecord screen(bool detailed = false) {
        return decodeRecord(recordText(detailed ? "SRSF" : "SRSCURR", detailed ? 1001 : 251),
                            detailed ? 1005 : 252);
    }

    // Starts one sweep and waits for its "COMP".
    bool capture() {
        std::string comp;
        return port->sendLine("CAPT") && port->readUntil("COMP\r\n", comp);
    }

    std::unique_ptr<orvel::test::SimProcess> sim;
    std::unique_ptr<orvel::test::SerialClient> port;
};

// One simulator for a suite (its SetUpTestSuite calls Start); each case starts from preset.
class SharedSimTest : public ::testing::Test {
protected:
    static void Start(std::vector<std::string> args) { shared = new SimSession(std::move(args)); }
    static void TearDownTestSuite() {
        delete shared;
        shared = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(s.ready()) << s.sim->error();
        ASSERT_NO_FATAL_FAILURE(s.setAll({"PRESET", "REMOTEOFF"}));
    }
    std::string ask(const std::string& line) { return s.ask(line); }

    static inline SimSession* shared = nullptr;
    SimSession& s = *shared;
};

inline double mean(const std::vector<uint8_t>& v) {
    return v.empty() ? 0.0 : std::accumulate(v.begin(), v.end(), 0.0) / v.size();
}

inline double median(std::vector<uint8_t> v) {
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace simtest
