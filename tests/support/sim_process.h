#pragma once
// Test support: orvel-sim (any options but --log) on a real pseudo-terminal. Its wire log lines
// read "<seconds> <mark> <text>", the text escaped (\r, \n, \\, \xNN). Its temporary folder is
// kept when ORVEL_KEEP_SIM_FILES is set. Waits return false on time-out instead of failing.

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orvel::test {

inline constexpr std::chrono::milliseconds kDefaultTimeout{15000};

// ORVEL_SIM_PATH from the environment, else the test target's define.
inline std::string DefaultSimPath() {
    const char* env = std::getenv("ORVEL_SIM_PATH");
#ifdef ORVEL_SIM_PATH
    return env != nullptr && *env != '\0' ? env : ORVEL_SIM_PATH;
#else
    return env != nullptr ? env : "";
#endif
}

struct SimLogEntry {
    double seconds = 0; // since the simulator started
    char mark = ' ';    // '<' received, '>' sent, '!' event
    std::string text;
};

class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args = {}, std::string simPath = DefaultSimPath());
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Once the simulator has printed its device path; error() says why not.
    bool started() const { return !devicePath_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& devicePath() const { return devicePath_; }
    pid_t pid() const { return pid_; }
    std::string stderrText() const; // messages, sanitizer reports
    bool isRunning();

    std::vector<SimLogEntry> logEntries() const;
    std::vector<std::string> received() const { return marked('<'); }
    std::vector<std::string> sent() const { return marked('>'); }
    int countLogLines(const std::string& text) const; // lines containing the text
    bool waitForLogLine(const std::string& text,
                        std::chrono::milliseconds timeout = kDefaultTimeout, int count = 1) const;
    static bool waitFor(const std::function<bool()>& condition,
                        std::chrono::milliseconds timeout = kDefaultTimeout);

    void stop();
    void closeStdin(); // as a user's Ctrl-D
    static std::string unescape(const std::string& logged);

private:
    std::vector<std::string> marked(char mark) const;
    std::vector<std::string> logLines() const;

    pid_t pid_ = -1;
    int stdinFd_ = -1;
    std::string devicePath_;
    std::string tempDir_;
    std::string error_;
};

} // namespace orvel::test
