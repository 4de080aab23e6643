#pragma once
// Test support: the program's side of a serial line in raw mode, for tests that talk to the
// simulator directly (`SerialClient port(sim.devicePath()); port.ask("SPAN?")`). Reads wait up
// to their time-out; what came beyond what a read returns stays for the next one.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace orvel::test {

class SerialClient {
public:
    using Timeout = std::chrono::milliseconds;
    explicit SerialClient(const std::string& devicePath);
    ~SerialClient();
    SerialClient(const SerialClient&) = delete;
    SerialClient& operator=(const SerialClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    bool write(const std::string& bytes);
    bool sendLine(const std::string& text) { return write(text + "\r\n"); }
    // Reads until needle has come (out ends with it; on time-out out holds what came).
    bool readUntil(const std::string& needle, std::string& out, Timeout timeout = Timeout(15000));
    // Reads exactly count bytes (fewer on time-out, false then).
    bool readCount(size_t count, std::string& out, Timeout timeout = Timeout(15000));
    // What has come and not been read yet (does not wait).
    std::string readAvailable();
    // Sends a line and returns one reply line without CR LF ("" on time-out).
    std::string ask(const std::string& text, Timeout timeout = Timeout(15000));
    // Sends all lines in one write and reads one reply line for each ("" for each one missing).
    std::vector<std::string> askAll(const std::vector<std::string>& lines,
                                    Timeout timeout = Timeout(15000));
    // Reads a screen record: until "TRACE", `points` points after it and the final CR LF.
    std::string readRecord(int points, Timeout timeout = Timeout(15000));

private:
    // Reads into pending_ until done() holds (true) or the time-out passes (false).
    bool fillUntil(const std::function<bool()>& done, Timeout timeout);
    bool readLine(std::string& line, Timeout timeout);

    int fd_ = -1;
    std::string pending_;
};

} // namespace orvel::test
