#include "hard_copy_transfer.h"

#include "instrument_settings.h"
#include "link_state.h"
#include "serial_port.h"

#include <cstdio>
#include <cstring>

namespace {

// The piece the analyzer's original reader asked for: its read time-out is the silence that
// ends the transfer.
constexpr int kReadPiece = 128;
// At most this much is thrown away per tick, so a flooding line cannot hold the window.
constexpr int kDrainPerTick = 64 * 1024;

std::chrono::milliseconds SilenceLimit() {
    const ReadTimeouts t = CurrentReadTimeouts();
    return std::chrono::milliseconds(static_cast<long long>(t.perByte) * kReadPiece +
                                     t.totalConstant);
}

} // namespace

bool HardCopyTransfer::Start(Clock::time_point now) {
    std::snprintf(gLink.txBuffer, sizeof gLink.txBuffer, "PRT\r\n");
    if (WriteTxBuffer() == 0) {
        return false;
    }
    gLink.rxLength = 0;
    std::memset(gLink.rxBuffer, 0, sizeof gLink.rxBuffer);
    dropped_ = 0;
    lastArrival_ = now;
    return true;
}

int HardCopyTransfer::kept() const {
    return gLink.rxLength;
}

bool HardCopyTransfer::Tick(Clock::time_point now) {
    constexpr int kCapacity = kRxBufferSize - 1; // the receive area stays terminated
    int arrived = 0;
    for (;;) {
        const int room = kCapacity - gLink.rxLength;
        if (room <= 0) {
            break;
        }
        const int got = ReadWaiting(gLink.rxBuffer + gLink.rxLength, room);
        if (got <= 0) {
            break;
        }
        gLink.rxLength += got;
        arrived += got;
    }
    if (gLink.rxLength >= kCapacity) {
        char scratch[1024];
        long long drained = 0;
        while (drained < kDrainPerTick) {
            const int got = ReadWaiting(scratch, static_cast<int>(sizeof scratch));
            if (got <= 0) {
                break;
            }
            drained += got;
        }
        dropped_ += drained;
        arrived += static_cast<int>(drained);
    }
    if (arrived > 0) {
        lastArrival_ = now;
        return true;
    }
    if (PortHungUp()) {
        return false;
    }
    return now - lastArrival_ < SilenceLimit();
}

void DiscardRestOfReply(int quietMs, int limitMs) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto lastByte = start;
    char scratch[1024];
    while (PortHungUp() == 0) {
        const auto now = Clock::now();
        if (now - start >= std::chrono::milliseconds(limitMs) ||
            now - lastByte >= std::chrono::milliseconds(quietMs)) {
            break;
        }
        if (ReadWaiting(scratch, static_cast<int>(sizeof scratch)) > 0) {
            lastByte = Clock::now();
        } else {
            WaitMilliseconds(5);
        }
    }
}
