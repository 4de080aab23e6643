#include "serial_port.h"

#include "instrument_settings.h"
#include "keyword_tables.h"
#include "link_log.h"
#include "link_state.h"
#include "live_link.h"
#include "port_names.h"
#include "serial_device.h"

#include <chrono>
#include <cstring>
#include <iterator>
#include <thread>

LinkState gLink;

namespace {

int gPortGeneration = 0;

int ChunkSize() {
    return gSettings.baudIndex >= 3 ? 256 : 64;
}

int BaudRate(int baudIndex) {
    if (baudIndex < 0 || baudIndex >= static_cast<int>(std::size(keywords::kBaudRate))) {
        return keywords::kBaudRate[3];
    }
    return keywords::kBaudRate[baudIndex];
}

void SetText(char* buffer, const char* text) {
    std::strcpy(buffer, text);
}

void OpenPort() {
    SerialDevice& device = LinkSerialDevice();
    device.Close();
    ++gPortGeneration;
    gLink.comHandle = 0;
    if (gSettings.comPortIndex < 0 || gSettings.comPortIndex >= kPortCount) {
        return;
    }
    const std::string path = PortDevicePath(gSettings.comPortIndex);
    if (!device.Open(path.c_str(), BaudRate(gSettings.baudIndex))) {
        qCDebug(lcLink, "opening %s (%s) failed", keywords::kPortName[gSettings.comPortIndex],
                path.c_str());
        gLink.comHandle = -1;
        return;
    }
    gLink.comHandle = 1;
    SetPortTimeouts(portprofile::kLong);
}

} // namespace

void CommPort(int code) {
    // Whoever uses the port, the live loop's transaction in flight ends first.
    SettleLiveLoop();
    switch (code) {
    case portop::kOpen:
        OpenPort();
        break;
    case portop::kClose:
        LinkSerialDevice().Close();
        ++gPortGeneration;
        break;
    case portop::kWrite:
        WriteTxBuffer();
        break;
    case portop::kRead: {
        PortRead read;
        read.StartReply();
        read.Complete();
        break;
    }
    default:
        break;
    }
}

ReadTimeouts ReadTimeoutsFor(int profile, int timeOutSetting, int baudIndex) {
    // The scale's own range: a damaged settings file must not stretch a read to hours.
    const int t = timeOutSetting < 0 ? 0 : (timeOutSetting > 200 ? 200 : timeOutSetting);
    const bool fast = baudIndex >= 2;
    if (profile == portprofile::kLong) {
        return fast ? ReadTimeouts{t * 60 / 100, t * 20 / 100, t * 400 / 100 + 1}
                    : ReadTimeouts{t * 180 / 100, t * 60 / 100, t * 1200 / 100 + 1};
    }
    return fast ? ReadTimeouts{t * 20 / 100, t * 6 / 100, t * 200 / 100 + 1}
                : ReadTimeouts{t * 60 / 100, t * 20 / 100, t * 600 / 100 + 1};
}

void SetPortTimeouts(int profile) {
    SettleLiveLoop();
    SerialDevice& device = LinkSerialDevice();
    if (profile == portprofile::kLong || profile == portprofile::kShort) {
        const ReadTimeouts r =
            ReadTimeoutsFor(profile, gSettings.timeOutSetting, gSettings.baudIndex);
        device.SetReadTimeouts(r.betweenBytes, r.perByte, r.totalConstant);
    }
    device.SetWriteTimeouts(2, 30);
}

ReadTimeouts CurrentReadTimeouts() {
    const SerialDevice& device = LinkSerialDevice();
    return {device.betweenBytes(), device.perByte(), device.totalConstant()};
}

void WaitMilliseconds(int ms) {
    if (ms <= 0) {
        return;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_until(end);
    }
}

void Reconnect() {
    CommPort(portop::kClose);
    WaitMilliseconds(200);
    CommPort(portop::kOpen);
    WaitMilliseconds(200);
}

int ReadUpTo(int maxBytes) {
    SettleLiveLoop();
    PortRead read;
    read.StartUpTo(maxBytes);
    read.Complete();
    return read.Received();
}

int WriteTxBuffer() {
    SettleLiveLoop();
    const int length = static_cast<int>(strnlen(gLink.txBuffer, kTxBufferSize - 1));
    const int written = LinkSerialDevice().Write(gLink.txBuffer, length);
    if (written == 0) {
        qCDebug(lcLink, "writing %d bytes failed: %s", length,
                LinkSerialDevice().IsOpen() ? "nothing written" : "the port is not open");
        SetText(gLink.rxBuffer, "Write error");
    }
    return written;
}

int PortBytesWaiting() {
    SettleLiveLoop();
    return LinkSerialDevice().BytesWaiting() ? 1 : 0;
}

int ReadWaiting(char* dst, int maxBytes) {
    SettleLiveLoop();
    SerialDevice& device = LinkSerialDevice();
    if (dst == nullptr || maxBytes <= 0 || !device.BytesWaiting()) {
        return 0;
    }
    // Without time-outs a read takes only what is there.
    const ReadTimeouts saved = CurrentReadTimeouts();
    device.SetReadTimeouts(0, 0, 0);
    const int got = device.Read(dst, maxBytes);
    device.SetReadTimeouts(saved.betweenBytes, saved.perByte, saved.totalConstant);
    return got;
}

int PortHungUp() {
    SettleLiveLoop();
    return LinkSerialDevice().HungUp() ? 1 : 0;
}

SerialDevice& LinkSerialDevice() {
    static SerialDevice device;
    return device;
}

int PortGeneration() {
    return gPortGeneration;
}

void PortRead::StartReply() {
    upTo_ = false;
    chunk_ = ChunkSize();
    received_ = 0;
    gLink.rxLength = 0;
    phase_ = Phase::Chunks;
    NextChunk();
}

void PortRead::StartUpTo(int maxBytes) {
    upTo_ = true;
    received_ = 0;
    if (maxBytes <= 0) {
        phase_ = Phase::Over;
        return;
    }
    // Read() stores only what arrives: a read that brings nothing leaves rxBuffer as it was.
    chunk_ = maxBytes > kRxBufferSize - 1 ? kRxBufferSize - 1 : maxBytes;
    phase_ = Phase::Chunks;
    LinkSerialDevice().StartRead(read_, gLink.rxBuffer, chunk_);
}

// The next chunk of a reply, or, once the receive buffer is full, the drain of the rest.
void PortRead::NextChunk() {
    constexpr int kCapacity = kRxBufferSize - 1; // room for the terminating zero
    const int room = kCapacity - received_;
    SerialDevice& device = LinkSerialDevice();
    if (room <= 0) {
        // What still comes is thrown away: until a gap ends a read, or for at most one read's
        // total time-out, so that a flood cannot hold the program.
        phase_ = Phase::Drain;
        drainEnd_ = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(device.perByte() * chunk_ + device.totalConstant());
        const int want = chunk_ < static_cast<int>(sizeof scratch_) ? chunk_ : sizeof scratch_;
        device.StartRead(read_, scratch_, want);
        return;
    }
    device.StartRead(read_, gLink.rxBuffer + received_, room < chunk_ ? room : chunk_);
}

bool PortRead::Continue() {
    SerialDevice& device = LinkSerialDevice();
    while (phase_ != Phase::Over) {
        if (!device.ContinueRead(read_)) {
            return false;
        }
        if (phase_ == Phase::Drain) {
            if (read_.got < read_.count || std::chrono::steady_clock::now() >= drainEnd_) {
                Finish();
            } else {
                device.StartRead(read_, scratch_, read_.count);
            }
            continue;
        }
        received_ += read_.got;
        if (upTo_ || read_.got < read_.count || device.HungUp()) {
            Finish();
            continue;
        }
        NextChunk();
    }
    return true;
}

void PortRead::Complete() {
    SerialDevice& device = LinkSerialDevice();
    while (!Continue()) {
        device.WaitReadable(MillisecondsLeft());
    }
}

int PortRead::MillisecondsLeft() const {
    return phase_ == Phase::Over ? 0 : LinkSerialDevice().MillisecondsLeft(read_);
}

void PortRead::Finish() {
    phase_ = Phase::Over;
    char* rx = gLink.rxBuffer;
    if (upTo_) {
        if (received_ > 0) {
            rx[received_] = '\0';
            gLink.rxLength = received_;
        }
        return;
    }
    gLink.rxLength = received_;
    // Only a read that received nothing at all failed; a reply filling whole chunks is a reply.
    if (received_ == 0) {
        qCDebug(lcLink, "read: %s",
                LinkSerialDevice().HungUp() ? "the line has hung up"
                                            : "no reply within the time-out");
        SetText(rx, "Read error");
        return;
    }
    const int n = received_;
    rx[n] = '\0';
    if (n >= 2 && rx[n - 2] == '\r' && rx[n - 1] == '\n') {
        rx[n - 2] = '\0';
        rx[n - 1] = '\0';
    }
}
