#include "child_process.h"
#include "hand_played_analyzer.h"
#include "raw_pty.h"
#include "sim_process.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace orvel::test {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return std::max(0, static_cast<int>(left.count()));
}

// Appends at most `limit` bytes: the count read, 0 on time-out, -1 at the end or on an error.
ssize_t ReadSome(int fd, std::string& into, Clock::time_point deadline, size_t limit = 4096) {
    pollfd p{fd, POLLIN, 0};
    int ready;
    while ((ready = ::poll(&p, 1, MsLeft(deadline))) < 0 && errno == EINTR) {
    }
    if (ready <= 0)
        return ready;
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, std::min(limit, sizeof buffer));
    if (n <= 0)
        return -1;
    into.append(buffer, static_cast<size_t>(n));
    return n;
}

// Reads until `done` or the deadline; a line that is down (not opened yet, hung up) is tried again
// after a pause instead of spinning.
bool FillUntil(int fd, std::string& into, const std::function<bool()>& done,
               Clock::time_point deadline) {
    while (!done()) {
        if (fd < 0 || Clock::now() >= deadline)
            return false;
        if (ReadSome(fd, into, deadline) <= 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t w = ::write(fd, bytes.data(), bytes.size());
        if (w < 0 && (errno == EINTR || errno == EAGAIN)) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else if (w <= 0) {
            return false;
        } else {
            bytes.remove_prefix(static_cast<size_t>(w));
        }
    }
    return true;
}

// In its own process group; -1 for a standard descriptor is /dev/null.
pid_t Spawn(const std::vector<std::string>& argv, int in, int out, int err,
            const std::vector<std::string>& env = {}) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    ::setpgid(0, 0);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(in >= 0 ? in : null, STDIN_FILENO);
    ::dup2(out >= 0 ? out : null, STDOUT_FILENO);
    ::dup2(err >= 0 ? err : null, STDERR_FILENO);
    // The child must not hold the test's own descriptors (an open port above all).
    ::closefrom(3);
    for (const std::string& e : env)
        ::putenv(const_cast<char*>(e.c_str()));
    ::execv(args[0], args.data());
    std::_Exit(127);
}

// Sends `signal` (0: none), waits for the child's end until the deadline, then kills its process
// group: false when it had to.
bool Reap(pid_t pid, int signal, Clock::time_point deadline, int& status) {
    ::kill(pid, signal);
    const auto ended = [&] { return ::waitpid(pid, &status, WNOHANG) == pid; };
    if (SimProcess::waitFor(ended, std::chrono::milliseconds(MsLeft(deadline))))
        return true;
    ::kill(-pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return false;
}

bool RecordComplete(const std::string& text, int points) {
    const size_t trace = text.find("TRACE");
    if (trace == std::string::npos || text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n"))
        return false;
    int count = 0;
    for (size_t i = trace + 5; i + 1 < text.size(); ++i)
        if (std::isxdigit(static_cast<unsigned char>(text[i])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
            ++count;
            ++i;
        }
    return count >= points;
}

std::string Take(std::string& pending, size_t count) {
    std::string out = pending.substr(0, count);
    pending.erase(0, count);
    return out;
}

sockaddr_in Loopback(int port) {
    return sockaddr_in{AF_INET, htons(static_cast<uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
}

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(0);
    socklen_t length = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    ::close(fd);
    return ntohs(a.sin_port);
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

} // namespace

SerialClient::SerialClient(const std::string& devicePath) {
    fd_ = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
}

bool SerialClient::write(const std::string& bytes) {
    return fd_ >= 0 && WriteAll(fd_, bytes);
}

bool SerialClient::readUntil(const std::string& needle, std::string& out, Timeout timeout) {
    const bool found = FillUntil(
        fd_, pending_, [&] { return pending_.find(needle) != std::string::npos; },
        Clock::now() + timeout);
    out = Take(pending_, found ? pending_.find(needle) + needle.size() : std::string::npos);
    return found;
}

bool SerialClient::readCount(size_t count, std::string& out, Timeout timeout) {
    FillUntil(
        fd_, pending_, [&] { return pending_.size() >= count; }, Clock::now() + timeout);
    out = Take(pending_, count);
    return out.size() == count;
}

std::vector<std::string> SerialClient::askAll(const std::vector<std::string>& lines,
                                              Timeout timeout) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    std::vector<std::string> replies(lines.size());
    const auto deadline = Clock::now() + timeout;
    if (!write(text))
        return replies;
    for (std::string& reply : replies) {
        const bool whole = readUntil("\r\n", reply, Timeout(MsLeft(deadline)));
        reply.resize(whole ? reply.size() - 2 : 0);
        if (!whole)
            break;
    }
    return replies;
}

std::string SerialClient::readRecord(int points, Timeout timeout) {
    FillUntil(
        fd_, pending_, [&] { return RecordComplete(pending_, points); }, Clock::now() + timeout);
    return Take(pending_, std::string::npos);
}

HandPlayedAnalyzer::HandPlayedAnalyzer(Reply reply) : reply_(std::move(reply)) {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    devicePath_ = name;
    // The program opens its own descriptor; keeping ours would make the line shared.
    ::close(slave);
    if (reply_)
        thread_ = std::thread([this] { Answer(); });
}

HandPlayedAnalyzer::~HandPlayedAnalyzer() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    HangUp();
}

void HandPlayedAnalyzer::Send(std::string_view bytes) {
    WriteAll(master_, bytes);
}

std::string HandPlayedAnalyzer::Receive(size_t bytes, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    FillUntil(
        master_, pending_, [&] { return pending_.size() >= bytes; }, deadline);
    return Take(pending_, bytes);
}

void HandPlayedAnalyzer::HangUp() {
    ::close(master_); // -1 when hung up already: EBADF, nothing closed
    master_ = -1;
    pending_.clear();
}

std::vector<std::string> HandPlayedAnalyzer::lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

void HandPlayedAnalyzer::Answer() {
    std::string pending;
    while (!stop_) {
        const ssize_t n = ReadSome(master_, pending, Clock::now() + std::chrono::milliseconds(20));
        if (n < 0)
            ::usleep(2000); // the program has its side closed for now
        for (size_t end; n > 0 && (end = pending.find("\r\n")) != std::string::npos;) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 2);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                lines_.push_back(line);
            }
            Send(reply_(line));
        }
    }
}

ProcessResult RunProcess(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                         const std::vector<std::string>& env) {
    ProcessResult r;
    int out[2];
    char errPath[] = "/tmp/orvel-run-XXXXXX"; // a file: nothing to read beside the output
    const int err = ::mkostemp(errPath, O_CLOEXEC);
    if (err < 0)
        return r;
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(err);
        ::unlink(errPath);
        return r;
    }
    const pid_t pid = Spawn(argv, -1, out[1], err, env);
    ::close(out[1]);
    ::close(err);
    const auto deadline = Clock::now() + timeout;
    while (ReadSome(out[0], r.out, deadline) > 0) {
    }
    ::close(out[0]);
    // A child that closed its output may still run: the deadline holds for its end too.
    int status = 0;
    r.timedOut = !Reap(pid, 0, deadline, status);
    r.status = !r.timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = ReadText(errPath);
    ::unlink(errPath);
    return r;
}

Ser2netProcess::Ser2netProcess(const std::string& device, int baud) {
    port_ = FreeLoopbackPort();
    pidFile_ =
        "/tmp/orvel-ser2net-" + std::to_string(::getpid()) + "-" + std::to_string(port_) + ".pid";
    std::vector<std::string> argv = {"/usr/sbin/ser2net", "-n", "-u", "-P", pidFile_};
    const std::string yaml[] = {"connection: &orvel",
                                "  accepter: tcp,127.0.0.1," + std::to_string(port_),
                                "  connector: serialdev," + device + "," + std::to_string(baud) +
                                    "n81,local",
                                "  options:",
                                "    kickolduser: true",
                                "    chardelay: false"};
    for (const std::string& line : yaml)
        argv.insert(argv.end(), {"-Y", line});
    pid_ = Spawn(argv, -1, -1, -1);
    // Ready once it accepts a connection (the probe is closed again at once).
    const auto accepts = [this] {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = Loopback(port_);
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        ::close(fd);
        return ok;
    };
    started_ = SimProcess::waitFor(accepts, std::chrono::seconds(10));
    // Let ser2net see the probe's close before the first real client.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

Ser2netProcess::~Ser2netProcess() {
    int status = 0;
    if (pid_ > 0)
        Reap(pid_, SIGTERM, Clock::now() + std::chrono::seconds(5), status);
    ::unlink(pidFile_.c_str());
}

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
    args.insert(args.begin(), simPath);
    args.insert(args.end(), {"--log", tempDir_ + "/wire.log"});
    const int err =
        ::open((tempDir_ + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    pid_ = Spawn(args, in[0], out[1], err);
    for (int fd : {in[0], out[1], err})
        ::close(fd);
    stdinFd_ = in[1];
    // The first line of its output is its device path.
    std::string first;
    const auto deadline = Clock::now() + kDefaultTimeout;
    while (first.find('\n') == std::string::npos && ReadSome(out[0], first, deadline, 256) > 0) {
    }
    ::close(out[0]);
    const size_t end = first.find('\n');
    devicePath_ = end == std::string::npos ? "" : first.substr(0, end);
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
    int status = 0;
    const pid_t r = pid_ > 0 ? ::waitpid(pid_, &status, WNOHANG) : -1;
    if (r == pid_)
        pid_ = -1;
    return r == 0;
}

void SimProcess::closeStdin() {
    ::close(stdinFd_); // -1 when closed already: EBADF, nothing closed
    stdinFd_ = -1;
}

void SimProcess::stop() {
    closeStdin();
    if (pid_ <= 0)
        return;
    int status = 0;
    Reap(pid_, SIGTERM, Clock::now() + std::chrono::seconds(5), status);
    pid_ = -1;
}

std::string SimProcess::stderrText() const {
    return ReadText(tempDir_ + "/stderr.txt");
}

std::vector<std::string> SimProcess::logLines() const {
    std::vector<std::string> lines;
    std::ifstream file(tempDir_ + "/wire.log");
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

std::vector<SimLogEntry> SimProcess::logEntries() const {
    std::vector<SimLogEntry> entries;
    for (const std::string& line : logLines()) {
        const size_t space = line.find(' ');
        if (space == std::string::npos || space + 2 > line.size())
            continue;
        entries.push_back({std::strtod(line.c_str(), nullptr), line[space + 1],
                           space + 3 <= line.size() ? line.substr(space + 3) : ""});
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
        n += line.find(text) != std::string::npos;
    return n;
}

bool SimProcess::waitForLogLine(const std::string& text, std::chrono::milliseconds timeout,
                                int count) const {
    return waitFor([&] { return countLogLines(text) >= count; }, timeout);
}

bool SimProcess::waitFor(const std::function<bool()>& condition,
                         std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::string SimProcess::unescape(const std::string& logged) {
    std::string out;
    for (size_t i = 0; i < logged.size(); ++i) {
        if (logged[i] != '\\' || i + 1 >= logged.size()) {
            out += logged[i];
        } else if (const char c = logged[++i]; c == 'x' && i + 2 < logged.size()) {
            out += static_cast<char>(std::strtol(logged.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
        }
    }
    return out;
}

} // namespace orvel::test
