#include "hand_played_analyzer.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <unistd.h>

namespace orvel::test {

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
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            return;
    }
}

std::string HandPlayedAnalyzer::Receive(size_t bytes, int timeoutMs) {
    std::string out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < bytes) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd p{master_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        char c[512];
        ssize_t n = ::read(master_, c, std::min(sizeof c, bytes - out.size()));
        if (n > 0)
            out.append(c, static_cast<size_t>(n));
        else if (n == 0 || errno != EINTR)
            ::usleep(1000); // EIO: the program has not opened its side (yet)
    }
    return out;
}

void HandPlayedAnalyzer::HangUp() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

std::vector<std::string> HandPlayedAnalyzer::lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

void HandPlayedAnalyzer::Answer() {
    std::string pending;
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0 || (p.revents & POLLIN) == 0) {
            if ((p.revents & POLLHUP) != 0)
                ::usleep(2000); // the program has its side closed for now
            continue;
        }
        char buffer[512];
        ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            ::usleep(2000);
            continue;
        }
        pending.append(buffer, static_cast<size_t>(n));
        for (size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
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

} // namespace orvel::test
