#pragma once
// A simulator with a port open on it, for the simulator's own tests.

#include "raw_pty.h"
#include "record_reader.h"
#include "sim_process.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <string>

namespace simtest {

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
    SimSession(const SimSession&) = delete;
    SimSession& operator=(const SimSession&) = delete;

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
