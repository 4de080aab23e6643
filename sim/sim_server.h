#pragma once
// The simulator's event loop: the serial line, the analyzer, the fault plan and the log, driven by
// poll with a time-out (no busy waiting) until a signal or the end of standard input.

#include "analyzer.h"
#include "fault_plan.h"
#include "serial_line.h"
#include "sim_options.h"
#include "wire_log.h"

#include <optional>
#include <string>

namespace sim {

class SimServer {
public:
    explicit SimServer(const SimOptions& options);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Opens the line, the log and the link; false with a message on failure.
    bool start(std::string& error);

    const std::string& devicePath() const { return line_.devicePath(); }

    // Runs until stop is requested (signal) or standard input closes. Returns the exit status.
    int run();

    // Removes the link made by start, if it still points to our device.
    void removeLink();

private:
    void handleInput(Clock::time_point now);
    void processLines(Clock::time_point now);
    bool mayTakeCommands() const;
    void noteProgramBaud();
    void noteOpenings();
    void deliver(const Reply& reply);

    SimOptions options_;
    SerialLine line_;
    Analyzer analyzer_;
    FaultPlan faults_;
    WireLog log_;
    std::string input_;
    bool linkMade_ = false;
    long loggedProgramBaud_ = 0;
    int openWatch_ = -1; // inotify on the device end, -1 where there is none
    bool cutPending_ = false;                // hang up once the half reply has gone ...
    std::optional<Clock::time_point> cutAt_; // ... and the program had time to read it
};

// Set by the signal handler; run() returns when it is set.
void requestStop();

} // namespace sim
