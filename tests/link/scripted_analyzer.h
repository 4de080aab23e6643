#pragma once
// An analyzer played by a thread on the master side of a PtyPair: every command line it receives
// is recorded and answered by the reply function (nothing is sent for an empty reply).

#include "pty_pair.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ScriptedAnalyzer {
public:
    using Reply = std::function<std::string(const std::string& line)>;
    explicit ScriptedAnalyzer(Reply reply);
    ~ScriptedAnalyzer();
    ScriptedAnalyzer(const ScriptedAnalyzer&) = delete;
    ScriptedAnalyzer& operator=(const ScriptedAnalyzer&) = delete;

    const std::string& devicePath() const { return pty_.slavePath(); }
    // The lines received so far, without their CR LF.
    std::vector<std::string> lines() const;
    // Sends bytes unasked (a late "COMP", garbage).
    void Send(const std::string& bytes) { pty_.Send(bytes); }

private:
    void Run();

    PtyPair pty_;
    Reply reply_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::thread thread_;
};
