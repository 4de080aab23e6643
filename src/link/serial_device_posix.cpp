#include "serial_device.h"

#include "link_log.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

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

speed_t SpeedFor(int baud) {
    switch (baud) {
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

constexpr char kTcpPrefix[] = "tcp://";
constexpr int kConnectTimeoutMs = 3000;

bool IsTcpName(const char* path) {
    return std::strncmp(path, kTcpPrefix, sizeof kTcpPrefix - 1) == 0;
}

// "tcp://HOST:PORT" (HOST may be "[v6]"): a connected non-blocking socket, or -1 when the name is
// malformed, nothing listens or the connection is not made within the time-out.
int ConnectTcp(const char* path) {
    std::string rest(path + sizeof kTcpPrefix - 1);
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= rest.size()) {
        return -1;
    }
    std::string host = rest.substr(0, colon);
    const std::string port = rest.substr(colon + 1);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    char* end = nullptr;
    const long number = std::strtol(port.c_str(), &end, 10);
    if (end == nullptr || *end != '\0' || number < 1 || number > 65535) {
        return -1;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int r = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
        r != 0 || found == nullptr) {
        qCDebug(lcLink, "looking up %s failed: %s", host.c_str(), ::gai_strerror(r));
        return -1;
    }
    int fd = -1;
    for (addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            LogPortFailure("socket", errno);
            continue;
        }
        int r = ::connect(fd, a->ai_addr, a->ai_addrlen);
        int error = r != 0 ? errno : 0;
        if (r != 0 && error == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            error = ETIMEDOUT;
            if (::poll(&p, 1, kConnectTimeoutMs) > 0) {
                socklen_t length = sizeof error;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
            }
            r = error == 0 ? 0 : -1;
        }
        if (r != 0) {
            LogPortFailure("connect", error);
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    if (fd >= 0) {
        // Commands are short lines; each goes out at once.
        int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    return fd;
}

// Logs the failed step with the reason errno gives, closes `fd` and returns false.
bool FailOpen(int fd, const char* what) {
    LogPortFailure(what, errno);
    ::close(fd);
    return false;
}

} // namespace

SerialDevice::~SerialDevice() {
    Close();
}

bool SerialDevice::Open(const char* path, int baud) {
    Close();
    if (path == nullptr || *path == '\0') {
        return false;
    }
    if (IsTcpName(path)) {
        // A raw TCP serial server stands in for the device; it sets the line itself.
        const int fd = ConnectTcp(path);
        if (fd < 0) {
            return false;
        }
        fd_ = fd;
        socket_ = true;
        hungUp_ = false;
        UpdateNotifier();
        return true;
    }
    int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        LogPortFailure(path, errno);
        return false;
    }
    // A serial device is a terminal; anything else (a file, /dev/null) is refused.
    termios tio{};
    if (!::isatty(fd)) {
        return FailOpen(fd, "isatty");
    }
    if (::tcgetattr(fd, &tio) != 0) {
        return FailOpen(fd, "tcgetattr");
    }
    // Exclusive: a second program (or a second open of ours) must not share the line.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return FailOpen(fd, "flock (the port is held by another program)");
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        LogPortFailure("TIOCEXCL", errno);
    }

    // Binary 8N1, no parity checking, no flow control of either kind, no echo or line editing:
    // every byte passes unchanged both ways.
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, SpeedFor(baud)) != 0 || ::cfsetospeed(&tio, SpeedFor(baud)) != 0) {
        return FailOpen(fd, "cfsetspeed");
    }
    // A line left in its old settings would garble every byte: that is no open port.
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        return FailOpen(fd, "tcsetattr");
    }
    // DTR and RTS on; a pseudo-terminal has no modem lines and refuses this, which is harmless.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd, TIOCMBIS, &lines) != 0) {
        LogPortFailure("TIOCMBIS (DTR and RTS)", errno);
    }

    fd_ = fd;
    socket_ = false;
    hungUp_ = false;
    UpdateNotifier();
    return true;
}

bool SerialDevice::IsOpen() const {
    return fd_ >= 0;
}

void SerialDevice::Close() {
    if (fd_ < 0) {
        return;
    }
    ReleaseNotifier();
    if (!socket_) {
        ::ioctl(fd_, TIOCNXCL);
    }
    ::close(fd_);
    fd_ = -1;
}

void SerialDevice::SetReadTimeouts(int betweenBytes, int perByte, int totalConstant) {
    betweenBytes_ = betweenBytes < 0 ? 0 : betweenBytes;
    perByte_ = perByte < 0 ? 0 : perByte;
    totalConstant_ = totalConstant < 0 ? 0 : totalConstant;
}

void SerialDevice::SetWriteTimeouts(int perByte, int totalConstant) {
    writePerByte_ = perByte < 0 ? 0 : perByte;
    writeConstant_ = totalConstant < 0 ? 0 : totalConstant;
}

int SerialDevice::Write(const char* data, int count) {
    if (fd_ < 0 || count <= 0) {
        return 0;
    }
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(writePerByte_ * count + writeConstant_);
    int done = 0;
    while (done < count) {
        // A socket whose peer has gone must fail the write, not raise SIGPIPE.
        ssize_t n = socket_
                        ? ::send(fd_, data + done, static_cast<size_t>(count - done), MSG_NOSIGNAL)
                        : ::write(fd_, data + done, static_cast<size_t>(count - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        const int error = n < 0 ? errno : 0;
        if (error == EINTR) {
            continue;
        }
        if (n < 0 && error != EAGAIN) {
            LogPortFailure("write", error);
            if (error == EIO || error == EPIPE || error == ECONNRESET) {
                hungUp_ = true;
            }
            break;
        }
        int wait = MillisecondsUntil(deadline);
        if (wait <= 0) {
            qCDebug(lcLink, "write timed out after %d of %d bytes", done, count);
            break;
        }
        pollfd p{fd_, POLLOUT, 0};
        int r = ::poll(&p, 1, wait);
        if (r < 0 && errno != EINTR) {
            LogPortFailure("poll for writing", errno);
        }
        if (r > 0 && (p.revents & (POLLERR | POLLNVAL)) != 0) {
            qCDebug(lcLink, "write: the line reports an error (poll events 0x%x)",
                    static_cast<unsigned>(p.revents));
            break;
        }
    }
    return done;
}

int SerialDevice::ReadAvailable(char* dst, int count) {
    if (fd_ < 0 || count <= 0) {
        return -1;
    }
    for (;;) {
        const ssize_t n = ::read(fd_, dst, static_cast<size_t>(count));
        if (n > 0) {
            if (socket_) {
                // A server that holds its next piece until ours is acknowledged (Nagle) must not
                // wait for a delayed acknowledgement: that gap would end the read.
                int on = 1;
                ::setsockopt(fd_, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
            }
            return static_cast<int>(n);
        }
        const int error = n < 0 ? errno : 0;
        if (n == 0 || error == EIO || error == ECONNRESET) {
            if (!hungUp_) {
                qCDebug(lcLink, "read: the far end hung up (%s)",
                        n == 0 ? "end of file" : std::strerror(error));
            }
            hungUp_ = true;
            return -1;
        }
        if (error == EINTR) {
            continue;
        }
        if (error == EAGAIN) {
            return 0;
        }
        LogPortFailure("read", error);
        return -1;
    }
}

void SerialDevice::WaitReadable(int ms) {
    if (fd_ < 0) {
        return;
    }
    pollfd p{fd_, POLLIN, 0};
    const int r = ::poll(&p, 1, ms < 0 ? 0 : ms);
    if (r > 0 && (p.revents & POLLIN) == 0 && (p.revents & (POLLHUP | POLLERR)) != 0) {
        hungUp_ = true;
    }
}

bool SerialDevice::BytesWaiting() {
    if (fd_ < 0) {
        return false;
    }
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) {
        return false;
    }
    if ((p.revents & POLLIN) != 0) {
        return true;
    }
    if ((p.revents & (POLLHUP | POLLERR)) != 0) {
        hungUp_ = true;
        UpdateNotifier();
    }
    return false;
}

void SerialDevice::WatchArrivals(bool watch, std::function<void()> onArrival) {
    watch_ = watch;
    if (onArrival) {
        onArrival_ = std::move(onArrival);
    }
    UpdateNotifier();
}

void SerialDevice::StopWatching() {
    watch_ = false;
    onArrival_ = nullptr;
    ReleaseNotifier();
}

void SerialDevice::ReleaseNotifier() {
    // The notifier must stop before its descriptor goes; it may be the caller on the stack.
    if (notifier_ == nullptr) {
        return;
    }
    notifier_->setEnabled(false);
    if (QCoreApplication::instance() != nullptr) {
        notifier_->deleteLater();
    } else {
        delete notifier_;
    }
    notifier_ = nullptr;
}

void SerialDevice::UpdateNotifier() {
    // A hung-up descriptor reads as always ready; watching it would spin the event loop.
    const bool wanted =
        watch_ && fd_ >= 0 && !hungUp_ && onArrival_ && QCoreApplication::instance() != nullptr;
    if (!wanted) {
        if (notifier_ != nullptr) {
            notifier_->setEnabled(false);
        }
        return;
    }
    if (notifier_ == nullptr) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_, &QSocketNotifier::activated, [this] {
            if (onArrival_) {
                onArrival_();
            }
        });
    }
    notifier_->setEnabled(true);
}
