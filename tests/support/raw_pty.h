#pragma once
// Test support: a serial line in raw mode to talk to the simulator directly. What came beyond
// what a read returns stays for the next one.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace orvel::test {

class SerialClient {
public:
    using Timeout = std::chrono::milliseconds;
    explicit SerialClient(const std::string& devicePath);
    ~SerialClient() { ::close(fd_); }
    SerialClient(const SerialClient&) = delete;
    SerialClient& operator=(const SerialClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    bool write(const std::string& bytes);
    bool sendLine(const std::string& text) { return write(text + "\r\n"); }
    // On time-out `out` holds what came.
    bool readUntil(const std::string& needle, std::string& out, Timeout timeout = Timeout(15000));
    bool readCount(size_t count, std::string& out, Timeout timeout = Timeout(15000));
    // All lines in one write, one reply line for each without CR LF ("" for each one missing).
    std::vector<std::string> askAll(const std::vector<std::string>& lines,
                                    Timeout timeout = Timeout(15000));
    std::string ask(const std::string& text, Timeout timeout = Timeout(15000)) {
        return askAll({text}, timeout)[0];
    }
    // Until "TRACE", `points` points after it and the final CR LF.
    std::string readRecord(int points, Timeout timeout = Timeout(15000));

private:
    int fd_ = -1;
    std::string pending_;
};

} // namespace orvel::test
