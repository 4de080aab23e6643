#pragma once
// Test support: a bare pseudo-terminal pair, so that a test can play the analyzer by hand, byte
// by byte, against the program's serial link (or play the program against the simulator).
//
//   orvel::test::RawPty pty;                 // raw mode: no echo, no line editing
//   ASSERT_TRUE(pty.isOpen());
//   openPort(pty.devicePath());              // the program opens the device end
//   std::string cmd;
//   ASSERT_TRUE(pty.readUntil("\r\n", cmd)); // what the program sent
//   pty.write("OK\r\n");                     // answer as the analyzer
//   pty.write("O"); ...; pty.write("K\r\n"); // or trickle it in pieces
//   pty.hangUp();                            // the line goes dead under the program
//
// The pair keeps its own hold on the device end, so the program may close and reopen it without
// the line hanging up; hangUp() closes everything.

#include <chrono>
#include <string>

namespace orvel::test {

class RawPty {
public:
    RawPty();
    ~RawPty();
    RawPty(const RawPty&) = delete;
    RawPty& operator=(const RawPty&) = delete;

    bool isOpen() const { return master_ >= 0; }
    const std::string& devicePath() const { return devicePath_; }
    int masterFd() const { return master_; }

    // Writes all bytes to the program's side; false on failure.
    bool write(const std::string& bytes);

    // What has arrived so far (does not wait).
    std::string readAvailable();

    // Reads until the collected text contains needle or the time-out passes; out receives
    // everything read (including the needle). False on time-out.
    bool readUntil(const std::string& needle, std::string& out,
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

    // Reads for the whole duration and returns what came.
    std::string readFor(std::chrono::milliseconds duration);

    // Closes both ends: the other side sees the line hang up.
    void hangUp();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string devicePath_;
    std::string pending_;
};

// The program's side of a serial line, for tests that talk to the simulator directly: opens a
// device path in raw mode and exchanges command lines.
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

    // Reads until no byte has come for quiet, or the time-out passes.
    std::string
    readUntilQuiet(std::chrono::milliseconds quiet,
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

    // Sends a line and reads one reply line; returns it without CR LF ("" on time-out).
    std::string ask(const std::string& text,
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
