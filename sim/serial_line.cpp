#include "serial_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {
// Paced output leaves in bursts of about this long, so that the loop wakes rarely.
constexpr auto kBurst = std::chrono::milliseconds(4);
// The most a late wake-up makes up for.
constexpr auto kMaxCatchUp = std::chrono::milliseconds(100);
} // namespace

SerialLine::SerialLine(long baud, bool pace) : baud_(baud), pace_(pace) {}

SerialLine::~SerialLine() {
    hangUp();
}

bool SerialLine::open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        error = std::string("ptsname: ") + std::strerror(errno);
        return false;
    }
    devicePath_ = name;
    // Our own hold on the device end keeps the line up while the program has it closed (no
    // endless hang-up wake-ups) and lets us put it into raw mode: no echo, no line editing.
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        error = std::string("cannot open ") + name + ": " + std::strerror(errno);
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    return true;
}

void SerialLine::send(const std::string& bytes, Clock::duration pauseBefore) {
    if (master_ < 0 || (bytes.empty() && pauseBefore == Clock::duration::zero()))
        return;
    // Output after a quiet line starts now, not where the wire stopped long ago.
    Clock::time_point now = Clock::now();
    if (queue_.empty() && wireFreeAt_ < now)
        wireFreeAt_ = now;
    queue_.push_back({bytes, pauseBefore, 0});
}

bool SerialLine::wantsWrite(Clock::time_point now) const {
    if (master_ < 0 || queue_.empty())
        return false;
    if (queue_.front().sent == 0 && queue_.front().pauseBefore > Clock::duration::zero())
        return true; // flush starts the pause
    return now >= pausedUntil_ && (!pace_ || now >= wireFreeAt_);
}

std::optional<SerialLine::Clock::time_point> SerialLine::nextWrite(Clock::time_point now) const {
    if (master_ < 0 || queue_.empty())
        return std::nullopt;
    Clock::time_point at = pausedUntil_;
    if (pace_)
        at = std::max(at, wireFreeAt_);
    if (at <= now)
        return std::nullopt; // writable now: poll for POLLOUT instead
    return at;
}

bool SerialLine::flush(Clock::time_point now) {
    const auto byteTime = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(10.0 / static_cast<double>(baud_)));
    const size_t burst =
        std::max<size_t>(1, static_cast<size_t>(kBurst / std::max(byteTime, Clock::duration(1))));
    while (master_ >= 0 && !queue_.empty()) {
        Chunk& chunk = queue_.front();
        if (chunk.sent == 0 && chunk.pauseBefore > Clock::duration::zero()) {
            pausedUntil_ = std::max(now, pace_ ? wireFreeAt_ : now) + chunk.pauseBefore;
            chunk.pauseBefore = Clock::duration::zero();
        }
        if (now < pausedUntil_ || (pace_ && now < wireFreeAt_))
            return true;
        size_t n = chunk.bytes.size() - chunk.sent;
        // The wire runs on from where it stopped: a late wake-up sends the bytes that became due
        // meanwhile, so that lateness does not add up (within reason: a reader that stopped
        // reading does not get a flood later).
        Clock::time_point base = std::max({wireFreeAt_, pausedUntil_, now - kMaxCatchUp});
        if (pace_)
            n = std::min(n, burst + static_cast<size_t>((now - base) / byteTime));
        if (n > 0) {
            ssize_t w = ::write(master_, chunk.bytes.data() + chunk.sent, n);
            if (w < 0) {
                if (errno == EAGAIN || errno == EINTR)
                    return true;
                return false;
            }
            chunk.sent += static_cast<size_t>(w);
            if (pace_)
                wireFreeAt_ = base + byteTime * w;
        }
        if (chunk.sent == chunk.bytes.size())
            queue_.pop_front();
    }
    return true;
}

bool SerialLine::receive(std::string& into) {
    // One piece at a time: the caller decides when it wants more.
    char buffer[4096];
    ssize_t r = ::read(master_, buffer, sizeof buffer);
    if (r > 0) {
        into.append(buffer, static_cast<size_t>(r));
        return true;
    }
    return r < 0 && (errno == EAGAIN || errno == EINTR);
}

long SerialLine::programBaud() const {
    termios tio{};
    if (slave_ < 0 || ::tcgetattr(slave_, &tio) != 0)
        return 0;
    switch (::cfgetospeed(&tio)) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

size_t SerialLine::queuedBytes() const {
    size_t n = 0;
    for (const Chunk& c : queue_)
        n += c.bytes.size() - c.sent;
    return n;
}

void SerialLine::hangUp() {
    queue_.clear();
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

} // namespace sim
