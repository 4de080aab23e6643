#include "raw_pty.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
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

bool SerialClient::readCount(size_t count, std::string& out, std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    while (fd_ >= 0 && pending_.size() < count && Clock::now() < deadline)
        if (!readSome(fd_, pending_, deadline))
            std::this_thread::sleep_for(std::chrono::milliseconds(2)); // line down: no spinning
    const size_t n = std::min(count, pending_.size());
    out = pending_.substr(0, n);
    pending_.erase(0, n);
    return n == count;
}

std::string SerialClient::readAvailable() {
    std::string out = std::move(pending_);
    pending_.clear();
    while (fd_ >= 0 && readSome(fd_, out, Clock::now())) {
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

std::vector<std::string> SerialClient::askAll(const std::vector<std::string>& lines,
                                              std::chrono::milliseconds timeout) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    std::vector<std::string> replies(lines.size());
    if (!write(text))
        return replies;
    auto deadline = Clock::now() + timeout;
    for (std::string& reply : replies) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (!readUntil("\r\n", reply, std::max(left, std::chrono::milliseconds(0)))) {
            reply.clear();
            break;
        }
        reply.resize(reply.size() - 2);
    }
    return replies;
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
