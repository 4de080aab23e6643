#pragma once
// The simulated analyzer's command line.

#include <string>
#include <vector>

namespace sim {

struct SignalSpec {
    double frequency; // Hz
    double level;     // dBm
};

enum class FaultKind { Drop, Err, Garbage, Stall, Hangup, Cut, Truncate };

// One --fault option: which replies it hits.
struct FaultRule {
    FaultKind kind;
    std::string command; // canonical command name, empty = any command
    long nth = 0;        // 0 = every matching reply, else only the nth (1-based) matching reply
};

struct SimOptions {
    int modelIndex = 0; // 0 = RVX410, 1 = RVX420
    long baud = 19200;
    bool pace = true;
    std::string linkPath;
    std::string logPath;
    unsigned long seed = 1;
    std::vector<SignalSpec> signals; // empty = the default set
    int memories = 0;
    std::vector<FaultRule> faults;
    long stallMs = 3000;
    long autoTuneMs = 3000;
    std::string garbage = std::string("\x07#\xff\x00~?garbage", 14);
    // Hard copy: the picture of every "PRT" as a PBM file; the garbage text before every band
    // record and after the last; the band whose marker is sent as "L0370" (-1: none); bytes of
    // garbage after the last band.
    std::string picturePath;
    bool prtNoise = false;
    long prtCapitalBand = -1;
    long prtTail = 0;
};

// Reads argv; on a bad option returns false with a message in error.
bool parseOptions(int argc, char** argv, SimOptions& options, std::string& error);

// The usage text printed for --help and after a bad option.
const char* usageText();

} // namespace sim
