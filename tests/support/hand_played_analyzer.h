#pragma once
// Test support: an analyzer played by hand on the master side of a pseudo-terminal while the
// program opens the slave side. Either the test sends and receives itself, or a reply function
// answers every command line on a thread of its own (nothing is sent for an empty reply).

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
    // Writes all of `bytes` to the program's side (a reply, a late "COMP", garbage).
    void Send(std::string_view bytes);
    // What the program wrote, until `bytes` bytes came or `timeoutMs` passed.
    std::string Receive(size_t bytes, int timeoutMs = 5000);
    void HangUp(); // closes the master side
    // With a reply function: the lines received so far, without their CR LF.
    std::vector<std::string> lines() const;

private:
    void Answer();

    int master_ = -1;
    std::string devicePath_;
    Reply reply_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::thread thread_;
};

} // namespace orvel::test
