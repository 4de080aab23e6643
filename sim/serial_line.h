#pragma once
// The analyzer's end of the serial line: a pseudo-terminal whose other end the program opens.
// Output leaves at the wire rate of the baud rate (10 bits a byte) unless pacing is off, and may
// hold a pause in the middle (the stall fault).

#include <chrono>
#include <deque>
#include <optional>
#include <string>

namespace sim {

class SerialLine {
public:
    using Clock = std::chrono::steady_clock;

    SerialLine(long baud, bool pace);
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // Creates the pseudo-terminal; false with a message on failure.
    bool open(std::string& error);

    const std::string& devicePath() const { return devicePath_; }
    int fd() const { return master_; }
    bool isOpen() const { return master_ >= 0; }

    // Queues bytes; pauseBefore delays them after what is queued already has left.
    void send(const std::string& bytes, Clock::duration pauseBefore = Clock::duration::zero());

    // Writes what the wire rate allows at now. Returns false if the line broke.
    bool flush(Clock::time_point now);

    // When flush should run next (only while output waits and the wire is busy or paused).
    std::optional<Clock::time_point> nextWrite(Clock::time_point now) const;

    // True when output waits and may be written now (poll for POLLOUT).
    bool wantsWrite(Clock::time_point now) const;

    // Reads one piece of what has arrived; false if the line broke.
    bool receive(std::string& into);

    // The baud rate the program has set on its end (0 when unknown or not a standard rate).
    long programBaud() const;

    // Bytes waiting to leave.
    size_t queuedBytes() const;

    // Drops what is queued and closes both ends: the program sees the line hang up.
    void hangUp();

private:
    struct Chunk {
        std::string bytes;
        Clock::duration pauseBefore;
        size_t sent = 0;
    };

    long baud_;
    bool pace_;
    int master_ = -1;
    int slave_ = -1;
    std::string devicePath_;
    std::deque<Chunk> queue_;
    Clock::time_point wireFreeAt_{};
    Clock::time_point pausedUntil_{};
};

} // namespace sim
