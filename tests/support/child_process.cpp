#include "child_process.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace orvel::test {

namespace {

using Clock = std::chrono::steady_clock;

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, int out,
            int err) {
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    ::setpgid(0, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    const int null = ::open("/dev/null", O_RDONLY);
    ::dup2(null, 0);
    for (const std::string& e : env) {
        ::putenv(const_cast<char*>(e.c_str()));
    }
    std::vector<char*> args;
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
}

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// A loopback TCP port where nothing listens now.
int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(0);
    socklen_t length = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    ::close(fd);
    return ntohs(a.sin_port);
}

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                         const std::vector<std::string>& env) {
    ProcessResult r;
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) {
        return r;
    }
    const pid_t pid = Spawn(argv, env, out[1], err[1]);
    ::close(out[1]);
    ::close(err[1]);
    const auto deadline = Clock::now() + timeout;
    pollfd p[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            r.timedOut = true;
            ::kill(-pid, SIGKILL);
            break;
        }
        if (::poll(p, 2, static_cast<int>(left)) < 0 && errno != EINTR) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (p[i].fd < 0 || p[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(p[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(p[i].fd);
                p[i].fd = -1;
                --open;
            } else {
                (i == 0 ? r.out : r.err).append(buffer, static_cast<size_t>(n));
            }
        }
    }
    for (pollfd& f : p) {
        if (f.fd >= 0) {
            ::close(f.fd);
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = !r.timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

Ser2netProcess::Ser2netProcess(const std::string& device, int baud) {
    port_ = FreeLoopbackPort();
    pidFile_ =
        "/tmp/orvel-ser2net-" + std::to_string(::getpid()) + "-" + std::to_string(port_) + ".pid";
    std::vector<std::string> argv = {"/usr/sbin/ser2net", "-n", "-u", "-P", pidFile_};
    const std::string yaml[] = {"connection: &orvel",
                                "  accepter: tcp,127.0.0.1," + std::to_string(port_),
                                "  connector: serialdev," + device + "," + std::to_string(baud) +
                                    "n81,local",
                                "  options:",
                                "    kickolduser: true",
                                "    chardelay: false"};
    for (const std::string& line : yaml) {
        argv.insert(argv.end(), {"-Y", line});
    }
    const int null = ::open("/dev/null", O_WRONLY);
    pid_ = Spawn(argv, {}, null, null);
    ::close(null);
    // Ready once it accepts a connection (the probe is closed again at once).
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!started_ && Clock::now() < deadline) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = Loopback(port_);
        started_ = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        ::close(fd);
        if (!started_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    // Let ser2net see the probe's close before the first real client.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

Ser2netProcess::~Ser2netProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    ::unlink(pidFile_.c_str());
}

} // namespace orvel::test
