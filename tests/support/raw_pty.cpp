#include "raw_pty.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace orvel::test {

namespace {

using Clock = std::chrono::steady_clock;

// Waits up to the deadline for fd to be readable and appends what is there.
bool readSome(int fd, std::string& into, Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() < 0)
        left = std::chrono::milliseconds(0);
    pollfd p{fd, POLLIN, 0};
    int r = ::poll(&p, 1, static_cast<int>(left.count()));
    if (r <= 0)
        return false;
    char buffer[4096];
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    into.append(buffer, static_cast<size_t>(n));
    return true;
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && (errno == EINTR || errno == EAGAIN)) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
            continue;
        }
        if (w <= 0)
            return false;
        done += static_cast<size_t>(w);
    }
    return true;
}

bool readUntilOn(int fd, std::string& pending, const std::string& needle, std::string& out,
                 std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    for (;;) {
        size_t at = pending.find(needle);
        if (at != std::string::npos) {
            out = pending.substr(0, at + needle.size());
            pending.erase(0, at + needle.size());
            return true;
        }
        if (Clock::now() >= deadline) {
            out = pending;
            pending.clear();
            return false;
        }
        if (!readSome(fd, pending, deadline))
            std::this_thread::sleep_for(std::chrono::milliseconds(2)); // line down: no spinning
    }
}

} // namespace

RawPty::RawPty() {
    char name[PATH_MAX] = {};
    termios tio{};
    ::cfmakeraw(&tio);
    if (::openpty(&master_, &slave_, name, &tio, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    devicePath_ = name;
}

RawPty::~RawPty() {
    hangUp();
}

bool RawPty::write(const std::string& bytes) {
    return master_ >= 0 && writeAll(master_, bytes);
}

std::string RawPty::readAvailable() {
    std::string out = std::move(pending_);
    pending_.clear();
    if (master_ >= 0)
        while (readSome(master_, out, Clock::now())) {
        }
    return out;
}

bool RawPty::readUntil(const std::string& needle, std::string& out,
                       std::chrono::milliseconds timeout) {
    if (master_ < 0)
        return false;
    return readUntilOn(master_, pending_, needle, out, timeout);
}

std::string RawPty::readFor(std::chrono::milliseconds duration) {
    std::string out = std::move(pending_);
    pending_.clear();
    auto deadline = Clock::now() + duration;
    while (master_ >= 0 && Clock::now() < deadline)
        readSome(master_, out, deadline);
    return out;
}

void RawPty::hangUp() {
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

SerialClient::SerialClient(const std::string& devicePath) {
    fd_ = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    termios tio{};
    if (::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
}

SerialClient::~SerialClient() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool SerialClient::write(const std::string& bytes) {
    return fd_ >= 0 && writeAll(fd_, bytes);
}

bool SerialClient::sendLine(const std::string& text) {
    return write(text + "\r\n");
}

bool SerialClient::readUntil(const std::string& needle, std::string& out,
                             std::chrono::milliseconds timeout) {
    if (fd_ < 0)
        return false;
    return readUntilOn(fd_, pending_, needle, out, timeout);
}

std::string SerialClient::readUntilQuiet(std::chrono::milliseconds quiet,
                                         std::chrono::milliseconds timeout) {
    std::string out = std::move(pending_);
    pending_.clear();
    auto deadline = Clock::now() + timeout;
    while (fd_ >= 0 && Clock::now() < deadline) {
        auto until = std::min(deadline, Clock::now() + quiet);
        if (!readSome(fd_, out, until))
            break;
    }
    return out;
}

std::string SerialClient::ask(const std::string& text, std::chrono::milliseconds timeout) {
    std::string reply;
    if (!sendLine(text) || !readUntil("\r\n", reply, timeout))
        return "";
    reply.resize(reply.size() - 2);
    return reply;
}

std::string SerialClient::readRecord(int points, std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    std::string text = std::move(pending_);
    pending_.clear();
    for (;;) {
        size_t trace = text.find("TRACE");
        if (trace != std::string::npos && text.size() >= 2 &&
            text.compare(text.size() - 2, 2, "\r\n") == 0) {
            int count = 0;
            for (size_t i = trace + 5; i + 1 < text.size(); ++i)
                if (std::isxdigit(static_cast<unsigned char>(text[i])) &&
                    std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
                    ++count;
                    ++i;
                }
            if (count >= points)
                return text;
        }
        if (Clock::now() >= deadline || fd_ < 0)
            return text;
        if (!readSome(fd_, text, deadline))
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void SerialClient::drain() {
    pending_.clear();
    std::string sink;
    while (fd_ >= 0 && readSome(fd_, sink, Clock::now()))
        sink.clear();
}

} // namespace orvel::test
