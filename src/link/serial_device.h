#pragma once
// A serial device reached through its path, with the read time-outs of a Windows COM port:
// a total time-out (per-byte multiplier times the count asked for, plus a constant) and a
// longest gap between two bytes once the first has arrived. Waits sleep in poll(); every
// deadline is taken on the monotonic clock.

#include <chrono>
#include <functional>

class QSerialPort;
class QSocketNotifier;

// One read in progress: where its bytes go, how many are asked for and have come, and its
// deadlines. A blocking Read() and a read driven by the event loop step through the same state.
struct DeviceRead {
    char* dst = nullptr;
    int count = 0;
    int got = 0;
    bool over = true;
    bool hasTotal = false;
    std::chrono::steady_clock::time_point totalDeadline{};
    std::chrono::steady_clock::time_point lastByte{};
};

class SerialDevice {
public:
    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens `path` exclusively and applies the line settings (raw 8N1 at `baud`, no hardware or
    // software flow control, DTR and RTS on). Fails for a path that is missing, not a terminal
    // or already held by another process. A path "tcp://HOST:PORT" connects to a raw TCP serial
    // server instead (within 3 s); the connection closing counts as a hang-up.
    bool Open(const char* path, int baud);
    void Close();
    bool IsOpen() const;

    void SetReadTimeouts(int betweenBytes, int perByte, int totalConstant);
    void SetWriteTimeouts(int perByte, int totalConstant);
    int betweenBytes() const { return betweenBytes_; }
    int perByte() const { return perByte_; }
    int totalConstant() const { return totalConstant_; }

    // Writes up to `count` bytes within the write time-out; returns the count written (0 on
    // failure or time-out).
    int Write(const char* data, int count);
    // One read of up to `count` bytes, ended by the total time-out, the gap time-out or a
    // hang-up; returns the count received.
    int Read(char* dst, int count);
    // A read as Read() does it, in steps: StartRead, then ContinueRead whenever bytes may have
    // come or a deadline passed, until it returns true. Never blocks.
    void StartRead(DeviceRead& read, char* dst, int count) const;
    bool ContinueRead(DeviceRead& read);
    // Milliseconds until the nearer deadline of `read` (0 when one has passed).
    int MillisecondsLeft(const DeviceRead& read) const;
    // Sleeps until a byte can be read, the line hangs up or `ms` passed.
    void WaitReadable(int ms);
    // True when a byte can be read now; returns at once.
    bool BytesWaiting();
    // True once the far end has hung up (until the next open).
    bool HungUp() const { return hungUp_; }

    // Calls `onArrival` from the event loop whenever bytes are waiting, while `watch` is on.
    // Needs a running Qt event loop; off by itself after a hang-up.
    void WatchArrivals(bool watch, std::function<void()> onArrival);
    // Ends the watch for good: forgets the callback and releases the notifier.
    void StopWatching();

private:
    // Takes up to `count` waiting bytes without waiting: the count taken, 0 when none is
    // waiting, -1 when the line has ended (hang-up or error).
    int ReadAvailable(char* dst, int count);
    void UpdateNotifier();
    void ReleaseNotifier();

#ifdef ORVEL_LINK_QSERIALPORT
    void OnReadyRead();
    QSerialPort* port_ = nullptr; // the portable form: QSerialPort in blocking use
    bool inTransfer_ = false;
#endif
    int fd_ = -1;
    bool socket_ = false;
    bool hungUp_ = false;
    int betweenBytes_ = 0;
    int perByte_ = 0;
    int totalConstant_ = 0;
    int writePerByte_ = 2;
    int writeConstant_ = 30;
    bool watch_ = false;
    std::function<void()> onArrival_;
    QSocketNotifier* notifier_ = nullptr;
};

// The one port device behind CommPort.
SerialDevice& LinkSerialDevice();
