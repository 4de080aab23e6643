#pragma once
// Test support: run the simulated analyzer (orvel-sim) on a real pseudo-terminal.
//
//   #include "sim_process.h"
//   using orvel::test::SimProcess;
//
//   SimProcess sim({"--no-pace", "--model", "420"});   // any orvel-sim options
//   ASSERT_TRUE(sim.started()) << sim.error();
//   openPort(sim.devicePath());                        // e.g. ORVEL_COM1 = sim.devicePath()
//   ...
//   EXPECT_TRUE(sim.waitForLogLine("< FREQ1500000000.0000"));   // the sim received it
//   EXPECT_TRUE(sim.waitForLogLine("> OK"));                    // ... and answered
//
// - The simulator binary is taken from the argument simPath, else from the environment variable
//   ORVEL_SIM_PATH, else from the ORVEL_SIM_PATH define of the test target.
// - A wire log is always written (--log) to a file in a private temporary folder; do not pass
//   --log yourself. Log lines read "<seconds> <mark> <text>": mark "<" a received line (without
//   CR LF), ">" a reply sent (CR LF written as \r\n), "!" an event (fault, hang-up, start, stop).
//   Bytes that are not printable appear as \xNN, a backslash as \\.
// - Pass "--no-pace" unless pacing is what the test is about.
// - The destructor kills the simulator (SIGTERM, then SIGKILL) and removes the temporary folder
//   (kept when the environment variable ORVEL_KEEP_SIM_FILES is set).
// - Waits are wait-for-condition loops with a generous time-out (kDefaultTimeout); they return
//   false on time-out instead of failing, so tests can assert with their own message.

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orvel::test {

inline constexpr std::chrono::milliseconds kDefaultTimeout{15000};

// One line of the simulator's wire log.
struct SimLogEntry {
    double seconds = 0; // since the simulator started
    char mark = ' ';    // '<' received, '>' sent, '!' event
    std::string text;   // as logged (escaped)
};

class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args = {}, std::string simPath = defaultPath());
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // True once the simulator runs and has printed its device path; error() says why not.
    bool started() const { return !devicePath_.empty(); }
    const std::string& error() const { return error_; }

    // The device path of the simulated analyzer (the program's serial port).
    const std::string& devicePath() const { return devicePath_; }

    // The private temporary folder and the wire log inside it.
    const std::string& tempDir() const { return tempDir_; }
    const std::string& logPath() const { return logPath_; }

    pid_t pid() const { return pid_; }

    // What the simulator wrote to its standard error (messages, sanitizer reports).
    std::string stderrText() const;

    // True while the simulator process is alive.
    bool isRunning();

    // The whole log as it is now.
    std::vector<SimLogEntry> logEntries() const;
    std::vector<std::string> logLines() const;

    // The received lines ("<") and the replies sent (">"), in order, as logged.
    std::vector<std::string> received() const;
    std::vector<std::string> sent() const;

    // How many log lines contain the text.
    int countLogLines(const std::string& text) const;

    // Waits until a log line contains the text (count: until at least that many do).
    bool waitForLogLine(const std::string& text,
                        std::chrono::milliseconds timeout = kDefaultTimeout, int count = 1) const;

    // Waits until condition() is true, checking every few milliseconds.
    static bool waitFor(const std::function<bool()>& condition,
                        std::chrono::milliseconds timeout = kDefaultTimeout);

    // Ends the simulator now (the destructor does it too).
    void stop();

    // Closes the simulator's standard input, which ends it as a user's Ctrl-D would.
    void closeStdin();

    // \r, \n, \\ and \xNN of a logged text back into bytes.
    static std::string unescape(const std::string& logged);

    // The simulator binary chosen when none is given.
    static std::string defaultPath() {
#ifdef ORVEL_SIM_PATH
        return pathFromEnvironment(ORVEL_SIM_PATH);
#else
        return pathFromEnvironment("");
#endif
    }

private:
    static std::string pathFromEnvironment(const char* fallback);

    pid_t pid_ = -1;
    int stdinFd_ = -1;
    std::string devicePath_;
    std::string tempDir_;
    std::string logPath_;
    std::string error_;
};

} // namespace orvel::test
