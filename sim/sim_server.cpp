#include "sim_server.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace sim {

namespace {

std::atomic<bool> gStop{false};

// A received line longer than this is refused as a whole.
constexpr size_t kMaxLine = 4096;

// Replies waiting beyond this stop the reading of new commands.
constexpr size_t kMaxQueued = 256 * 1024;

// Standard input is watched for its end, unless it is /dev/null (a background start).
bool stdinWorthWatching() {
    struct stat st {};
    if (::fstat(STDIN_FILENO, &st) != 0)
        return false;
    return !(S_ISCHR(st.st_mode) && st.st_rdev == makedev(1, 3));
}

} // namespace

void requestStop() {
    gStop = true;
}

SimServer::SimServer(const SimOptions& options)
    : options_(options), line_(options.baud, options.pace), analyzer_(options),
      faults_(options.faults) {}

bool SimServer::start(std::string& error) {
    if (!line_.open(error))
        return false;
    if (!options_.logPath.empty() && !log_.open(options_.logPath)) {
        error = "cannot open the log " + options_.logPath + ": " + std::strerror(errno);
        return false;
    }
    if (!options_.linkPath.empty()) {
        // Only an old link is replaced: a file of the user's never is.
        struct stat st {};
        if (::lstat(options_.linkPath.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
            error = options_.linkPath + " exists and is not a symbolic link; not replaced";
            return false;
        }
        ::unlink(options_.linkPath.c_str());
        if (::symlink(line_.devicePath().c_str(), options_.linkPath.c_str()) != 0) {
            error = "cannot make the link " + options_.linkPath + ": " + std::strerror(errno);
            return false;
        }
        linkMade_ = true;
    }
    log_.event("start " + line_.devicePath());
#ifdef __linux__
    // The program opening and closing its end shows in the log, so a reconnect can be seen.
    openWatch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (openWatch_ >= 0 &&
        ::inotify_add_watch(openWatch_, line_.devicePath().c_str(), IN_OPEN | IN_CLOSE) < 0) {
        ::close(openWatch_);
        openWatch_ = -1;
    }
#endif
    return true;
}

SimServer::~SimServer() {
    if (openWatch_ >= 0)
        ::close(openWatch_);
}

void SimServer::noteOpenings() {
#ifdef __linux__
    alignas(inotify_event) char buffer[1024];
    for (;;) {
        ssize_t n = ::read(openWatch_, buffer, sizeof buffer);
        if (n <= 0)
            return;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            if (event.mask & IN_OPEN)
                log_.event("the program's end opened");
            if (event.mask & IN_CLOSE)
                log_.event("the program's end closed");
            at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
        }
    }
#endif
}

void SimServer::removeLink() {
    if (!linkMade_)
        return;
    char target[PATH_MAX];
    ssize_t n = ::readlink(options_.linkPath.c_str(), target, sizeof target - 1);
    if (n > 0) {
        target[n] = '\0';
        if (line_.devicePath() == target)
            ::unlink(options_.linkPath.c_str());
    }
    linkMade_ = false;
}

void SimServer::deliver(const Reply& reply) {
    if (reply.text.empty() || !line_.isOpen())
        return;
    std::optional<FaultKind> fault = faults_.next(reply.command);
    if (!fault) {
        log_.sent(reply.text);
        line_.send(reply.text);
        return;
    }
    log_.event(std::string(faultName(*fault)) + " " + reply.command);
    switch (*fault) {
    case FaultKind::Drop:
        break;
    case FaultKind::Err:
        log_.sent("ERR\r\n");
        line_.send("ERR\r\n");
        break;
    case FaultKind::Garbage:
        log_.sent(options_.garbage + reply.text);
        line_.send(options_.garbage + reply.text);
        break;
    case FaultKind::Stall: {
        size_t half = std::max<size_t>(1, reply.text.size() / 2);
        log_.sent(reply.text);
        line_.send(reply.text.substr(0, half));
        line_.send(reply.text.substr(half), std::chrono::milliseconds(options_.stallMs));
        break;
    }
    case FaultKind::Truncate: {
        const std::string cut = reply.text.substr(0, std::max<size_t>(1, reply.text.size() / 2));
        log_.sent(cut + "\r\n");
        line_.send(cut + "\r\n");
        break;
    }
    case FaultKind::Hangup:
        line_.hangUp();
        break;
    case FaultKind::Cut:
        // Half the reply, then the line goes, as an analyzer switched off mid-reply.
        log_.sent(reply.text.substr(0, reply.text.size() / 2));
        line_.send(reply.text.substr(0, reply.text.size() / 2));
        cutPending_ = true;
        break;
    }
}

void SimServer::handleInput(Clock::time_point now) {
    if (!line_.receive(input_)) {
        log_.event("line closed");
        line_.hangUp();
        return;
    }
    processLines(now);
}

void SimServer::noteProgramBaud() {
    // A real analyzer would read garbage at the wrong rate; the log at least says so.
    long baud = line_.programBaud();
    if (baud != 0 && baud != loggedProgramBaud_ && baud != options_.baud)
        log_.event("the program's end is set to " + std::to_string(baud) +
                   " baud; the analyzer runs at " + std::to_string(options_.baud));
    loggedProgramBaud_ = baud;
}

bool SimServer::mayTakeCommands() const {
    return line_.queuedBytes() < kMaxQueued;
}

void SimServer::processLines(Clock::time_point now) {
    size_t start = 0;
    while (mayTakeCommands()) {
        size_t lf = input_.find('\n', start);
        if (lf == std::string::npos)
            break;
        std::string text = input_.substr(start, lf - start);
        start = lf + 1;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        log_.received(text);
        noteProgramBaud();
        std::vector<Reply> replies;
        if (text.size() > kMaxLine)
            replies.push_back({"UNKNOWN", "ERR\r\n"});
        else
            replies = analyzer_.handleLine(text, now);
        for (const Reply& r : replies)
            deliver(r);
    }
    input_.erase(0, start);
    if (input_.size() > kMaxLine && input_.find('\n') == std::string::npos) {
        // No line end in sight: refuse what came and start afresh.
        log_.received(input_);
        input_.clear();
        deliver({"UNKNOWN", "ERR\r\n"});
    }
}

int SimServer::run() {
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGHUP);

    bool watchStdin = stdinWorthWatching();
    while (!gStop) {
        Clock::time_point now = Clock::now();
        for (const Reply& r : analyzer_.runDueEvents(now))
            deliver(r);
        if (line_.isOpen() && !line_.flush(now)) {
            log_.event("line closed");
            line_.hangUp();
        }
        if (cutPending_ && line_.isOpen() && line_.queuedBytes() == 0) {
            // A hang-up throws away what the program has not read yet; give it time to read.
            if (!cutAt_)
                cutAt_ = now + std::chrono::milliseconds(500);
            if (now >= *cutAt_) {
                cutPending_ = false;
                cutAt_.reset();
                log_.event("hangup after half a reply");
                line_.hangUp();
            }
        }
        if (line_.isOpen())
            processLines(now); // commands held back while replies piled up

        std::optional<Clock::time_point> wake = analyzer_.nextEvent();
        if (auto w = line_.nextWrite(now); w && (!wake || *w < *wake))
            wake = w;
        if (cutAt_ && (!wake || *cutAt_ < *wake))
            wake = cutAt_;

        pollfd fds[3];
        nfds_t count = 0;
        int lineSlot = -1, stdinSlot = -1, watchSlot = -1;
        if (openWatch_ >= 0) {
            watchSlot = static_cast<int>(count);
            fds[count++] = {openWatch_, POLLIN, 0};
        }
        if (line_.isOpen()) {
            lineSlot = static_cast<int>(count);
            // A program that sends and never reads is not served further: its commands wait in
            // the line until the replies have gone.
            short events = mayTakeCommands() && input_.find('\n') == std::string::npos ? POLLIN : 0;
            if (line_.wantsWrite(now))
                events |= POLLOUT;
            fds[count++] = {line_.fd(), events, 0};
        }
        if (watchStdin) {
            stdinSlot = static_cast<int>(count);
            fds[count++] = {STDIN_FILENO, POLLIN, 0};
        }
        timespec timeout{};
        timespec* timeoutPtr = nullptr;
        if (wake) {
            auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(*wake - now).count();
            if (ns < 0)
                ns = 0;
            timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
            timeout.tv_nsec = static_cast<long>(ns % 1000000000);
            timeoutPtr = &timeout;
        }
        int ready = ::ppoll(fds, count, timeoutPtr, &waitMask);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            log_.event(std::string("poll failed: ") + std::strerror(errno));
            return 1;
        }
        now = Clock::now();
        // Before the line: an opening comes before what the program then writes.
        if (watchSlot >= 0 && fds[watchSlot].revents)
            noteOpenings();
        if (stdinSlot >= 0 && fds[stdinSlot].revents) {
            char buffer[256];
            ssize_t r = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (r == 0 || (r < 0 && errno != EAGAIN && errno != EINTR && errno != EIO))
                break; // standard input closed: the run is over
            if (r < 0 && errno == EIO)
                watchStdin = false; // a terminal we may not read from
        }
        if (lineSlot >= 0 && line_.isOpen()) {
            short ev = fds[lineSlot].revents;
            if (ev & POLLIN)
                handleInput(now);
            else if (ev & (POLLERR | POLLNVAL)) {
                log_.event("line error");
                line_.hangUp();
            }
        }
    }
    log_.event("stop");
    return 0;
}

} // namespace sim
