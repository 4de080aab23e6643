#pragma once
// Test support: an analyzer played by hand on a pseudo-terminal's master side. Either the test
// sends and receives itself, or `reply` answers each command line on its own thread.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orvel::test {

class HandPlayedAnalyzer {
public:
    using Reply = std::function<std::string(const std::string& line)>;
    explicit HandPlayedAnalyzer(Reply reply = nullptr);
    ~HandPlayedAnalyzer();
    HandPlayedAnalyzer(const HandPlayedAnalyzer&) = delete;
    HandPlayedAnalyzer& operator=(const HandPlayedAnalyzer&) = delete;

    const std::string& devicePath() const { return devicePath_; }
    int master() const { return master_; }
    void Send(std::string_view bytes);
    std::string Receive(size_t bytes, int timeoutMs = 5000);
    void HangUp();
    std::vector<std::string> lines() const; // answered so far, without CR LF

private:
    void Answer();

    int master_ = -1;
    std::string devicePath_;
    std::string pending_; // received beyond what Receive was asked for
    Reply reply_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::thread thread_;
};

} // namespace orvel::test
