// parseSI, and formatSI of its value and of the first eight bytes as a double (NaN, denormals).
#include "fuzz_support.h"
#include "number_text.h"

#include <cmath>

// Every prefix mode with the input's number of decimals, into the full buffer and a small one.
static void FormatEverywhere(double value, int decimals, std::size_t small) {
    char out[kSITextSize + 8];
    for (int mode = -5; mode <= 11; ++mode) {
        std::memset(out, 'x', sizeof out);
        formatSI(out, kSITextSize, value, decimals, mode);
        FuzzRequire(std::strlen(out) < kSITextSize, "formatSI text fits kSITextSize");
        FuzzRequire(out[kSITextSize] == 'x', "formatSI writes nothing past its buffer");
        double back = 0;
        FuzzRequire(parseSI(out, &back) == 1, "formatSI text reads back");
        std::memset(out, 'x', sizeof out);
        formatSI(out, small, value, decimals, mode);
        FuzzRequire(out[small] == 'x', "formatSI keeps to a small buffer");
        if (small > 0)
            FuzzRequire(std::strlen(out) < small, "formatSI terminates a small buffer");
    }
    char integer[24];
    formatInteger(integer, sizeof integer, clampToInt(value, -2000000000, 2000000000), 10, 1);
}

void FuzzInput(const uint8_t* data, std::size_t size) {
    double value = 0;
    const int result = parseSI(reinterpret_cast<const char*>(data), size, &value);
    FuzzRequire(std::isfinite(value), "parseSI result finite");
    FuzzRequire(result == (size > 0 && data[0] != '\0' ? 1 : 0),
                "parseSI result 0 only for an empty text");
    // The last byte picks the decimals (-1..10) and the small buffer's size (0..7).
    const uint8_t pick = size > 0 ? data[size - 1] : 0;
    const int decimals = pick % 12 - 1;
    const std::size_t small = (pick >> 4) % 8;
    FormatEverywhere(value, decimals, small);
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        FormatEverywhere(raw, decimals, small);
    }
}
