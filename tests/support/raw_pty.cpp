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
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(std::max<long>(left.count(), 0))) <= 0)
        return false;
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    into.append(buffer, static_cast<size_t>(n));
    return true;
}

// Whether the text holds "TRACE", at least `points` points after it, and ends with CR LF.
bool recordComplete(const std::string& text, int points) {
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

} // namespace

SerialClient::SerialClient(const std::string& devicePath) {
    fd_ = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
}

SerialClient::~SerialClient() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool SerialClient::fill(Clock::time_point deadline) {
    if (fd_ < 0 || Clock::now() >= deadline)
        return false;
    if (!readSome(fd_, pending_, deadline))
        std::this_thread::sleep_for(std::chrono::milliseconds(2)); // line down: no spinning
    return true;
}

bool SerialClient::write(const std::string& bytes) {
    size_t done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
        const ssize_t w = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (w < 0 && (errno == EINTR || errno == EAGAIN)) {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else if (w <= 0) {
            return false;
        } else {
            done += static_cast<size_t>(w);
        }
    }
    return fd_ >= 0;
}

bool SerialClient::sendLine(const std::string& text) {
    return write(text + "\r\n");
}

bool SerialClient::readUntil(const std::string& needle, std::string& out, Timeout timeout) {
    const auto deadline = Clock::now() + timeout;
    size_t at;
    while ((at = pending_.find(needle)) == std::string::npos)
        if (!fill(deadline)) {
            out = std::move(pending_);
            pending_.clear();
            return false;
        }
    out = pending_.substr(0, at + needle.size());
    pending_.erase(0, at + needle.size());
    return true;
}

bool SerialClient::readCount(size_t count, std::string& out, Timeout timeout) {
    const auto deadline = Clock::now() + timeout;
    while (pending_.size() < count && fill(deadline)) {
    }
    const size_t n = std::min(count, pending_.size());
    out = pending_.substr(0, n);
    pending_.erase(0, n);
    return n == count;
}

std::string SerialClient::readAvailable() {
    while (fd_ >= 0 && readSome(fd_, pending_, Clock::now())) {
    }
    std::string out = std::move(pending_);
    pending_.clear();
    return out;
}

bool SerialClient::readLine(std::string& line, Timeout timeout) {
    const bool whole = readUntil("\r\n", line, timeout);
    line.resize(whole ? line.size() - 2 : 0);
    return whole;
}

std::string SerialClient::ask(const std::string& text, Timeout timeout) {
    std::string reply;
    if (sendLine(text))
        readLine(reply, timeout);
    return reply;
}

std::vector<std::string> SerialClient::askAll(const std::vector<std::string>& lines,
                                              Timeout timeout) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    std::vector<std::string> replies(lines.size());
    if (!write(text))
        return replies;
    const auto deadline = Clock::now() + timeout;
    for (std::string& reply : replies) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (!readLine(reply, std::max(left, std::chrono::milliseconds(0))))
            break;
    }
    return replies;
}

std::string SerialClient::readRecord(int points, Timeout timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!recordComplete(pending_, points) && fill(deadline)) {
    }
    std::string out = std::move(pending_);
    pending_.clear();
    return out;
}

void SerialClient::drain() {
    readAvailable();
}

} // namespace orvel::test
