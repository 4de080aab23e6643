#include "sim_process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace orvel::test {

namespace {

// The first line of the simulator's standard output: its device path ("" when none came).
std::string ReadFirstLine(int fd) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + kDefaultTimeout;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        const int r = left.count() > 0 ? ::poll(&p, 1, static_cast<int>(left.count())) : 0;
        if (r < 0 && errno == EINTR)
            continue;
        char buffer[256];
        const ssize_t n = r > 0 ? ::read(fd, buffer, sizeof buffer) : 0;
        if (n <= 0)
            return "";
        text.append(buffer, static_cast<size_t>(n));
    }
    return text.substr(0, text.find('\n'));
}

} // namespace

SimProcess::SimProcess(std::vector<std::string> args, std::string simPath) {
    if (simPath.empty()) {
        error_ = "no simulator path (ORVEL_SIM_PATH)";
        return;
    }
    char pattern[] = "/tmp/orvel-sim-XXXXXX";
    int in[2], out[2];
    if (!::mkdtemp(pattern) || ::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
        error_ = std::string("set-up: ") + std::strerror(errno);
        return;
    }
    tempDir_ = pattern;
    const std::string stderrPath = tempDir_ + "/stderr.txt";
    std::vector<std::string> argv{simPath};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.insert(argv.end(), {"--log", tempDir_ + "/wire.log"});
    std::vector<char*> cargs;
    for (std::string& a : argv)
        cargs.push_back(a.data());
    cargs.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        int err = ::open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err >= 0)
            ::dup2(err, STDERR_FILENO);
        // The simulator must not hold the test's own descriptors (an open port above all).
        if (::close_range(3, ~0U, 0) != 0)
            for (int fd = 3; fd < 1024; ++fd)
                ::close(fd);
        ::execv(cargs[0], cargs.data());
        std::_Exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    stdinFd_ = in[1];
    devicePath_ = ReadFirstLine(out[0]);
    ::close(out[0]);
    if (devicePath_.empty()) {
        error_ = "the simulator did not start: " + simPath + " " + stderrText();
        stop();
    }
}

SimProcess::~SimProcess() {
    stop();
    if (!tempDir_.empty() && !std::getenv("ORVEL_KEEP_SIM_FILES")) {
        std::error_code ec;
        std::filesystem::remove_all(tempDir_, ec);
    }
}

bool SimProcess::isRunning() {
    if (pid_ <= 0)
        return false;
    int status = 0;
    pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
        pid_ = -1;
        return false;
    }
    return r == 0;
}

void SimProcess::closeStdin() {
    if (stdinFd_ >= 0)
        ::close(stdinFd_);
    stdinFd_ = -1;
}

void SimProcess::stop() {
    closeStdin();
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    bool gone = waitFor(
        [this] {
            int status = 0;
            return ::waitpid(pid_, &status, WNOHANG) == pid_;
        },
        std::chrono::milliseconds(5000));
    if (!gone) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
}

std::string SimProcess::stderrText() const {
    std::ifstream file(tempDir_ + "/stderr.txt");
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::vector<std::string> SimProcess::logLines() const {
    std::vector<std::string> lines;
    std::ifstream file(tempDir_ + "/wire.log");
    std::string line;
    while (std::getline(file, line))
        lines.push_back(line);
    return lines;
}

std::vector<SimLogEntry> SimProcess::logEntries() const {
    std::vector<SimLogEntry> entries;
    for (const std::string& line : logLines()) {
        SimLogEntry e;
        size_t space = line.find(' ');
        if (space == std::string::npos || space + 2 > line.size())
            continue;
        e.seconds = std::strtod(line.c_str(), nullptr);
        e.mark = line[space + 1];
        e.text = space + 3 <= line.size() ? line.substr(space + 3) : "";
        entries.push_back(e);
    }
    return entries;
}

std::vector<std::string> SimProcess::marked(char mark) const {
    std::vector<std::string> out;
    for (const SimLogEntry& e : logEntries())
        if (e.mark == mark)
            out.push_back(e.text);
    return out;
}

int SimProcess::countLogLines(const std::string& text) const {
    int n = 0;
    for (const std::string& line : logLines())
        if (line.find(text) != std::string::npos)
            ++n;
    return n;
}

bool SimProcess::waitForLogLine(const std::string& text, std::chrono::milliseconds timeout,
                                int count) const {
    return waitFor([&] { return countLogLines(text) >= count; }, timeout);
}

bool SimProcess::waitFor(const std::function<bool()>& condition,
                         std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string SimProcess::unescape(const std::string& logged) {
    std::string out;
    for (size_t i = 0; i < logged.size(); ++i) {
        if (logged[i] != '\\' || i + 1 >= logged.size()) {
            out += logged[i];
            continue;
        }
        char c = logged[++i];
        if (c == 'r')
            out += '\r';
        else if (c == 'n')
            out += '\n';
        else if (c == 'x' && i + 2 < logged.size()) {
            out += static_cast<char>(std::strtol(logged.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else
            out += c;
    }
    return out;
}

} // namespace orvel::test
