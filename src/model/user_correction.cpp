#include "user_correction.h"

#include "instrument_settings.h"
#include "number_text.h"
#include "value_limits.h"

#include <cmath>
#include <cstring>

namespace usercorrection {

namespace {
// The value rounded to whole units, stored only when the table can hold it.
void storeRounded(int* field, double value, int lo, int hi) {
    const double units = std::trunc(value + 0.5);
    if (valuelimits::inRange(units, static_cast<double>(lo), static_cast<double>(hi))) {
        *field = static_cast<int>(units);
    }
}
} // namespace

int parseCorrectionText(const char* text, std::size_t length, int kind, int* freq, int* gain) {
    if (text == nullptr || freq == nullptr || gain == nullptr ||
        (kind != kAntenna && kind != kProbe)) {
        return 0;
    }
    // The text ends at its end, a zero byte or the first carriage return.
    std::size_t end = 0;
    while (end < length && text[end] != '\0' && text[end] != '\r') {
        ++end;
    }
    if (end == 0) {
        return 0; // nothing to read: the table keeps its entries
    }
    const std::size_t afterColon = kind == kAntenna ? 3 : 2;
    std::size_t pos = 0;
    int entries = 0;
    for (int entry = 0; entry < kUserTableRows; ++entry) {
        double value = 0.0;
        parseSI(text + pos, end - pos, &value);
        storeRounded(&freq[entry], value / 100000.0, valuelimits::kUserFreqMin,
                     valuelimits::kUserFreqMax);
        ++entries;
        pos += 2;
        while (pos < end) {
            if (text[pos] == ':') {
                parseSI(text + pos + 1, end - pos - 1, &value);
                storeRounded(&gain[entry], value * 100.0, valuelimits::kUserGainMin,
                             valuelimits::kUserGainMax);
                pos += afterColon;
            }
            ++pos;
            if (pos < end && text[pos] == ',') {
                break;
            }
        }
        if (pos >= end) {
            break;
        }
    }
    return entries;
}

} // namespace usercorrection

int ParseUserCorrection(int kind) {
    using namespace usercorrection;
    int* freq = nullptr;
    int* gain = nullptr;
    const char* text = nullptr;
    if (kind == kAntenna) {
        freq = gSettings.efUserFreq;
        gain = gSettings.efUserGain;
        text = gSettings.efUserText;
    } else if (kind == kProbe) {
        freq = gSettings.mfUserFreq;
        gain = gSettings.mfUserGain;
        text = gSettings.mfUserText;
    } else {
        return 0;
    }
    // A new text replaces the whole table: rows of an earlier, longer table must not survive.
    for (int i = 0; i < kUserTableRows; ++i) {
        freq[i] = kEmptyEntry;
        gain[i] = kEmptyEntry;
    }
    return parseCorrectionText(text, kUserTextSize, kind, freq, gain);
}
