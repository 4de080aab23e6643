#include "pty_pair.h"

#include "instrument_settings.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <unistd.h>

PtyPair::PtyPair() {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    slavePath_ = name;
    // The link opens its own descriptor; keeping ours would make the line shared.
    ::close(slave);
}

PtyPair::~PtyPair() {
    HangUp();
}

void PtyPair::Send(std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return;
        }
    }
}

std::string PtyPair::Receive(size_t bytes, int timeoutMs) {
    std::string out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < bytes) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char c[512];
        const size_t want = std::min(sizeof c, bytes - out.size());
        ssize_t n = ::read(master_, c, want);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) {
                continue;
            }
            // EIO: the link has not opened its side (yet).
            ::usleep(1000);
            continue;
        }
        out.append(c, static_cast<size_t>(n));
    }
    return out;
}

std::string PtyPair::ReceiveLine(int timeoutMs) {
    std::string out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        std::string c = Receive(1, static_cast<int>(left.count()));
        if (c.empty()) {
            break;
        }
        out += c;
    }
    return out;
}

void PtyPair::HangUp() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

void UseComPort(const std::string& path) {
    ::setenv("ORVEL_COM1", path.c_str(), 1);
    gSettings.comPortIndex = 0;
    gSettings.baudIndex = 3;
    gSettings.timeOutSetting = 100;
    gSettings.intervalSetting = 100;
    gSettings.activeTraceSlot = 1;
}
