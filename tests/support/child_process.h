#pragma once
// Test support: run a program to its end, and ser2net in front of a serial device.

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orvel::test {

struct ProcessResult {
    int status = -1; // exit status; -1 when killed or not started
    bool timedOut = false;
    std::string out;
    std::string err;
};

// argv[0] is the program's path; `env` ("NAME=VALUE") is added to the environment.
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         std::chrono::milliseconds timeout = std::chrono::seconds(60),
                         const std::vector<std::string>& env = {});

// ser2net sharing `device` as raw TCP on url().
class Ser2netProcess {
public:
    explicit Ser2netProcess(const std::string& device, int baud = 19200);
    ~Ser2netProcess();
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    bool started() const { return started_; }
    std::string url() const { return "tcp://127.0.0.1:" + std::to_string(port_); }

private:
    pid_t pid_ = -1;
    int port_ = 0;
    bool started_ = false;
    std::string pidFile_;
};

} // namespace orvel::test
