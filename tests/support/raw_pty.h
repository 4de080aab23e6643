#pragma once
// Test support: the program's side of a serial line, for tests that talk to the simulator
// directly: opens a device path in raw mode and exchanges command lines.
//
//   orvel::test::SerialClient port(sim.devicePath());
//   EXPECT_EQ(port.ask("SPAN?"), "20M");

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace orvel::test {

class SerialClient {
public:
    explicit SerialClient(const std::string& devicePath);
    ~SerialClient();
    SerialClient(const SerialClient&) = delete;
    SerialClient& operator=(const SerialClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Sends text + CR LF.
    bool sendLine(const std::string& text);
    bool write(const std::string& bytes);

    // Reads until the text read contains needle (returned in out, needle included).
    bool readUntil(const std::string& needle, std::string& out,
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

    // Reads until at least count bytes have come; out receives exactly count bytes (fewer on
    // time-out, false then). What came beyond them stays for the next read.
    bool readCount(size_t count, std::string& out,
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

    // Bytes that have come and not been read yet (does not wait).
    std::string readAvailable();

    // Sends a line and reads one reply line; returns it without CR LF ("" on time-out).
    std::string ask(const std::string& text,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

    // Sends all lines in one write and reads one reply line for each; replies without CR LF
    // ("" for each one missing on time-out).
    std::vector<std::string>
    askAll(const std::vector<std::string>& lines,
           std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

    // Reads a screen record: until "TRACE" and the given number of points after it and the final
    // CR LF have arrived. Returns what was read ("" before anything on time-out).
    std::string readRecord(int points,
                           std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

    // Drops whatever is waiting to be read.
    void drain();

private:
    int fd_ = -1;
    std::string pending_;
};

} // namespace orvel::test
