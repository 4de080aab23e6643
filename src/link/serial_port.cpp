#include "serial_port.h"

#include "instrument_settings.h"
#include "keyword_tables.h"
#include "port_names.h"
#include "serial_device.h"

#include <chrono>
#include <cstring>
#include <iterator>
#include <thread>

namespace {

constexpr int kDrainScratch = 256;

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
    gSettings.comHandle = 0;
    if (gSettings.comPortIndex < 0 || gSettings.comPortIndex >= kPortCount) {
        return;
    }
    const std::string path = PortDevicePath(gSettings.comPortIndex);
    if (!device.Open(path.c_str(), BaudRate(gSettings.baudIndex))) {
        gSettings.comHandle = -1;
        return;
    }
    gSettings.comHandle = 1;
    SetPortTimeouts(portprofile::kLong);
}

// Reads and throws away what still comes after the receive buffer is full: until a gap ends a
// read, or for at most one read's total time-out, so that a flood cannot hold the program.
void DrainRest(int chunk) {
    SerialDevice& device = LinkSerialDevice();
    char scratch[kDrainScratch];
    const int want = chunk < kDrainScratch ? chunk : kDrainScratch;
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(device.perByte() * chunk + device.totalConstant());
    while (std::chrono::steady_clock::now() < end) {
        if (device.Read(scratch, want) < want) {
            break;
        }
    }
}

void ReadPort() {
    SerialDevice& device = LinkSerialDevice();
    const int chunk = ChunkSize();
    constexpr int kCapacity = kRxBufferSize - 1; // room for the terminating zero
    gSettings.rxLength = 0;
    for (;;) {
        const int room = kCapacity - gSettings.rxLength;
        if (room <= 0) {
            DrainRest(chunk);
            break;
        }
        const int want = room < chunk ? room : chunk;
        const int got = device.Read(gSettings.rxBuffer + gSettings.rxLength, want);
        gSettings.rxLength += got;
        if (got < want || device.HungUp()) {
            break;
        }
    }
    // Only a read that received nothing at all failed; a reply filling whole chunks is a reply.
    if (gSettings.rxLength == 0) {
        SetText(gSettings.rxBuffer, "Read error");
        return;
    }
    const int n = gSettings.rxLength;
    gSettings.rxBuffer[n] = '\0';
    if (n >= 2 && gSettings.rxBuffer[n - 2] == '\r' && gSettings.rxBuffer[n - 1] == '\n') {
        gSettings.rxBuffer[n - 2] = '\0';
        gSettings.rxBuffer[n - 1] = '\0';
    }
}

} // namespace

void CommPort(int code) {
    switch (code) {
    case portop::kOpen:
        OpenPort();
        break;
    case portop::kClose:
        LinkSerialDevice().Close();
        break;
    case portop::kWrite:
        WriteTxBuffer();
        break;
    case portop::kRead:
        ReadPort();
        break;
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
    if (maxBytes <= 0) {
        return 0;
    }
    if (maxBytes > kRxBufferSize - 1) {
        maxBytes = kRxBufferSize - 1;
    }
    // read() stores only what arrives: a read that brings nothing leaves rxBuffer as it was.
    const int got = LinkSerialDevice().Read(gSettings.rxBuffer, maxBytes);
    if (got > 0) {
        gSettings.rxBuffer[got] = '\0';
        gSettings.rxLength = got;
    }
    return got;
}

int WriteTxBuffer() {
    const int length = static_cast<int>(strnlen(gSettings.txBuffer, kTxBufferSize - 1));
    const int written = LinkSerialDevice().Write(gSettings.txBuffer, length);
    if (written == 0) {
        SetText(gSettings.rxBuffer, "Write error");
    }
    return written;
}

int PortBytesWaiting() {
    return LinkSerialDevice().BytesWaiting() ? 1 : 0;
}

int ReadWaiting(char* dst, int maxBytes) {
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
    return LinkSerialDevice().HungUp() ? 1 : 0;
}

SerialDevice& LinkSerialDevice() {
    static SerialDevice device;
    return device;
}
