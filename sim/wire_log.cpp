#include "wire_log.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace sim {

WireLog::~WireLog() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool WireLog::open(const std::string& path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    return fd_ >= 0;
}

std::string WireLog::escape(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else
            out += static_cast<char>(c);
    }
    return out;
}

void WireLog::write(char mark, const std::string& text) {
    if (fd_ < 0)
        return;
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    char head[48];
    int n = std::snprintf(head, sizeof head, "%.6f %c ", seconds, mark);
    std::string entry(head, static_cast<size_t>(n));
    entry += escape(text);
    entry += '\n';
    // One write per line so that a reader never sees half a line from us.
    size_t done = 0;
    while (done < entry.size()) {
        ssize_t w = ::write(fd_, entry.data() + done, entry.size() - done);
        if (w <= 0)
            return;
        done += static_cast<size_t>(w);
    }
}

} // namespace sim
