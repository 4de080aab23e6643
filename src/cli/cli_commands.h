#pragma once
// The commands of orvel-cli and their exit statuses.

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitOther = 1;    // anything not below (internal error)
inline constexpr int kExitUsage = 2;    // unknown command or option, bad value
inline constexpr int kExitPort = 3;     // port missing, not a serial device, busy, refused
inline constexpr int kExitNoAnswer = 4; // no answer, a reply cut short, the line dropped
inline constexpr int kExitRefused = 5;  // the analyzer answered "ERR"
inline constexpr int kExitFile = 6;     // an output file could not be written

// Parses the command line, opens the port and runs the command; the exit status.
int Run(int argc, char** argv);

} // namespace cli
