// The read time-outs of a Windows COM port, kept on the monotonic clock, shared by both device
// forms: a blocking Read() and a read that the event loop steps through run the same rules.

#include "serial_device.h"

#include <algorithm>

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
        return 0;
    }
    // Round up so that a wait never ends just short of its deadline and spins.
    return static_cast<int>((left.count() + 999) / 1000);
}

} // namespace

void SerialDevice::StartRead(DeviceRead& read, char* dst, int count) const {
    read.dst = dst;
    read.count = count;
    read.got = 0;
    read.over = !IsOpen() || count <= 0;
    read.hasTotal = perByte_ > 0 || totalConstant_ > 0;
    read.totalDeadline =
        Clock::now() +
        std::chrono::milliseconds(static_cast<long long>(perByte_) * count + totalConstant_);
    read.lastByte = Clock::time_point{};
}

bool SerialDevice::ContinueRead(DeviceRead& read) {
    while (!read.over && read.got < read.count) {
        const int n = ReadAvailable(read.dst + read.got, read.count - read.got);
        if (n > 0) {
            read.got += n;
            read.lastByte = Clock::now();
            continue;
        }
        if (n < 0 || hungUp_) {
            read.over = true; // the line has ended; what arrived is all there is
            break;
        }
        // Nothing waiting: over once the nearer time-out has passed.
        int wait = -1;
        if (read.hasTotal) {
            wait = MillisecondsUntil(read.totalDeadline);
            if (wait <= 0) {
                read.over = true;
                break;
            }
        }
        if (read.got > 0 && betweenBytes_ > 0) {
            const int gap =
                MillisecondsUntil(read.lastByte + std::chrono::milliseconds(betweenBytes_));
            if (gap <= 0) {
                read.over = true;
                break;
            }
            wait = wait < 0 ? gap : std::min(wait, gap);
        }
        if (wait < 0) {
            // Neither time-out applies (all zero): take only what is there.
            read.over = true;
        }
        break;
    }
    if (read.got >= read.count) {
        read.over = true;
    }
    return read.over;
}

int SerialDevice::MillisecondsLeft(const DeviceRead& read) const {
    if (read.over) {
        return 0;
    }
    int wait = read.hasTotal ? MillisecondsUntil(read.totalDeadline) : -1;
    if (read.got > 0 && betweenBytes_ > 0) {
        const int gap = MillisecondsUntil(read.lastByte + std::chrono::milliseconds(betweenBytes_));
        wait = wait < 0 ? gap : std::min(wait, gap);
    }
    return wait < 0 ? 0 : wait;
}

int SerialDevice::Read(char* dst, int count) {
    DeviceRead read;
    StartRead(read, dst, count);
    while (!ContinueRead(read)) {
        WaitReadable(MillisecondsLeft(read));
    }
    return read.got;
}
