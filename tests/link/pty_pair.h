#pragma once
// A pseudo-terminal driven by hand: the test plays the analyzer on the master side while the
// link opens the slave as "COM1".

#include <string>
#include <string_view>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    int master() const { return master_; }

    // Writes all of `bytes` to the link's side.
    void Send(std::string_view bytes);
    // What the link wrote, collected until `bytes` bytes came or `timeoutMs` passed.
    std::string Receive(size_t bytes, int timeoutMs = 5000);
    // What the link wrote up to and including the next CR LF (or what came by the time-out).
    std::string ReceiveLine(int timeoutMs = 5000);
    // Hangs up: closes the master side.
    void HangUp();

private:
    int master_ = -1;
    std::string slavePath_;
};

// Points "COM1" at `path` and selects it, with the link settings at their defaults.
void UseComPort(const std::string& path);
