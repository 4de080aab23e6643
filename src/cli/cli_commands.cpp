#include "cli_commands.h"

#include "acquisition.h"
#include "all_settings.h"
#include "bmp_file.h"
#include "command_set.h"
#include "field_changes.h"
#include "hard_copy_decoding.h"
#include "hard_copy_transfer.h"
#include "instrument_settings.h"
#include "keyword_tables.h"
#include "level_units.h"
#include "link_poller.h"
#include "link_state.h"
#include "link_view.h"
#include "live_link.h"
#include "memory_operations.h"
#include "modes.h"
#include "panel_rules.h"
#include "port_names.h"
#include "reply_text.h"
#include "serial_port.h"
#include "trace_file.h"
#include "trace_operations.h"
#include "trace_recording.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QSaveFile>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace cli {

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kUsage[] =
    "Usage: orvel-cli [--port DEV] [--baud N] [--model 410|420] [--timeout PERCENT] COMMAND ...\n"
    "\n"
    "The port is DEV, else $ORVEL_COM1, else /dev/ttyUSB0. DEV may be tcp://HOST:PORT (a raw TCP\n"
    "serial server such as ser2net). --baud is one of 2400 4800 9600 19200 38400 57600 (default\n"
    "19200); --model is the analyzer's model (default 410); --timeout scales the read time-outs\n"
    "as the setup sheet's \"Time out\" does (10..200, default 100).\n"
    "\n"
    "Commands:\n"
    "  info [--json]             model, version and every setting (All Reading)\n"
    "  set NAME VALUE ...        centre|center (Hz, k/M/G allowed), span, rbw, vbw, reference\n"
    "                            (dBm), unit, offset (dB), sweep, detector, scale, calc, by the\n"
    "                            analyzer's keywords (span 20M, rbw 30K, sweep 0.1, calc AVE);\n"
    "                            numbers are clamped as the panel clamps them\n"
    "  trace [--detailed] [--count N] [--csv FILE | --json FILE | --dat FILE]\n"
    "                            N traces (default 1) by the capture handshake; one summary\n"
    "                            line each; the file holds the last (--json: all of them)\n"
    "  record [--detailed] --seconds S FILE\n"
    "                            appends every trace for S seconds (or until Ctrl-C) to a\n"
    "                            recording CSV\n"
    "  split RECORDING.csv DIR   a recording back as trace files DIR/traceNNNN.csv (no port)\n"
    "  hardcopy FILE.png|FILE.bmp  the analyzer's screen\n"
    "  memory recall N [--csv FILE | --dat FILE]   memory N (0..99)\n"
    "  memory save A-B DIR [--csv]                 memories A..B into DIR/traceNN.dat (.csv)\n"
    "  memory erase A-B [--trace] [--param]        erase traces and/or parameter sets (both)\n"
    "  raw \"LINE\"                sends LINE with CR LF and prints the reply\n"
    "\n"
    "Exit status: 0 success, 2 bad argument (unknown command or option, value out of range),\n"
    "3 port not found, not a serial device, busy, or nothing listening, 4 no answer (or a reply\n"
    "cut short, the line dropped), 5 the analyzer refused (\"ERR\"), 6 a file could not be\n"
    "written, 1 anything else.\n";

// A failure that ends the run: its message (one line on standard error) and status.
struct Failure {
    int status;
    std::string message;
};

[[noreturn]] void Fail(int status, std::string message) {
    throw Failure{status, std::move(message)};
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool ParseInt(const std::string& text, long lo, long hi, long* out) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) {
        return false;
    }
    *out = v;
    return true;
}

// A finite number with an optional k, M or G.
bool ParseNumber(const std::string& text, double* out) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) {
        return false;
    }
    if (*end == 'k' || *end == 'K') {
        v *= 1e3;
        ++end;
    } else if (*end == 'M') {
        v *= 1e6;
        ++end;
    } else if (*end == 'G') {
        v *= 1e9;
        ++end;
    }
    if (*end != '\0' || !std::isfinite(v)) {
        return false;
    }
    *out = v;
    return true;
}

// Position of `word` (any case) in a keyword table, -1 when absent.
int KeywordIndex(const char* const* table, int count, const std::string& word) {
    for (int i = 0; i < count; ++i) {
        if (EqualsNoCase(word.c_str(), table[i])) {
            return i;
        }
    }
    return -1;
}

std::string KeywordList(const char* const* table, int count) {
    std::string list;
    for (int i = 0; i < count; ++i) {
        list += (i ? " " : "") + std::string(table[i]);
    }
    return list;
}

const char* KeywordAt(const char* const* table, int count, int index) {
    return index >= 0 && index < count ? table[index] : "?";
}

int SpanCount(int model) {
    return model == 1 ? keywords::count(keywords::kSpan420) : keywords::count(keywords::kSpan410);
}

// --- Options ---

struct Options {
    std::string port;
    int baudIndex = 3;
    int modelIndex = 0;
    int timeOut = 100;
    std::vector<std::string> args; // the command and its arguments
};

Options ParseGlobal(int argc, char** argv) {
    Options o;
    int i = 1;
    auto value = [&](const char* name) -> std::string {
        if (i + 1 >= argc) {
            Fail(kExitUsage, std::string(name) + " needs a value");
        }
        return argv[++i];
    };
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(kExitOk);
        } else if (a == "--port") {
            o.port = value("--port");
        } else if (a == "--baud") {
            long baud = 0;
            const std::string v = value("--baud");
            const auto* end = std::end(keywords::kBaudRate);
            const auto* at = ParseInt(v, 1, 10000000, &baud)
                                 ? std::find(std::begin(keywords::kBaudRate), end, baud)
                                 : end;
            if (at == end) {
                Fail(kExitUsage, "--baud " + v + ": one of 2400 4800 9600 19200 38400 57600");
            }
            o.baudIndex = static_cast<int>(at - std::begin(keywords::kBaudRate));
        } else if (a == "--timeout") {
            long percent = 0;
            const std::string v = value("--timeout");
            if (!ParseInt(v, 10, 200, &percent)) {
                Fail(kExitUsage, "--timeout " + v + ": a percentage from 10 to 200");
            }
            o.timeOut = static_cast<int>(percent);
        } else if (a == "--model") {
            const std::string v = value("--model");
            if (v != "410" && v != "420") {
                Fail(kExitUsage, "--model " + v + ": 410 or 420");
            }
            o.modelIndex = v == "420" ? 1 : 0;
        } else if (a.rfind("--", 0) == 0 && o.args.empty()) {
            Fail(kExitUsage, "unknown option " + a + " (see --help)");
        } else {
            o.args.assign(argv + i, argv + argc);
            break;
        }
    }
    if (o.args.empty()) {
        Fail(kExitUsage, "no command (see --help)");
    }
    return o;
}

// Options of a command: flags, options with a value, and the rest in order.
struct CommandArgs {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    bool Has(const std::string& name) const {
        return std::any_of(options.begin(), options.end(),
                           [&](const auto& o) { return o.first == name; });
    }
    std::string Get(const std::string& name) const {
        for (const auto& o : options) {
            if (o.first == name) {
                return o.second;
            }
        }
        return {};
    }
};

CommandArgs ParseCommand(const std::vector<std::string>& args,
                         const std::vector<std::string>& flags,
                         const std::vector<std::string>& valued) {
    CommandArgs out;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            out.positional.push_back(a);
        } else if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
            out.options.emplace_back(a, "");
        } else if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
            if (i + 1 >= args.size()) {
                Fail(kExitUsage, args[0] + ": " + a + " needs a value");
            }
            out.options.emplace_back(a, args[++i]);
        } else {
            Fail(kExitUsage, args[0] + ": unknown option " + a + " (see --help)");
        }
    }
    return out;
}

// --- The link ---

// Receives the link's calls; every trace that arrives is passed on.
std::string gDevice;
// Set while Run() checks the arguments: each command returns once its arguments are checked,
// before any traffic.
bool gCheckOnly = false;
// Ctrl-C or SIGTERM during an acquisition: it ends as Hold ends it, the analyzer quieted.
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) {
    gInterrupted = 1;
}

bool ReplyFailed() {
    const char* rx = gLink.rxBuffer;
    return std::strcmp(rx, "Read error") == 0 || std::strcmp(rx, "Write error") == 0 ||
           BeginsWithNoCase(rx, "ERR");
}

// The status of a failed transaction from what it left in rxBuffer.
[[noreturn]] void FailTransaction(const std::string& what) {
    if (BeginsWithNoCase(gLink.rxBuffer, "ERR")) {
        Fail(kExitRefused, what + ": the analyzer refused it (ERR)");
    }
    if (PortHungUp()) {
        Fail(kExitNoAnswer, what + ": the line to " + gDevice + " was closed");
    }
    Fail(kExitNoAnswer, what + ": no answer from the analyzer on " + gDevice);
}

void Send(int code, const std::string& what) {
    if (SendCommand(code) == 0) {
        FailTransaction(what);
    }
}

void OpenLink(const Options& o) {
    InstrumentSettings& s = gSettings;
    SetDefaultSettings();
    if (!o.port.empty()) {
        ::setenv("ORVEL_COM1", o.port.c_str(), 1);
    }
    s.comPortIndex = 0;
    s.baudIndex = o.baudIndex;
    s.modelIndex = o.modelIndex;
    s.timeOutSetting = o.timeOut;
    s.requiredFileFound = 1;
    gDevice = PortDevicePath(0);
    CommPort(portop::kOpen);
    if (gLink.comHandle != 1) {
        struct stat st {};
        if (gDevice.rfind("tcp://", 0) == 0) {
            Fail(kExitPort, gDevice + ": no connection (bad address or nothing listening)");
        } else if (::stat(gDevice.c_str(), &st) != 0) {
            Fail(kExitPort, gDevice + ": no such device");
        } else if (S_ISDIR(st.st_mode)) {
            Fail(kExitPort, gDevice + ": is a directory, not a serial device");
        } else if (!S_ISCHR(st.st_mode)) {
            Fail(kExitPort, gDevice + ": is not a serial device");
        }
        Fail(kExitPort, gDevice + ": cannot be opened (busy, not a terminal or no permission)");
    }
    SetPortTimeouts(portprofile::kShort);
    // What an earlier session left on the line (a late "COMP") would spoil the presence reply; a
    // flooding line is read for a second at most.
    DiscardRestOfReply(1, 1000);
    s.instrumentPresent = CheckPresence();
    if (s.instrumentPresent == 0) {
        if (PortHungUp()) {
            Fail(kExitNoAnswer, "the line to " + gDevice + " was closed");
        }
        Fail(kExitNoAnswer, "no answer from the analyzer on " + gDevice);
    }
}

// The settings a trace's export and level arithmetic need, read as All Reading reads them.
void ReadTraceSettings() {
    static constexpr int kQueries[] = {query::kFreq,      query::kSpan,    query::kRef,
                                       query::kOffset,    query::kUnit,    query::kMeas,
                                       query::kEfAntenna, query::kMfProbe, query::kCalc,
                                       query::kScale,     query::kSweep};
    SetPortTimeouts(portprofile::kLong);
    for (int code : kQueries) {
        Send(code, "reading the settings");
    }
    SetPortTimeouts(portprofile::kShort);
}

// --- Output ---

void WriteFile(const QString& path, const QByteArray& bytes) {
    if (!tracefile::WriteWhole(path, bytes)) {
        Fail(kExitFile, path.toStdString() + ": could not be written");
    }
}

std::string JsonTrace(const InstrumentSettings& s, const QString& time) {
    const QByteArray fields = RecordingRowFields(s);
    const QList<QByteArray> parts = fields.split(',');
    std::string out =
        "{\"time\":\"" + time.toStdString() + "\",\"center\":" + parts.value(0).toStdString() +
        ",\"span\":\"" + parts.value(1).toStdString() + "\",\"rbw\":\"" +
        parts.value(2).toStdString() + "\",\"vbw\":\"" + parts.value(3).toStdString() +
        "\",\"reference\":" + parts.value(4).toStdString() + ",\"unit\":\"" +
        parts.value(5).toStdString() + "\",\"levels\":[";
    for (int i = 6; i < parts.size(); ++i) {
        out += (i > 6 ? "," : "") + parts[i].toStdString();
    }
    return out + "]}";
}

// The file a Save would write for the last trace: the record (.dat) or the export (.csv).
QByteArray TraceFileBytes(bool dat) {
    InstrumentSettings& s = gSettings;
    tracefile::FillRecordFromSettings(s.traceRecord, s);
    return dat ? tracefile::EncodeRecord(s.traceRecord)
               : tracefile::ExportText(s.traceRecord.tracePoints,
                                       tracefile::SaveAxis(s.traceRecord, s));
}

void PrintTraceSummary(int n) {
    const InstrumentSettings& s = gSettings;
    TraceRecord record = s.traceRecord;
    tracefile::FillRecordFromSettings(record, s);
    const tracefile::ExportAxis axis = tracefile::SaveAxis(record, s);
    int best = 0;
    for (int i = 1; i < axis.points; ++i) {
        if (record.tracePoints[i] > record.tracePoints[best]) {
            best = i;
        }
    }
    std::printf("trace %d: %d points, peak %.2f %s at %.0f\n", n, axis.points,
                tracefile::PointLevel(axis, record.tracePoints[best]),
                keywords::kUnit[axis.unitCode >= 0 && axis.unitCode <= 5 ? axis.unitCode : 0],
                tracefile::PointFrequency(axis, best));
    std::fflush(stdout);
}

// --- Commands ---

void PrintInfo(bool json) {
    const InstrumentSettings& s = gSettings;
    const int m = s.modelIndex == 1 ? 1 : 0;
    struct Field {
        const char* name;
        std::string value;
        bool text;
    };
    char number[64];
    auto fmt = [&](const char* f, double v) {
        std::snprintf(number, sizeof number, f, v);
        return std::string(number);
    };
    using namespace keywords;
    const std::vector<Field> fields = {
        {"model", kModelName[m], true},
        {"version", s.versionText, true},
        {"center", fmt("%.0f", s.centerFreq), false},
        {"span", KeywordAt(spanTable(m), SpanCount(m), s.spanIndex), true},
        {"reference", fmt("%.0f", s.refLevel), false},
        {"offset", fmt("%.1f", s.levelOffset), false},
        {"unit", KeywordAt(kUnit, 6, s.unitIndex), true},
        {"rbw", KeywordAt(kRbw, count(kRbw), s.rbwIndex), true},
        {"vbw", KeywordAt(kVbw, count(kVbw), s.vbwIndex), true},
        {"sweep", KeywordAt(kSweep, count(kSweep), s.sweepIndex), true},
        {"detector", KeywordAt(kDetector, count(kDetector), s.detectorIndex), true},
        {"scale", KeywordAt(kScale, count(kScale), s.scaleIndex), true},
        {"calculation", KeywordAt(kCalc, count(kCalc), s.calcIndex), true},
        {"max_count", fmt("%.0f", s.maxCount), false},
        {"min_count", fmt("%.0f", s.minCount), false},
        {"average_count", fmt("%.0f", s.aveCount), false},
        {"measure", KeywordAt(kMeasure, count(kMeasure), s.measureIndex), true},
        {"marker", KeywordAt(kMarkerMode, count(kMarkerMode), s.markerMode), true},
        {"peak", KeywordAt(kPeakMode, count(kPeakMode), s.peakMode), true},
        {"conversion", KeywordAt(kConversion, count(kConversion), s.conversionIndex), true},
        {"impedance", s.impedanceIndex == 1 ? "75" : "50", false},
        {"remote", s.remoteState == 1 ? "ON" : "OFF", true},
    };
    if (json) {
        std::string out = "{";
        for (size_t i = 0; i < fields.size(); ++i) {
            std::string v = fields[i].value;
            if (fields[i].text) {
                std::string quoted = "\"";
                for (char c : v) {
                    if (c == '"' || c == '\\') {
                        quoted += '\\';
                    }
                    quoted += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
                }
                v = quoted + "\"";
            }
            out += (i ? "," : "") + std::string("\"") + fields[i].name + "\":" + v;
        }
        std::printf("%s}\n", out.c_str());
        return;
    }
    for (const Field& f : fields) {
        std::printf("%-14s %s\n", (std::string(f.name) + ":").c_str(), f.value.c_str());
    }
}

int CommandInfo(const CommandArgs& a) {
    if (!a.positional.empty()) {
        Fail(kExitUsage, "info: unexpected argument " + a.positional[0]);
    }
    if (gCheckOnly) {
        return kExitOk;
    }
    SetPortTimeouts(portprofile::kLong);
    ReadAllSettings();
    SetPortTimeouts(portprofile::kShort);
    if (gSettings.instrumentPresent == 0) {
        Fail(kExitNoAnswer, "no answer from the analyzer on " + gDevice);
    }
    PrintInfo(a.Has("--json"));
    return kExitOk;
}

// One setting of `set`, checked before anything is sent.
struct Setting {
    std::string name;
    std::string value;
    int index = -1;    // keyword settings
    double number = 0; // numeric settings
};

std::vector<Setting> CheckSettings(const std::vector<std::string>& words, int model) {
    using namespace keywords;
    if (words.empty() || words.size() % 2 != 0) {
        Fail(kExitUsage, "set: NAME VALUE pairs expected (see --help)");
    }
    struct Table {
        const char* name;
        const char* const* table;
        int count;
    };
    const Table tables[] = {
        {"span", spanTable(model), SpanCount(model)},
        {"rbw", kRbw, count(kRbw)},
        {"vbw", kVbw, count(kVbw)},
        {"unit", kUnit, 4}, // the field units follow the measuring function
        {"sweep", kSweep, count(kSweep)},
        {"detector", kDetector, count(kDetector)},
        {"scale", kScale, count(kScale)},
        {"calc", kCalc, count(kCalc)},
    };
    std::vector<Setting> out;
    for (size_t i = 0; i < words.size(); i += 2) {
        Setting s{Lower(words[i]), words[i + 1]};
        if (s.name == "center" || s.name == "centre") {
            s.name = "centre";
        } else if (s.name == "calculation") {
            s.name = "calc";
        } else if (s.name == "ref") {
            s.name = "reference";
        }
        if (s.name == "centre" || s.name == "reference" || s.name == "offset") {
            if (!ParseNumber(s.value, &s.number)) {
                Fail(kExitUsage, "set " + s.name + ": " + s.value + " is not a number");
            }
            out.push_back(s);
            continue;
        }
        const Table* t = std::find_if(std::begin(tables), std::end(tables),
                                      [&](const Table& x) { return s.name == x.name; });
        if (t == std::end(tables)) {
            Fail(kExitUsage, "set: unknown setting " + words[i] +
                                 " (centre span rbw vbw reference unit offset sweep detector "
                                 "scale calc)");
        }
        s.index = KeywordIndex(t->table, t->count, s.value);
        if (s.index < 0) {
            Fail(kExitUsage, "set " + s.name + ": " + s.value + " is not one of " +
                                 KeywordList(t->table, t->count));
        }
        out.push_back(s);
    }
    return out;
}

void ApplySetting(const Setting& set) {
    InstrumentSettings& s = gSettings;
    const std::string what = "set " + set.name;
    PauseAcquisition();
    if (set.name == "centre") {
        s.centerFreq = panelrules::ClampCenterFreq(set.number, s.modelIndex);
        Send(cmd::kFreq, what);
    } else if (set.name == "offset") {
        s.levelOffset = panelrules::ClampOffset(set.number) + 0.0;
        Send(cmd::kOffset, what);
    } else if (set.name == "reference") {
        // A reference in dBm: the range follows the level offset the analyzer has now.
        Send(query::kOffset, what);
        const panelrules::ReferenceRange range = panelrules::ReferenceRangeFor(0, s.levelOffset);
        const int shown = panelrules::ClampReference(set.number, range);
        s.refLevel = shown - levelunits::roundReference(0.0, s.levelOffset);
        Send(cmd::kRef, what);
    } else if (set.name == "span") {
        const bool wasFull = panelrules::IsFullSpan(s.modelIndex, s.spanIndex);
        s.spanIndex = set.index;
        Send(cmd::kSpan, what);
        if (panelrules::IsFullSpan(s.modelIndex, set.index)) {
            s.centerFreq = panelrules::CenterFreqLimit(s.modelIndex) / 2.0;
        } else if (wasFull) {
            Send(query::kFreq, what);
        }
    } else if (set.name == "rbw") {
        s.rbwIndex = set.index;
        Send(cmd::kRbw, what);
    } else if (set.name == "vbw") {
        s.vbwIndex = set.index;
        Send(cmd::kVbw, what);
    } else if (set.name == "unit") {
        s.unitIndex = set.index;
        Send(cmd::kUnit, what);
    } else if (set.name == "sweep") {
        const int old = s.sweepIndex;
        s.sweepIndex = set.index;
        Send(cmd::kSweep, what);
        // The analyzer changes the detector when sweeps cross 0.1 s.
        if (set.index < 2 || (old < 2 && set.index >= 2)) {
            Send(query::kDetector, what);
        }
    } else if (set.name == "detector") {
        s.detectorIndex = set.index;
        Send(cmd::kDetector, what);
    } else if (set.name == "scale") {
        s.scaleIndex = set.index;
        Send(cmd::kScale, what);
    } else if (set.name == "calc") {
        s.calcIndex = set.index;
        if (set.index >= 1 && set.index <= 3) {
            const int counts[] = {0, query::kMaxCount, query::kMinCount, query::kAveCount};
            Send(counts[set.index], what);
        }
        Send(cmd::kCalc, what);
    }
}

int CommandSet(const CommandArgs& a) {
    const std::vector<Setting> settings = CheckSettings(a.positional, gSettings.modelIndex);
    if (gCheckOnly) {
        return kExitOk;
    }
    // What the clamps depend on is the analyzer's, not the defaults.
    if (std::any_of(settings.begin(), settings.end(),
                    [](const Setting& x) { return x.name == "span" || x.name == "sweep"; })) {
        Send(query::kSpan, "set");
        Send(query::kSweep, "set");
    }
    for (const Setting& set : settings) {
        ApplySetting(set);
        std::printf("%s %s: OK\n", set.name.c_str(), set.value.c_str());
    }
    return kExitOk;
}

// Runs acquisition as the program does after Run, until `enough` says stop or a trace is
// missed; `onTrace` gets each trace received.
void Acquire(bool detailed, const std::function<bool()>& enough,
             const std::function<void()>& onTrace) {
    InstrumentSettings& s = gSettings;
    bool failed = false;
    // Why the acquisition stopped, taken when it happens (what follows changes rxBuffer).
    int status = kExitNoAnswer;
    std::string reason;
    auto stop = [&](const char* why) {
        failed = true;
        if (PortHungUp()) {
            reason = "the line to " + gDevice + " was closed";
        } else if (BeginsWithNoCase(gLink.rxBuffer, "ERR")) {
            status = kExitRefused;
            reason = "the analyzer refused it (ERR)";
        } else {
            reason = why;
        }
    };
    // Each new trace is announced once it is drawn.
    const ChangeListener previous = SetChangeListener([&](FieldSet changed) {
        if (!changed.Any(Field::Trace)) {
            return;
        }
        if (!LiveScreenRecordTaken()) {
            stop("the screen record did not come whole");
            return;
        }
        onTrace();
    });
    struct Unregister {
        const ChangeListener& previous;
        ~Unregister() { SetChangeListener(previous); }
    } unregister{previous};
    s.detailedTrace = detailed ? 1 : 0;
    s.runState = 1;
    const bool periodic = modes::Accumulating(s);
    const int sweepMs =
        static_cast<int>(1000 * keywords::kSweepSeconds[std::clamp(s.sweepIndex, 0, 7)]);
    // A capture that takes far longer than its sweep has been lost.
    const auto captureLimit = std::chrono::milliseconds(10000 + 3 * sweepMs);
    if (periodic) {
        Send(cmd::kRunHold, "RUN");
    } else {
        ResumeAcquisition();
    }
    auto done = [&] { return gInterrupted != 0 || enough(); };
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    while (!failed && !done()) {
        if (periodic) {
            AcquireStep();
            const auto next = Clock::now() + std::chrono::milliseconds(PeriodicAcquisitionPeriod());
            while (!failed && !done() && Clock::now() < next) {
                WaitMilliseconds(50);
            }
            continue;
        }
        if (!CapturePending()) {
            stop("\"CAPT\" could not be written");
            break;
        }
        const auto end = Clock::now() + captureLimit;
        while (PortBytesWaiting() == 0 && !PortHungUp() && Clock::now() < end && !done()) {
            LinkSerialDevice().WaitReadable(50);
        }
        if (done()) {
            break;
        }
        if (PortHungUp() || Clock::now() >= end) {
            stop("no \"COMP\" from the analyzer");
            break;
        }
        CapturePollStep();
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    // As Hold does: a capture under way is quieted before the port is left.
    const bool hungUp = PortHungUp();
    if (!hungUp) {
        PauseAcquisition();
    }
    s.runState = 0;
    if (!failed && hungUp) {
        stop("");
    }
    if (failed) {
        Fail(status, "trace: " + reason + " (" + gDevice + ")");
    }
}

int CommandTrace(const CommandArgs& a) {
    long count = 1;
    if (a.Has("--count") && !ParseInt(a.Get("--count"), 1, 1000000, &count)) {
        Fail(kExitUsage, "trace --count " + a.Get("--count") + ": a whole number from 1");
    }
    const int outputs = a.Has("--csv") + a.Has("--json") + a.Has("--dat");
    if (outputs > 1 || !a.positional.empty()) {
        Fail(kExitUsage, "trace: at most one of --csv, --json, --dat and no other argument");
    }
    if (gCheckOnly) {
        return kExitOk;
    }
    ReadTraceSettings();
    int n = 0;
    std::string json = "[";
    Acquire(
        a.Has("--detailed"), [&] { return n >= count; },
        [&] {
            ++n;
            PrintTraceSummary(n);
            if (a.Has("--json")) {
                json += (n > 1 ? ",\n" : "") +
                        JsonTrace(gSettings,
                                  QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
            }
        });
    if (gInterrupted != 0) {
        Fail(kExitOther, "trace: interrupted after " + std::to_string(n) + " traces");
    }
    if (a.Has("--json")) {
        WriteFile(QString::fromStdString(a.Get("--json")), QByteArray::fromStdString(json + "]\n"));
    } else if (a.Has("--csv") || a.Has("--dat")) {
        const bool dat = a.Has("--dat");
        WriteFile(QString::fromStdString(a.Get(dat ? "--dat" : "--csv")), TraceFileBytes(dat));
    }
    return kExitOk;
}

int CommandRecord(const CommandArgs& a) {
    double seconds = 0;
    if (!ParseNumber(a.Get("--seconds"), &seconds) || seconds <= 0 || seconds > 1e7) {
        Fail(kExitUsage, "record: --seconds S (above 0) expected");
    }
    if (a.positional.size() != 1) {
        Fail(kExitUsage, "record: one FILE expected");
    }
    if (gCheckOnly) {
        return kExitOk;
    }
    ReadTraceSettings();
    TraceRecorder recorder;
    const QString path = QString::fromStdString(a.positional[0]);
    if (!recorder.Start(path, gSettings)) {
        Fail(kExitFile, a.positional[0] + ": " + recorder.error().toStdString());
    }
    const auto end =
        Clock::now() + std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    bool writeFailed = false;
    try {
        Acquire(
            a.Has("--detailed"), [&] { return writeFailed || Clock::now() >= end; },
            [&] { writeFailed = !recorder.Append(gSettings); });
    } catch (const Failure& f) {
        recorder.Stop();
        throw Failure{f.status, f.message + " (" + std::to_string(recorder.rows()) +
                                    " traces recorded in " + a.positional[0] + ")"};
    }
    recorder.Stop();
    if (writeFailed) {
        Fail(kExitFile, a.positional[0] + ": " + recorder.error().toStdString() +
                            " (recording stopped after " + std::to_string(recorder.rows()) +
                            " traces)");
    }
    std::printf("%d traces recorded in %s\n", recorder.rows(), a.positional[0].c_str());
    return kExitOk;
}

int CommandHardCopy(const CommandArgs& a) {
    if (a.positional.size() != 1) {
        Fail(kExitUsage, "hardcopy: one FILE.png or FILE.bmp expected");
    }
    const QString path = QString::fromStdString(a.positional[0]);
    const QString suffix = path.section(QLatin1Char('.'), -1).toLower();
    if (!path.contains(QLatin1Char('.')) ||
        (suffix != QLatin1String("png") && suffix != QLatin1String("bmp"))) {
        Fail(kExitUsage, "hardcopy: " + a.positional[0] + " must end in .png or .bmp");
    }
    if (gCheckOnly) {
        return kExitOk;
    }
    PauseAcquisition();
    HardCopyTransfer transfer;
    if (!transfer.Start()) {
        FailTransaction("hardcopy");
    }
    while (transfer.Tick()) {
        WaitMilliseconds(200);
    }
    const int kept = transfer.kept();
    if (!hardcopy::HardCopyComplete(gLink.rxBuffer, kept)) {
        if (transfer.receivedNothing()) {
            FailTransaction("hardcopy");
        }
        // The rest would otherwise reach the next exchange.
        DiscardRestOfReply(300, 10000);
        Fail(kExitNoAnswer, "hardcopy: the picture ended early (" + std::to_string(kept) +
                                " bytes); nothing written");
    }
    std::vector<uint8_t> pixels(hardcopy::kPixelBytes);
    hardcopy::DecodeHardCopy(gLink.rxBuffer, kept, pixels.data());
    QImage image(hardcopy::kWidth, hardcopy::kHeight, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < hardcopy::kHeight; ++y) {
        std::memcpy(image.scanLine(y),
                    pixels.data() + (hardcopy::kHeight - 1 - y) * hardcopy::kRowBytes,
                    hardcopy::kRowBytes);
    }
    bool saved = false;
    if (suffix == QLatin1String("bmp")) {
        saved = bmpfile::SaveBmp24(image.convertToFormat(QImage::Format_RGB32), path);
    } else {
        QSaveFile file(path);
        saved = file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
    }
    if (!saved) {
        Fail(kExitFile, a.positional[0] + ": could not be written");
    }
    std::printf("hard copy saved to %s\n", a.positional[0].c_str());
    return kExitOk;
}

void ParseRange(const std::string& text, int* a, int* b) {
    const auto dash = text.find('-');
    long x = 0;
    long y = 0;
    const bool ok = dash == std::string::npos
                        ? ParseInt(text, 0, 99, &x) && (y = x, true)
                        : ParseInt(text.substr(0, dash), 0, 99, &x) &&
                              ParseInt(text.substr(dash + 1), 0, 99, &y) && x <= y;
    if (!ok) {
        Fail(kExitUsage, "memory: " + text + " is not a range A-B within 0-99");
    }
    *a = static_cast<int>(x);
    *b = static_cast<int>(y);
}

int CommandMemory(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        Fail(kExitUsage, "memory: recall, save or erase expected");
    }
    const std::string verb = args[1];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (verb == "recall") {
        const CommandArgs a = ParseCommand(rest, {}, {"--csv", "--dat"});
        long n = 0;
        if (a.positional.size() != 1 || !ParseInt(a.positional[0], 0, 99, &n)) {
            Fail(kExitUsage, "memory recall: a memory number 0..99 expected");
        }
        if (gCheckOnly) {
            return kExitOk;
        }
        PauseAcquisition();
        const memory::RecallResult r = memory::RecallMemory(static_cast<int>(n));
        if (r == memory::RecallResult::Truncated) {
            Fail(kExitNoAnswer,
                 "memory recall: the record of memory " + a.positional[0] + " ended early");
        }
        if (r != memory::RecallResult::Recalled) {
            FailTransaction("memory recall");
        }
        const TraceRecord& rec = gSettings.traceRecord;
        if (a.Has("--csv") || a.Has("--dat")) {
            const bool dat = a.Has("--dat");
            const QByteArray bytes =
                dat ? tracefile::EncodeRecord(rec)
                    : tracefile::ExportText(rec.tracePoints,
                                            tracefile::MemoryAxis(rec, gSettings.modelIndex));
            WriteFile(QString::fromStdString(a.Get(dat ? "--dat" : "--csv")), bytes);
        }
        std::printf("memory %ld: centre %.0f, reference %d\n", n, rec.recordCenterFreq,
                    static_cast<int>(rec.recordRefLevel));
        return kExitOk;
    }
    if (verb == "save") {
        const CommandArgs a = ParseCommand(rest, {"--csv"}, {});
        if (a.positional.size() != 2) {
            Fail(kExitUsage, "memory save: A-B DIR expected");
        }
        int from = 0;
        int to = 0;
        ParseRange(a.positional[0], &from, &to);
        if (gCheckOnly) {
            return kExitOk;
        }
        const QString dir = QString::fromStdString(a.positional[1]);
        if (!QDir(dir).exists()) {
            Fail(kExitFile, a.positional[1] + ": no such folder");
        }
        PauseAcquisition();
        const traceops::BulkResult r = traceops::SaveMemoryRange(
            from, to, QDir(dir).filePath(a.Has("--csv") ? "trace.csv" : "trace.dat"));
        if (r.end == traceops::BulkResult::End::WriteFailed) {
            Fail(kExitFile, "memory save: a file in " + a.positional[1] + " could not be written");
        }
        if (r.end == traceops::BulkResult::End::NoAnswer) {
            FailTransaction("memory save");
        }
        std::printf("%d files written, %d empty memories skipped\n", r.written, r.skipped);
        return kExitOk;
    }
    if (verb == "erase") {
        const CommandArgs a = ParseCommand(rest, {"--trace", "--param"}, {});
        if (a.positional.size() != 1) {
            Fail(kExitUsage, "memory erase: A-B expected");
        }
        int from = 0;
        int to = 0;
        ParseRange(a.positional[0], &from, &to);
        if (gCheckOnly) {
            return kExitOk;
        }
        int kind =
            (a.Has("--trace") ? memory::kTraceBit : 0) | (a.Has("--param") ? memory::kParamBit : 0);
        if (kind == 0) {
            kind = memory::kTraceBit | memory::kParamBit;
        }
        PauseAcquisition();
        const int refused = memory::EraseMemories(from, to, kind);
        if (refused > 0) {
            if (ReplyFailed() && !BeginsWithNoCase(gLink.rxBuffer, "ERR")) {
                FailTransaction("memory erase");
            }
            Fail(kExitRefused, "memory erase: the analyzer refused " + std::to_string(refused) +
                                   " erase commands");
        }
        std::printf("memories %d-%d erased\n", from, to);
        return kExitOk;
    }
    Fail(kExitUsage, "memory: unknown command " + verb + " (recall, save or erase)");
}

int CommandRaw(const CommandArgs& a) {
    if (a.positional.size() != 1 || a.positional[0].empty() ||
        a.positional[0].size() >= kTxBufferSize - 3 ||
        a.positional[0].find_first_of("\r\n") != std::string::npos) {
        Fail(kExitUsage, "raw: one LINE expected (no line breaks)");
    }
    if (gCheckOnly) {
        return kExitOk;
    }
    if (RunHiddenCommand(a.positional[0].c_str()) == 0) {
        Fail(kExitUsage, "raw: a line beginning with HIDE is not sent");
    }
    std::printf("%s\n", gLink.rxBuffer);
    if (ReplyFailed()) {
        FailTransaction("raw");
    }
    return kExitOk;
}

} // namespace

int Run(int argc, char** argv) {
    try {
        const Options o = ParseGlobal(argc, argv);
        const std::string& command = o.args[0];
        // Arguments are checked before the port is touched.
        CommandArgs a;
        std::function<int()> run;
        if (command == "info") {
            a = ParseCommand(o.args, {"--json"}, {});
            run = [&] { return CommandInfo(a); };
        } else if (command == "set") {
            a = ParseCommand(o.args, {}, {});
            run = [&] { return CommandSet(a); };
        } else if (command == "trace") {
            a = ParseCommand(o.args, {"--detailed"}, {"--count", "--csv", "--json", "--dat"});
            run = [&] { return CommandTrace(a); };
        } else if (command == "record") {
            a = ParseCommand(o.args, {"--detailed"}, {"--seconds"});
            run = [&] { return CommandRecord(a); };
        } else if (command == "split") {
            a = ParseCommand(o.args, {}, {});
            if (a.positional.size() != 2) {
                Fail(kExitUsage, "split: RECORDING.csv DIR expected");
            }
            QString error;
            const int n = SplitRecording(QString::fromStdString(a.positional[0]),
                                         QString::fromStdString(a.positional[1]), &error);
            if (!error.isEmpty()) {
                Fail(kExitFile, error.toStdString() + " (" + std::to_string(n) + " files written)");
            }
            std::printf("%d trace files written to %s\n", n, a.positional[1].c_str());
            return kExitOk;
        } else if (command == "hardcopy") {
            a = ParseCommand(o.args, {}, {});
            run = [&] { return CommandHardCopy(a); };
        } else if (command == "memory") {
            run = [&] { return CommandMemory(o.args); };
        } else if (command == "raw") {
            a = ParseCommand(o.args, {}, {});
            run = [&] { return CommandRaw(a); };
        } else {
            Fail(kExitUsage, "unknown command " + command + " (see --help)");
        }
        gSettings.modelIndex = o.modelIndex;
        gCheckOnly = true;
        run();
        gCheckOnly = false;
        OpenLink(o);
        const int status = run();
        CommPort(portop::kClose);
        return status;
    } catch (const Failure& f) {
        if (gLink.comHandle == 1) {
            CommPort(portop::kClose);
        }
        std::fprintf(stderr, "orvel-cli: %s\n", f.message.c_str());
        return f.status;
    }
}

} // namespace cli
