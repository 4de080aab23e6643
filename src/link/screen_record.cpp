#include "screen_record.h"

#include "instrument_settings.h"
#include "keyword_match.h"
#include "keyword_tables.h"
#include "link_state.h"
#include "reply_text.h"
#include "value_limits.h"

#include <cstring>

namespace {

constexpr int kValueMax = 19;

// The labelled value: from `offset` characters after the label's first character up to the next
// CR, spaces dropped, at most 19 characters. Never reads past the text's end.
void LabelValue(const char* label, int offset, char (&value)[kValueMax + 1]) {
    const char* p = label;
    for (int i = 0; i < offset && *p != '\0'; ++i) {
        ++p;
    }
    int n = 0;
    for (; *p != '\0' && *p != '\r'; ++p) {
        if (*p != ' ' && n < kValueMax) {
            value[n++] = *p;
        }
    }
    value[n] = '\0';
}

// Position of the keyword of `table` that equals `value` whole (letters without regard to case).
template <std::size_t N> int WholeKeyword(const char* value, const char* const (&table)[N]) {
    return keywords::matchWholeKeyword(value, table);
}

int SpanKeywordOfModel(const char* value) {
    const int model = gSettings.modelIndex;
    return keywords::matchWholeKeyword(value, static_cast<std::size_t>(-1),
                                       keywords::spanTable(model), keywords::spanCount(model), 0,
                                       keywords::spanCount(model) - 1);
}

struct UnitWord {
    const char* word;
    int unit;
    int kind;
};
constexpr UnitWord kUnitWords[] = {
    {"dBm\r", 0, 30}, {"dBuV/m", 4, 28}, {"dBuV", 1, 32}, {"dBmV", 2, 34},
    {"dBV", 3, 36},   {"dBuA/m", 5, 29}, {"dBu{", 4, 28}, {"dBu|", 5, 29},
};

void DecodeUnit(const char* text, TraceRecord& record) {
    for (const UnitWord& u : kUnitWords) {
        if (std::strstr(text, u.word) != nullptr) {
            record.recordUnitBits = (record.recordUnitBits & ~0xFu) | static_cast<uint32_t>(u.unit);
            record.recordKind = u.kind;
            return;
        }
    }
}

// "ST": the last three characters name the detector, those before them begin with the sweep.
void DecodeSweepAndDetector(const char* value, TraceRecord& record) {
    const size_t length = std::strlen(value);
    if (length < 3) {
        return;
    }
    const int detector = WholeKeyword(value + length - 3, keywords::kDetector);
    if (detector >= 0) {
        record.recordDetectorIndex = detector;
    }
    char sweep[kValueMax + 1];
    std::memcpy(sweep, value, length - 3);
    sweep[length - 3] = '\0';
    const int best = keywords::matchKeyword(sweep, keywords::kSweep);
    if (best >= 0) {
        record.recordSweepIndex = best;
    }
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int HexValue(char c) {
    if (c <= '9') {
        return c - '0';
    }
    return (c | 0x20) - 'a' + 10;
}

// Points after "TRACE": two hexadecimal digits and a separator each; the walk moves three
// characters per point and stops at the end of the text.
int gLastPoints = 0;

void DecodePoints(const char* p, int points) {
    InstrumentSettings& s = gSettings;
    uint8_t* current = s.traceRecord.tracePoints;
    const int slot = s.activeTraceSlot;
    uint8_t* slotRow = (slot >= 0 && slot < kTraceSlots) ? s.traceStore[slot] : nullptr;
    if (points < 0) {
        points = 0;
    }
    int maxPoints = points + points / 250 + 1;
    if (maxPoints > static_cast<int>(sizeof s.traceRecord.tracePoints)) {
        maxPoints = static_cast<int>(sizeof s.traceRecord.tracePoints);
    }
    int stored = 0;
    int unchanged = 0;
    while (*p != '\0' && stored < maxPoints) {
        if (static_cast<unsigned char>(*p) < '0') {
            ++p;
            continue;
        }
        unsigned value = 0;
        for (const char* q = p; *q != '\0'; ++q) {
            if (*q == ' ' || *q == '\t') {
                continue;
            }
            if (!IsHexDigit(*q)) {
                break;
            }
            value = ((value << 4) | static_cast<unsigned>(HexValue(*q))) & 0xFFu;
        }
        const auto v = static_cast<uint8_t>(value);
        if (current[stored] == v) {
            ++unchanged;
        }
        current[stored] = v;
        if (slotRow != nullptr) {
            slotRow[stored] = v;
        }
        ++stored;
        for (int i = 0; i < 3 && *p != '\0'; ++i) {
            ++p;
        }
    }
    // Unchanged means every point came back as it was; the analyzer sends one point more than
    // the nominal count (251 for 250), so "exactly n equal" would count a trace with one changed
    // point and never an identical one.
    if (stored >= points && unchanged == stored && s.unchangedTraceCount < 10) {
        ++s.unchangedTraceCount;
    }
    gLastPoints = stored;
}

} // namespace

int LastScreenRecordPoints() {
    return gLastPoints;
}

void ParseScreenRecord(int points) {
    gLastPoints = 0;
    InstrumentSettings& s = gSettings;
    TraceRecord& record = s.traceRecord;
    const char* text = gLink.rxBuffer;
    char value[kValueMax + 1];

    const char* label = std::strstr(text, "CF");
    if (label == nullptr) {
        return;
    }
    LabelValue(label, 3, value);
    double centre = 0.0;
    if (ReplyNumber(value, &centre) && valuelimits::isFrequency(centre)) {
        record.recordCenterFreq = centre;
    }

    if ((label = std::strstr(text, "SP")) == nullptr) {
        return;
    }
    LabelValue(label, 3, value);
    const int span = SpanKeywordOfModel(value);
    if (span >= 0) {
        record.recordSpanIndex = span;
    }

    if ((label = std::strstr(text, "RF")) == nullptr &&
        (label = std::strstr(text, "\nR")) == nullptr) {
        return;
    }
    LabelValue(label, 2, value);
    int reference = 0;
    if (ReplyInteger(value, &reference)) {
        valuelimits::storeInRange(&record.recordRefLevel, reference,
                                  valuelimits::kRecordRefLevelMin, valuelimits::kRecordRefLevelMax);
    }

    DecodeUnit(text, record);

    if ((label = std::strstr(text, "ST")) == nullptr) {
        return;
    }
    LabelValue(label, 3, value);
    DecodeSweepAndDetector(value, record);

    if ((label = std::strstr(text, "RB")) == nullptr) {
        return;
    }
    LabelValue(label, 3, value);
    const int rbw = WholeKeyword(value, keywords::kRbw);
    if (rbw >= 0) {
        record.recordRbwIndex = rbw;
    }

    if ((label = std::strstr(text, "VB")) == nullptr) {
        return;
    }
    LabelValue(label, 3, value);
    const int vbw = WholeKeyword(value, keywords::kVbw);
    if (vbw >= 0) {
        record.recordVbwIndex = vbw;
    }

    if ((label = std::strstr(text, "SC")) == nullptr) {
        return;
    }
    // Read straight from the text: spaces stay.
    const char* scale = label;
    for (int i = 0; i < 3 && *scale != '\0'; ++i) {
        ++scale;
    }
    int divisions = 0;
    if (ReplyInteger(scale, &divisions)) {
        if (divisions == 2) {
            record.recordScaleIndex = 0;
        } else if (divisions == 10) {
            record.recordScaleIndex = 1;
        }
    }

    if ((label = std::strstr(text, "TRACE")) == nullptr) {
        return;
    }
    const char* trace = label;
    for (int i = 0; i < 5 && *trace != '\0'; ++i) {
        ++trace;
    }
    DecodePoints(trace, points);
}
