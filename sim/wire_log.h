#pragma once
// The wire log: one line per received command ("<"), sent reply (">") and event ("!"), each with
// the seconds since start. Bytes that are not printable are written as escapes (\r, \n, \xNN).

#include <chrono>
#include <string>

namespace sim {

class WireLog {
public:
    WireLog() = default;
    ~WireLog();
    WireLog(const WireLog&) = delete;
    WireLog& operator=(const WireLog&) = delete;

    // Opens the file for appending; false with errno set when it cannot be opened.
    bool open(const std::string& path);

    void received(const std::string& line) { write('<', line); }
    void sent(const std::string& reply) { write('>', reply); }
    void event(const std::string& text) { write('!', text); }

    static std::string escape(const std::string& bytes);

private:
    void write(char mark, const std::string& text);

    int fd_ = -1;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace sim
