#pragma once
// Test support: the program's side of a serial line, for tests that talk to the simulator
// directly: opens a device path in raw mode and exchanges command lines.
//
//   orvel::test::SerialClient port(sim.devicePath());
//   EXPECT_EQ(port.ask("SPAN?"), "20M");
//
// Reads wait up to their time-out; what came beyond what a read returns stays for the next one.

#include <chrono>
#include <cstddef>
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
    // Sends text + CR LF.
    bool sendLine(const std::string& text);

    // Reads until the text read contains needle (returned in out, needle included; on time-out
    // out holds what came).
    bool readUntil(const std::string& needle, std::string& out, Timeout timeout = Timeout(15000));
    // Reads exactly count bytes into out (fewer on time-out, false then).
    bool readCount(size_t count, std::string& out, Timeout timeout = Timeout(15000));
    // Bytes that have come and not been read yet (does not wait).
    std::string readAvailable();
    // Drops whatever is waiting to be read.
    void drain();

    // Sends a line and reads one reply line; returns it without CR LF ("" on time-out).
    std::string ask(const std::string& text, Timeout timeout = Timeout(15000));
    // Sends all lines in one write and reads one reply line for each ("" for each one missing).
    std::vector<std::string> askAll(const std::vector<std::string>& lines,
                                    Timeout timeout = Timeout(15000));
    // Reads a screen record: until "TRACE", the given number of points after it and the final
    // CR LF have arrived. Returns what was read.
    std::string readRecord(int points, Timeout timeout = Timeout(15000));

private:
    // Reads some bytes into pending_ (or pauses briefly); false once the deadline has passed.
    bool fill(std::chrono::steady_clock::time_point deadline);
    // One reply line without its CR LF ("" and false on time-out).
    bool readLine(std::string& line, Timeout timeout);

    int fd_ = -1;
    std::string pending_;
};

} // namespace orvel::test
