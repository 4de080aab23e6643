#include "settings_text.h"

#include "instrument_settings.h"
#include "keyword_tables.h"
#include "number_text.h"
#include "setting_fields.h"
#include "user_correction.h"
#include "value_limits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

namespace settingstext {

namespace {

// The file's own lines, which no setting row holds: they follow "Detailed trace : ".
constexpr std::string_view kBlockAfter = "Detailed trace : ";
constexpr const char* kBlockKeys[] = {
    "Trace ",          "Cursor ",        "Scale line color : ", "Back ground color : ",
    "EF user data : ", "MF user data : "};

} // namespace

const std::array<const char*, kReaderKeyCount> kReaderKeys = [] {
    std::array<const char*, kReaderKeyCount> keys{};
    std::size_t n = 0;
    auto add = [&](const char* key) {
        if (n < keys.size()) {
            keys[n++] = key;
        }
    };
    for (const fields::SettingField& f : fields::all()) {
        if (f.fileKey != nullptr) {
            add(f.fileKey);
            if (f.fileKey == kBlockAfter) {
                for (const char* key : kBlockKeys) {
                    add(key);
                }
            }
        }
    }
    return keys;
}();

namespace {

// Frequencies without a stated limit still stay within a band no analyzer reaches, so that a
// damaged value can neither overflow the conversions nor bloat the file written at exit.
constexpr double kMaxAnyFreq = valuelimits::kFreqMax;
// The port index that leaves the port closed.
constexpr int kClosedPortIndex = 8;

// The position in the reader's list of the key after `key`.
int KeyAfter(std::string_view key) {
    for (int k = 0; k < kReaderKeyCount; ++k) {
        if (kReaderKeys[static_cast<std::size_t>(k)] == key) {
            return k + 1;
        }
    }
    return kReaderKeyCount;
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

void ApplyField(const fields::SettingField& f, std::string_view value) {
    InstrumentSettings& s = gSettings;
    const auto lo = static_cast<long long>(f.file.lo);
    const auto hi = static_cast<long long>(f.file.hi);
    switch (f.fileRule) {
    case fields::FileRule::None:
        break;
    case fields::FileRule::Index: {
        const long long v = ParseDecimal(value);
        if (v >= lo && v <= hi) {
            s.*f.integer = static_cast<int>(v);
        }
        break;
    }
    case fields::FileRule::Clamped:
        s.*f.integer = static_cast<int>(std::clamp<long long>(ParseDecimal(value), lo, hi));
        break;
    case fields::FileRule::Port: {
        const long long v = ParseDecimal(value);
        s.*f.integer = (v >= lo && v <= hi) ? static_cast<int>(v) : kClosedPortIndex;
        break;
    }
    case fields::FileRule::Frequency: {
        const double v = ParseNumber(LineRest(value));
        if (v >= f.file.lo && v <= f.file.hi) {
            s.*f.number = v;
        }
        break;
    }
    case fields::FileRule::Limited:
        s.*f.number = std::clamp(ParseNumber(LineRest(value)), f.file.lo, f.file.hi);
        break;
    case fields::FileRule::AlwaysZero:
        s.*f.integer = 0;
        break;
    }
}

// The text ends at the line end (or at anything else that is not plain text, which the analyzer
// would not take); a longer text is cut to what the field holds.
void ApplyUserText(char* field, int correctionKind, std::string_view value) {
    std::string_view line = PlainTextRest(value);
    line = line.substr(0, std::min<std::size_t>(line.size(), kUserTextSize - 1));
    std::memcpy(field, line.data(), line.size());
    field[line.size()] = '\0';
    ParseUserCorrection(correctionKind);
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
        text = text.substr(
            0, std::min(text.size(), text.find(kReaderKeys[static_cast<std::size_t>(k)])));
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
    // The rest of the text after the first occurrence of `key`, if any.
    auto find = [&](std::string_view key, auto apply) {
        const std::size_t match = text.find(key);
        if (match != std::string_view::npos) {
            apply(text.substr(match + key.size()));
        }
    };
    for (const fields::SettingField& f : fields::all()) {
        if (f.fileKey != nullptr) {
            find(f.fileKey, [&](std::string_view value) { ApplyField(f, value); });
        }
    }
    InstrumentSettings& s = gSettings;
    find("Scale line color : ", [&](std::string_view value) {
        s.scaleLineColor = ParseColorText(value.data(), value.size()) & 0xFFFFFFu;
    });
    find("Back ground color : ", [&](std::string_view value) {
        s.backgroundColor = ParseColorText(value.data(), value.size()) & 0xFFFFFFu;
    });
    find("EF user data : ", [&](std::string_view value) {
        ApplyUserText(s.efUserText, usercorrection::kAntenna, value);
    });
    find("MF user data : ", [&](std::string_view value) {
        ApplyUserText(s.mfUserText, usercorrection::kProbe, value);
    });
    char stem[32];
    for (int n = 1; n <= 10; ++n) {
        std::snprintf(stem, sizeof stem, "Trace %d", n);
        const std::size_t match = text.find(stem);
        if (match != std::string_view::npos) {
            s.traceColor[n] = ColorAt(text, match, 16);
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
            s.markerColor[n] = ColorAt(text, match, 17);
        }
    }
}

namespace {

// The colour and user-text lines of the file.
void AppendBlock(std::string& out) {
    const InstrumentSettings& s = gSettings;
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
    const std::string_view ef = StoredText(s.efUserText, KeyAfter("EF user data : "));
    const std::string_view mf = StoredText(s.mfUserText, KeyAfter("MF user data : "));
    AppendLine(out, "%s%.*s\r\n", "EF user data : ", static_cast<int>(ef.size()), ef.data());
    AppendLine(out, "%s%.*s\r\n", "MF user data : ", static_cast<int>(mf.size()), mf.data());
}

} // namespace

std::string FormatSettingsText() {
    std::string out;
    out.reserve(4096);
    for (const fields::SettingField& f : fields::all()) {
        if (f.fileKey == nullptr) {
            continue;
        }
        char format[32];
        std::snprintf(format, sizeof format, "%%s%s\r\n", f.fileFormat);
        if (f.number != nullptr) {
            AppendLine(out, format, f.fileKey, Writable(gSettings.*f.number));
        } else {
            AppendLine(out, format, f.fileKey, gSettings.*f.integer);
        }
        if (f.fileKey == kBlockAfter) {
            AppendBlock(out);
        }
    }
    return out;
}

} // namespace settingstext
