#pragma once
// A simulator with a port open on it, and a screen record reader, for the simulator's own tests.

#include "raw_pty.h"
#include "sim_process.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace simtest {

// Reads a screen record as the program does, written apart from the simulator to check it.
struct DecodedRecord {
    bool complete = false; // every label found
    std::string center, span, ref, unit, sweepAndDetector, rbw, vbw, scale;
    std::vector<uint8_t> points;
};

inline std::string labelValue(const std::string& text, const std::string& label, size_t offset,
                              bool dropSpaces = true) {
    size_t at = text.find(label);
    if (at == std::string::npos)
        return "\x01missing";
    std::string value;
    for (size_t i = at + offset; i < text.size() && text[i] != '\r'; ++i)
        if (!dropSpaces || text[i] != ' ')
            value += text[i];
    return value;
}

inline DecodedRecord decodeRecord(const std::string& text, size_t maxPoints) {
    DecodedRecord r;
    r.center = labelValue(text, "CF", 3);
    r.span = labelValue(text, "SP", 3);
    r.ref = labelValue(text, "RF", 2);
    for (const char* word : {"dBm\r", "dBuV/m", "dBuV", "dBmV", "dBV", "dBuA/m"})
        if (text.find(word) != std::string::npos) {
            r.unit = word;
            if (r.unit.back() == '\r')
                r.unit.pop_back();
            break;
        }
    r.sweepAndDetector = labelValue(text, "ST", 3);
    r.rbw = labelValue(text, "RB", 3);
    r.vbw = labelValue(text, "VB", 3);
    r.scale = labelValue(text, "SC", 3, false);
    size_t trace = text.find("TRACE");
    r.complete = trace != std::string::npos;
    for (const std::string* v :
         {&r.center, &r.span, &r.ref, &r.sweepAndDetector, &r.rbw, &r.vbw, &r.scale})
        if (*v == "\x01missing" || v->size() > 19)
            r.complete = false;
    if (trace == std::string::npos)
        return r;
    size_t i = trace + 5;
    while (i < text.size() && r.points.size() < maxPoints) {
        if (text[i] < '0') {
            ++i;
            continue;
        }
        unsigned value = 0;
        size_t j = i;
        while (j < text.size() && (std::isxdigit(static_cast<unsigned char>(text[j])) ||
                                   text[j] == ' ' || text[j] == '\t')) {
            if (text[j] != ' ' && text[j] != '\t')
                value = value * 16 + static_cast<unsigned>(
                                         std::strtol(std::string(1, text[j]).c_str(), nullptr, 16));
            ++j;
        }
        r.points.push_back(static_cast<uint8_t>(value & 0xFF));
        i += 3;
    }
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
