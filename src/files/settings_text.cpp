#include "settings_text.h"

#include "instrument_settings.h"
#include "keyword_tables.h"
#include "number_text.h"
#include "user_correction.h"
#include "value_limits.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

namespace settingstext {

const char* const kReaderKeys[kReaderKeyCount] = {
    "Com port : ",
    "Baud rate : ",
    "Detailed trace : ",
    "Trace ",
    "Cursor ",
    "Scale line color : ",
    "Back ground color : ",
    "EF user data : ",
    "MF user data : ",
    "Center frequency : ",
    "Span : ",
    "Reference level : ",
    "Reference unit : ",
    "Reference offset : ",
    "Impedance : ",
    "Sweep time : ",
    "Detection : ",
    "RBW : ",
    "VBW : ",
    "Marker mode : ",
    "Peak search mode : ",
    "Zone position : ",
    "Zone width : ",
    "Marker frequency : ",
    "Peak search ZCF : ",
    "Peak search ZW : ",
    "Conversion : ",
    "Measurement mode : ",
    "CP mode : ",
    "CP Center frequency : ",
    "CP zone width : ",
    "ACP mode : ",
    "ACP reference CF : ",
    "ACP refeence BW : ",
    "ACP ADJ CH offset : ",
    "ACP ADJ CH BW : ",
    "OBW mode : ",
    "OBW ratio : ",
    "OBW down : ",
    "EF mode : ",
    "MF mode : ",
    "Calcuration : ",
    "Max hold : ",
    "Min hold : ",
    "Average hold : ",
    "Scale : ",
    "Start window size : ",
    "Start setup : ",
    "Remote : ",
    "Timeout : ",
    "Interval : ",
    "Model : ",
    "Spurious : ",
};

namespace {

// The RVX410 upper frequency limit: the model always reads as RVX410.
constexpr double kMaxCenterFreq = valuelimits::kCenterFreqMax410;
// Frequencies without a stated limit still stay within a band no analyzer reaches, so that a
// damaged value can neither overflow the conversions nor bloat the file written at exit.
constexpr double kMaxAnyFreq = valuelimits::kFreqMax;
// The reader's keys whose lines follow the E/F and the M/F user text.
constexpr int kKeyAfterEfText = 8; // "MF user data : "
constexpr int kKeyAfterMfText = 9; // "Center frequency : "
// The port index that leaves the port closed.
constexpr int kClosedPortIndex = 8;

enum class Kind {
    Index,      // integer; a value outside lo..hi keeps the current one
    Clamped,    // integer clamped into lo..hi
    Port,       // port index; outside 0..7 leaves the port closed
    Color,      // hexadecimal colour
    Frequency,  // parseSI; outside dlo..dhi keeps the current one
    Limited,    // parseSI clamped into dlo..dhi
    UserText,   // correction text up to the line end, then parsed
    AlwaysZero, // the field is set to 0 whatever the value
    Stem,       // colour stems, read by their numbered forms
};

struct KeyRule {
    Kind kind;
    int* intField = nullptr;
    double* doubleField = nullptr;
    uint32_t* colorField = nullptr;
    char* textField = nullptr;
    int lo = 0;
    int hi = 0;
    double dlo = 0.0;
    double dhi = 0.0;
    int correctionKind = 0;
};

KeyRule Index(int* field, int lo, int hi) {
    return {Kind::Index, field, nullptr, nullptr, nullptr, lo, hi};
}
KeyRule Clamped(int* field, int lo, int hi) {
    return {Kind::Clamped, field, nullptr, nullptr, nullptr, lo, hi};
}
// Centres and offsets may be negative; widths (lo = 0) may not.
KeyRule Frequency(double* field, double lo = -kMaxAnyFreq) {
    return {Kind::Frequency, nullptr, field, nullptr, nullptr, 0, 0, lo, kMaxAnyFreq};
}
KeyRule Limited(double* field, double lo, double hi) {
    return {Kind::Limited, nullptr, field, nullptr, nullptr, 0, 0, lo, hi};
}
KeyRule Color(uint32_t* field) {
    return {Kind::Color, nullptr, nullptr, field};
}
KeyRule UserText(char* field, int correctionKind) {
    KeyRule rule{Kind::UserText, nullptr, nullptr, nullptr, field};
    rule.correctionKind = correctionKind;
    return rule;
}
KeyRule AlwaysZero(int* field) {
    return {Kind::AlwaysZero, field};
}
KeyRule Stem() {
    return {Kind::Stem};
}

// One rule per reader key, in the reader's order.
void BuildRules(KeyRule (&rules)[kReaderKeyCount]) {
    InstrumentSettings& s = gSettings;
    const KeyRule table[kReaderKeyCount] = {
        {Kind::Port, &s.comPortIndex, nullptr, nullptr, nullptr, 0, 7},
        Index(&s.baudIndex, 0, 5),
        Index(&s.detailedTrace, 0, 1),
        Stem(),
        Stem(),
        Color(&s.scaleLineColor),
        Color(&s.backgroundColor),
        UserText(s.efUserText, usercorrection::kAntenna),
        UserText(s.mfUserText, usercorrection::kProbe),
        Limited(&s.centerFreq, 0.0, kMaxCenterFreq),
        Index(&s.spanIndex, 0, keywords::count(keywords::kSpan410) - 1),
        Clamped(&s.refLevel, valuelimits::kRefLevelMin, valuelimits::kRefLevelMax),
        Index(&s.unitIndex, 0, 5),
        Limited(&s.levelOffset, valuelimits::kOffsetMin, valuelimits::kOffsetMax),
        Index(&s.impedanceIndex, 0, 1),
        Index(&s.sweepIndex, 0, keywords::count(keywords::kSweep) - 1),
        Index(&s.detectorIndex, 0, keywords::count(keywords::kDetector) - 1),
        Index(&s.rbwIndex, 0, keywords::count(keywords::kRbw) - 1),
        Index(&s.vbwIndex, 0, keywords::count(keywords::kVbw) - 1),
        Index(&s.markerMode, 0, keywords::count(keywords::kMarkerMode) - 1),
        Index(&s.peakMode, 0, keywords::count(keywords::kPeakMode) - 1),
        Clamped(&s.zonePosition, 0, 1001),
        Clamped(&s.zoneWidth, 0, 1001),
        Frequency(&s.normMarkerFreq),
        Frequency(&s.peakZoneCenter),
        Frequency(&s.peakZoneWidth, 0.0),
        Index(&s.conversionIndex, 0, keywords::count(keywords::kConversion) - 1),
        Index(&s.measureIndex, 0, keywords::count(keywords::kMeasure) - 1),
        Index(&s.cpMode, 0, keywords::count(keywords::kCpMode) - 1),
        Frequency(&s.cpCenter),
        Limited(&s.cpWidth, 0.0, kMaxCenterFreq),
        Index(&s.acpMode, 0, keywords::count(keywords::kAcpMode) - 1),
        Frequency(&s.acpRefCenter),
        Limited(&s.acpRefBw, 0.0, kMaxCenterFreq),
        Frequency(&s.acpOffset),
        Limited(&s.acpChannelBw, 0.0, kMaxCenterFreq),
        Index(&s.obwMode, 0, keywords::count(keywords::kObwMode) - 1),
        Limited(&s.obwRatio, valuelimits::kObwRatioMin, valuelimits::kObwRatioMax),
        Limited(&s.obwDb, valuelimits::kObwDbMin, valuelimits::kObwDbMax),
        Index(&s.antennaIndex, 0, keywords::count(keywords::kAntenna) - 1),
        Index(&s.probeIndex, 0, keywords::count(keywords::kProbe) - 1),
        Index(&s.calcIndex, 0, keywords::count(keywords::kCalc) - 1),
        Index(&s.maxCount, valuelimits::kCountMin, valuelimits::kCountMax),
        Index(&s.minCount, valuelimits::kCountMin, valuelimits::kCountMax),
        Index(&s.aveCount, valuelimits::kCountMin, valuelimits::kCountMax),
        Index(&s.scaleIndex, 0, keywords::count(keywords::kScale) - 1),
        Index(&s.startWindowState, 0, 2),
        Index(&s.startSetting, 0, 1),
        Index(&s.remoteState, 0, 1),
        Clamped(&s.timeOutSetting, 0, 200),
        Clamped(&s.intervalSetting, 50, 150),
        AlwaysZero(&s.modelIndex),
        AlwaysZero(&s.calcSpread),
    };
    std::copy(std::begin(table), std::end(table), std::begin(rules));
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Standard decimal conversion: white space (line ends too) skipped, an optional sign, digits up to
// the first non-digit; no digits gives 0. Saturates instead of overflowing.
long long ParseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    constexpr long long kCap = 1LL << 40;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(kCap, value * 10 + (text[i] - '0'));
    }
    return negative ? -value : value;
}

// The rest of the line: from `text` up to the first line end.
std::string_view LineRest(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && !IsLineEnd(text[end])) {
        ++end;
    }
    return text.substr(0, end);
}

// The rest of the line up to the first character that is not printable ASCII or a tab.
std::string_view PlainTextRest(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size()) {
        const auto c = static_cast<unsigned char>(text[end]);
        if (!((c >= 0x20 && c < 0x7F) || c == '\t')) {
            break;
        }
        ++end;
    }
    return text.substr(0, end);
}

double ParseNumber(std::string_view line) {
    double value = 0.0;
    parseSI(line.data(), line.size(), &value);
    return std::isfinite(value) ? value : 0.0;
}

void ApplyRule(const KeyRule& rule, std::string_view value) {
    switch (rule.kind) {
    case Kind::Index: {
        const long long v = ParseDecimal(value);
        if (v >= rule.lo && v <= rule.hi) {
            *rule.intField = static_cast<int>(v);
        }
        break;
    }
    case Kind::Clamped:
        *rule.intField =
            static_cast<int>(std::clamp<long long>(ParseDecimal(value), rule.lo, rule.hi));
        break;
    case Kind::Port: {
        const long long v = ParseDecimal(value);
        *rule.intField = (v >= rule.lo && v <= rule.hi) ? static_cast<int>(v) : kClosedPortIndex;
        break;
    }
    case Kind::Color:
        *rule.colorField = ParseColorText(value.data(), value.size()) & 0xFFFFFFu;
        break;
    case Kind::Frequency: {
        const double v = ParseNumber(LineRest(value));
        if (v >= rule.dlo && v <= rule.dhi) {
            *rule.doubleField = v;
        }
        break;
    }
    case Kind::Limited:
        *rule.doubleField = std::clamp(ParseNumber(LineRest(value)), rule.dlo, rule.dhi);
        break;
    case Kind::UserText: {
        // The text ends at the line end (or at anything else that is not plain text, which the
        // analyzer would not take); a longer text is cut to what the field holds.
        std::string_view line = PlainTextRest(value);
        line = line.substr(0, std::min<std::size_t>(line.size(), kUserTextSize - 1));
        std::memcpy(rule.textField, line.data(), line.size());
        rule.textField[line.size()] = '\0';
        ParseUserCorrection(rule.correctionKind);
        break;
    }
    case Kind::AlwaysZero:
        *rule.intField = 0;
        break;
    case Kind::Stem:
        break;
    }
}

// Parses the colour that starts `offset` characters after the start of a match.
uint32_t ColorAt(std::string_view text, std::size_t match, std::size_t offset) {
    const std::size_t start = std::min(text.size(), match + offset);
    return ParseColorText(text.data() + start, text.size() - start) & 0xFFFFFFu;
}

void AppendLine(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendLine(std::string& out, const char* format, ...) {
    char line[1024]; // the longest line is a user text: key, 511 characters, line end
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n > 0) {
        out.append(line, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof line - 1));
    }
}

// A user text as written: up to its terminator or its size, never past the first character that
// would break the line, and cut before the first key whose own line comes later in the file
// (from `firstLaterKey` of the reader's list on): each key is read at its first occurrence, so
// such a key inside the text would be read in place of its own line next time.
std::string_view StoredText(const char* field, int firstLaterKey) {
    std::size_t n = 0;
    while (n < kUserTextSize - 1 && field[n] != '\0') {
        ++n;
    }
    std::string_view text = PlainTextRest(std::string_view(field, n));
    for (int k = firstLaterKey; k < kReaderKeyCount; ++k) {
        text = text.substr(0, std::min(text.size(), text.find(kReaderKeys[k])));
    }
    return text;
}

// Frequencies keep their value in memory but never write more digits than a real one has.
double Writable(double value) {
    if (!std::isfinite(value)) {
        return 0.0;
    }
    return std::clamp(value, -kMaxAnyFreq, kMaxAnyFreq);
}

} // namespace

uint32_t ParseColorText(const char* text, std::size_t length) {
    uint32_t value = 0;
    bool digits = false;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t') {
            continue;
        }
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else if (c == 'H' || c == 'h' || digits) {
            break;
        } else {
            return 0;
        }
        value = value * 16u + digit;
        digits = true;
    }
    return value;
}

void ApplySettingsText(const char* data, std::size_t length) {
    const std::string_view text(data, length);
    KeyRule rules[kReaderKeyCount];
    BuildRules(rules);
    for (int k = 0; k < kReaderKeyCount; ++k) {
        const std::string_view key = kReaderKeys[k];
        const std::size_t match = text.find(key);
        if (match != std::string_view::npos) {
            ApplyRule(rules[k], text.substr(match + key.size()));
        }
    }
    char stem[32];
    for (int n = 1; n <= 10; ++n) {
        std::snprintf(stem, sizeof stem, "Trace %d", n);
        const std::size_t match = text.find(stem);
        if (match != std::string_view::npos) {
            gSettings.traceColor[n] = ColorAt(text, match, 16);
        }
    }
    for (int n = 1; n <= 6; ++n) {
        if (n <= 2) {
            std::snprintf(stem, sizeof stem, "Marker %d", n);
        } else {
            std::snprintf(stem, sizeof stem, "Cursor %d", n - 2);
        }
        const std::size_t match = text.find(stem);
        if (match != std::string_view::npos) {
            gSettings.markerColor[n] = ColorAt(text, match, 17);
        }
    }
}

std::string FormatSettingsText() {
    const InstrumentSettings& s = gSettings;
    std::string out;
    out.reserve(4096);
    AppendLine(out, "%s%d\r\n", "Com port : ", s.comPortIndex);
    AppendLine(out, "%s%d\r\n", "Baud rate : ", s.baudIndex);
    AppendLine(out, "%s%d\r\n", "Detailed trace : ", s.detailedTrace);
    for (int n = 1; n <= 10; ++n) {
        AppendLine(out, "%s%d color : %.6x\r\n", "Trace ", n, s.traceColor[n]);
    }
    for (int n = 1; n <= 2; ++n) {
        AppendLine(out, "Marker %d color : %.6x\r\n", n, s.markerColor[n]);
    }
    for (int n = 1; n <= 4; ++n) {
        AppendLine(out, "%s%d color : %.6x\r\n", "Cursor ", n, s.markerColor[n + 2]);
    }
    AppendLine(out, "%s%.6x\r\n", "Scale line color : ", s.scaleLineColor);
    AppendLine(out, "%s%.6x\r\n", "Back ground color : ", s.backgroundColor);
    const std::string_view ef = StoredText(s.efUserText, kKeyAfterEfText);
    const std::string_view mf = StoredText(s.mfUserText, kKeyAfterMfText);
    AppendLine(out, "%s%.*s\r\n", "EF user data : ", static_cast<int>(ef.size()), ef.data());
    AppendLine(out, "%s%.*s\r\n", "MF user data : ", static_cast<int>(mf.size()), mf.data());
    AppendLine(out, "%s%.0f\r\n", "Center frequency : ", Writable(s.centerFreq));
    AppendLine(out, "%s%d\r\n", "Span : ", s.spanIndex);
    AppendLine(out, "%s%d\r\n", "Reference level : ", s.refLevel);
    AppendLine(out, "%s%d\r\n", "Reference unit : ", s.unitIndex);
    AppendLine(out, "%s%.1f\r\n", "Reference offset : ", Writable(s.levelOffset));
    AppendLine(out, "%s%d\r\n", "Impedance : ", s.impedanceIndex);
    AppendLine(out, "%s%d\r\n", "Sweep time : ", s.sweepIndex);
    AppendLine(out, "%s%d\r\n", "Detection : ", s.detectorIndex);
    AppendLine(out, "%s%d\r\n", "RBW : ", s.rbwIndex);
    AppendLine(out, "%s%d\r\n", "VBW : ", s.vbwIndex);
    AppendLine(out, "%s%d\r\n", "Marker mode : ", s.markerMode);
    AppendLine(out, "%s%d\r\n", "Peak search mode : ", s.peakMode);
    AppendLine(out, "%s%d\r\n", "Zone position : ", s.zonePosition);
    AppendLine(out, "%s%d\r\n", "Zone width : ", s.zoneWidth);
    AppendLine(out, "%s%.0f\r\n", "Marker frequency : ", Writable(s.normMarkerFreq));
    AppendLine(out, "%s%.0f\r\n", "Peak search ZCF : ", Writable(s.peakZoneCenter));
    AppendLine(out, "%s%.0f\r\n", "Peak search ZW : ", Writable(s.peakZoneWidth));
    AppendLine(out, "%s%d\r\n", "Conversion : ", s.conversionIndex);
    AppendLine(out, "%s%d\r\n", "Measurement mode : ", s.measureIndex);
    AppendLine(out, "%s%d\r\n", "CP mode : ", s.cpMode);
    AppendLine(out, "%s%.0f\r\n", "CP Center frequency : ", Writable(s.cpCenter));
    AppendLine(out, "%s%.0f\r\n", "CP zone width : ", Writable(s.cpWidth));
    AppendLine(out, "%s%d\r\n", "ACP mode : ", s.acpMode);
    AppendLine(out, "%s%.0f\r\n", "ACP reference CF : ", Writable(s.acpRefCenter));
    AppendLine(out, "%s%.0f\r\n", "ACP refeence BW : ", Writable(s.acpRefBw));
    AppendLine(out, "%s%.0f\r\n", "ACP ADJ CH offset : ", Writable(s.acpOffset));
    AppendLine(out, "%s%.0f\r\n", "ACP ADJ CH BW : ", Writable(s.acpChannelBw));
    AppendLine(out, "%s%d\r\n", "OBW mode : ", s.obwMode);
    AppendLine(out, "%s%.1f\r\n", "OBW ratio : ", Writable(s.obwRatio));
    AppendLine(out, "%s%.1f\r\n", "OBW down : ", Writable(s.obwDb));
    AppendLine(out, "%s%d\r\n", "EF mode : ", s.antennaIndex);
    AppendLine(out, "%s%d\r\n", "MF mode : ", s.probeIndex);
    AppendLine(out, "%s%d\r\n", "Calcuration : ", s.calcIndex);
    AppendLine(out, "%s%d\r\n", "Max hold : ", s.maxCount);
    AppendLine(out, "%s%d\r\n", "Min hold : ", s.minCount);
    AppendLine(out, "%s%d\r\n", "Average hold : ", s.aveCount);
    AppendLine(out, "%s%d\r\n", "Scale : ", s.scaleIndex);
    AppendLine(out, "%s%d\r\n", "Start window size : ", s.startWindowState);
    AppendLine(out, "%s%d\r\n", "Start setup : ", s.startSetting);
    AppendLine(out, "%s%d\r\n", "Remote : ", s.remoteState);
    AppendLine(out, "%s%d\r\n", "Timeout : ", s.timeOutSetting);
    AppendLine(out, "%s%d\r\n", "Interval : ", s.intervalSetting);
    AppendLine(out, "%s%d\r\n", "Model : ", s.modelIndex);
    AppendLine(out, "%s%d\r\n", "Spurious : ", s.calcSpread);
    return out;
}

} // namespace settingstext
