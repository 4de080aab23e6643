#include "sim_options.h"

#include "value_text.h"

#include <cstring>

namespace sim {

namespace {

bool parseFault(const std::string& text, FaultRule& rule) {
    std::string kind = text;
    std::string when;
    size_t colon = text.find(':');
    if (colon != std::string::npos) {
        kind = text.substr(0, colon);
        when = text.substr(colon + 1);
    }
    if (equalsNoCase(kind, "drop"))
        rule.kind = FaultKind::Drop;
    else if (equalsNoCase(kind, "err"))
        rule.kind = FaultKind::Err;
    else if (equalsNoCase(kind, "garbage"))
        rule.kind = FaultKind::Garbage;
    else if (equalsNoCase(kind, "stall"))
        rule.kind = FaultKind::Stall;
    else if (equalsNoCase(kind, "truncate"))
        rule.kind = FaultKind::Truncate;
    else if (equalsNoCase(kind, "hangup"))
        rule.kind = FaultKind::Hangup;
    else if (equalsNoCase(kind, "cut"))
        rule.kind = FaultKind::Cut;
    else
        return false;
    size_t hash = when.find('#');
    rule.command = toUpper(when.substr(0, hash));
    rule.nth = 0;
    if (hash != std::string::npos) {
        long n = 0;
        if (!parseInteger(when.substr(hash + 1), n) || n < 1)
            return false;
        rule.nth = n;
    }
    return true;
}

bool parseSignal(const std::string& text, SignalSpec& signal) {
    size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return false;
    return parseDecimal(text.substr(0, colon), signal.frequency) && signal.frequency >= 0 &&
           parseDecimal(text.substr(colon + 1), signal.level) && signal.level > -200 &&
           signal.level < 60;
}

} // namespace

const char* usageText() {
    return "usage: orvel-sim [--model 410|420] [--baud N] [--link PATH] [--log FILE] [--no-pace]\n"
           "                 [--seed N] [--signal FREQ:LEVEL]... [--memories N]\n"
           "                 [--fault KIND[:WHEN]]... [--stall-ms MS] [--auto-ms MS]\n"
           "                 [--picture FILE] [--prt-noise] [--prt-capital BAND] [--prt-tail N]\n"
           "  KIND: drop | err | garbage | stall | truncate | hangup | cut\n"
           "  WHEN: NAME (every reply to that command), NAME#N (its Nth reply),\n"
           "        #N (the Nth reply of all), or nothing (every reply)\n";
}

bool parseOptions(int argc, char** argv, SimOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = "missing value after " + arg;
                return false;
            }
            out = argv[++i];
            return true;
        };
        auto number = [&](long& out, long lo, long hi) {
            std::string text;
            if (!value(text))
                return false;
            if (!parseInteger(text, out) || out < lo || out > hi) {
                error = "bad value for " + arg + ": " + text;
                return false;
            }
            return true;
        };
        std::string text;
        long n = 0;
        if (arg == "--model") {
            if (!value(text))
                return false;
            if (text == "410")
                options.modelIndex = 0;
            else if (text == "420")
                options.modelIndex = 1;
            else {
                error = "--model takes 410 or 420";
                return false;
            }
        } else if (arg == "--baud") {
            if (!number(options.baud, 300, 4000000))
                return false;
        } else if (arg == "--link") {
            if (!value(options.linkPath))
                return false;
        } else if (arg == "--log") {
            if (!value(options.logPath))
                return false;
        } else if (arg == "--no-pace") {
            options.pace = false;
        } else if (arg == "--seed") {
            if (!number(n, 0, 2147483647))
                return false;
            options.seed = static_cast<unsigned long>(n);
        } else if (arg == "--signal") {
            SignalSpec signal{};
            if (!value(text))
                return false;
            if (!parseSignal(text, signal)) {
                error = "--signal takes FREQ:LEVEL, for example 1.2G:-30";
                return false;
            }
            options.signals.push_back(signal);
        } else if (arg == "--memories") {
            if (!number(n, 0, 100))
                return false;
            options.memories = static_cast<int>(n);
        } else if (arg == "--fault") {
            FaultRule rule{};
            if (!value(text))
                return false;
            if (!parseFault(text, rule)) {
                error = "bad --fault: " + text;
                return false;
            }
            options.faults.push_back(rule);
        } else if (arg == "--picture") {
            if (!value(options.picturePath))
                return false;
        } else if (arg == "--prt-noise") {
            options.prtNoise = true;
        } else if (arg == "--prt-capital") {
            if (!number(options.prtCapitalBand, 0, 21))
                return false;
        } else if (arg == "--prt-tail") {
            if (!number(options.prtTail, 0, 10000000))
                return false;
        } else if (arg == "--stall-ms") {
            if (!number(options.stallMs, 0, 600000))
                return false;
        } else if (arg == "--auto-ms") {
            if (!number(options.autoTuneMs, 0, 600000))
                return false;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

} // namespace sim
