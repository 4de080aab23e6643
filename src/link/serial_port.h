#pragma once
// The serial port: one process-wide port, opened by `comPortIndex` at `baudIndex`, written from
// `txBuffer` and read into `rxBuffer` of gSettings. Every operation below first settles the live
// loop (live_link.h): a transaction of the loop in flight is finished before the port is used.

#include "serial_device.h"

// Operation codes of CommPort.
namespace portop {
inline constexpr int kOpen = 10;
inline constexpr int kClose = 12;
inline constexpr int kWrite = 13;
inline constexpr int kRead = 14;
} // namespace portop

// Time-out profiles of SetPortTimeouts.
namespace portprofile {
inline constexpr int kLong = 1;
inline constexpr int kShort = 2;
} // namespace portprofile

// Open (10): closes our own earlier handle, sets `comHandle` (0 index out of range, -1 failed,
//            1 open), applies the long profile and the line settings. Exclusive.
// Close (12): closes the port; `comHandle` keeps its value.
// Write (13): writes strlen(txBuffer) bytes; nothing written puts "Write error" in rxBuffer.
// Read (14): reads one reply into rxBuffer in chunks (256 bytes from 19200 baud, else 64) until
//            a short read; strips a final CR LF; `rxLength` counts the bytes received. Nothing
//            received puts "Read error" in rxBuffer. Never writes past rxBuffer: a longer reply
//            is cut and the rest drained.
// Other codes do nothing.
void CommPort(int code);

// 1 = long, 2 = short read time-outs (scaled by `timeOutSetting`), both with the write
// time-outs; any other value sets only the write time-outs.
void SetPortTimeouts(int profile);

// Returns once at least `ms` milliseconds have passed. Sleeps on a monotonic clock; dispatches no
// window messages.
void WaitMilliseconds(int ms);

// Close, wait 200 ms, open, wait 200 ms.
void Reconnect();

// CommPort(13) that also says how many bytes were written (0: "Write error" is in rxBuffer).
int WriteTxBuffer();

// One read of at most `maxBytes` (below the size of rxBuffer) with the current time-outs, used by
// the loop's short exchanges. When something arrives it is put in rxBuffer, terminated, and
// `rxLength` set; when nothing arrives rxBuffer is left as it was. Returns the count received.
int ReadUpTo(int maxBytes);

// 1 when at least one byte is waiting to be read; returns at once.
int PortBytesWaiting();

// Takes up to `maxBytes` bytes that are already waiting into `dst`; never waits for the line.
// Returns the count taken (0 when nothing is waiting).
int ReadWaiting(char* dst, int maxBytes);

// 1 once the far end has hung up (until the port is opened again).
int PortHungUp();

// Read time-outs in milliseconds, as the port applies them.
struct ReadTimeouts {
    int betweenBytes;
    int perByte;
    int totalConstant;
};
// The read time-outs of `profile` (1 long, 2 short) for time-out scale `timeOutSetting` (percent)
// and `baudIndex`.
ReadTimeouts ReadTimeoutsFor(int profile, int timeOutSetting, int baudIndex);
// The read time-outs now in force.
ReadTimeouts CurrentReadTimeouts();

// A read of the port in steps, for a caller that returns to the event loop between them: the
// rules of CommPort(14) (StartReply) or of ReadUpTo (StartUpTo) exactly, chunks and time-outs
// included. Continue() takes what has come without waiting and returns true once the read is
// over; rxBuffer and rxLength are then what the blocking read would have left.
class PortRead {
public:
    void StartReply();
    void StartUpTo(int maxBytes);
    bool Continue();
    // Continue() until over, sleeping between steps.
    void Complete();
    // Milliseconds until the next deadline of the read.
    int MillisecondsLeft() const;
    bool Over() const { return phase_ == Phase::Over; }
    // Bytes received (what ReadUpTo returns).
    int Received() const { return received_; }

private:
    enum class Phase { Chunks, Drain, Over };
    void NextChunk();
    void Finish();

    Phase phase_ = Phase::Over;
    bool upTo_ = false;
    int chunk_ = 0;
    int received_ = 0;
    DeviceRead read_;
    std::chrono::steady_clock::time_point drainEnd_{};
    char scratch_[256] = {};
};

// Changes whenever the port is opened or closed, so that a read begun on one line is never
// continued on another.
int PortGeneration();
