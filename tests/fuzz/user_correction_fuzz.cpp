// User correction text: the first byte picks the table, the scale, the impedance and the span.
#include "fuzz_support.h"
#include "level_units.h"
#include "user_correction.h"

#include <algorithm>

void FuzzInput(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return;
    const int kind = data[0] & 1 ? usercorrection::kProbe : usercorrection::kAntenna;
    gSettings.scaleIndex = (data[0] >> 1) & 1;
    gSettings.impedanceIndex = (data[0] >> 2) & 1;
    gSettings.spanIndex = (data[0] >> 3) % 15;
    const std::string text = FuzzText(data + 1, size - 1, kUserTextSize - 1);
    char* field = kind == usercorrection::kAntenna ? gSettings.efUserText : gSettings.mfUserText;
    std::memcpy(field, text.c_str(), text.size() + 1);
    const int entries = ParseUserCorrection(kind);
    FuzzRequire(entries >= 0 && entries <= kUserTableRows, "at most ten entries");
    FuzzCheckRecord();
    // Centred on each row the text gave, so the interpolation runs over the table's own band.
    const int* freq =
        kind == usercorrection::kAntenna ? gSettings.efUserFreq : gSettings.mfUserFreq;
    for (int row = 0; row < entries; ++row) {
        gSettings.centerFreq = freq[row] > 0 ? std::min(freq[row] * 1.0e5, 3.3e9) : 1.0e9;
        if (kind == usercorrection::kAntenna)
            computeAntennaReference(levelunits::kUserAntenna);
        else
            computeProbeReference(levelunits::kUserProbe);
        FuzzCheckRecord();
    }
}
