#include "scripted_analyzer.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

ScriptedAnalyzer::ScriptedAnalyzer(Reply reply) : reply_(std::move(reply)) {
    thread_ = std::thread([this] { Run(); });
}

ScriptedAnalyzer::~ScriptedAnalyzer() {
    stop_ = true;
    thread_.join();
}

std::vector<std::string> ScriptedAnalyzer::lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

void ScriptedAnalyzer::Run() {
    std::string pending;
    while (!stop_) {
        pollfd p{pty_.master(), POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0 || (p.revents & POLLIN) == 0) {
            if ((p.revents & POLLHUP) != 0) {
                ::usleep(2000); // the link has its side closed for now
            }
            continue;
        }
        char buffer[512];
        ssize_t n = ::read(pty_.master(), buffer, sizeof buffer);
        if (n <= 0) {
            ::usleep(2000);
            continue;
        }
        pending.append(buffer, static_cast<size_t>(n));
        size_t end;
        while ((end = pending.find("\r\n")) != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 2);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                lines_.push_back(line);
            }
            const std::string reply = reply_(line);
            if (!reply.empty()) {
                pty_.Send(reply);
            }
        }
    }
}
