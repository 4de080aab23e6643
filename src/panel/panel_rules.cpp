#include "panel_rules.h"

#include "level_units.h"
#include "number_text.h"
#include "value_limits.h"

#include <climits>
#include <cmath>

namespace panelrules {

double CenterFreqLimit(int modelIndex) {
    return valuelimits::centerFreqMax(modelIndex);
}

double ClampCenterFreq(double hz, int modelIndex) {
    if (!(hz > 0.0)) // also NaN and -0
        return 0.0;
    const double limit = CenterFreqLimit(modelIndex);
    return hz > limit ? limit : hz;
}

int FullSpanIndex(int modelIndex) {
    return modelIndex == 1 ? 15 : 14;
}

bool IsFullSpan(int modelIndex, int spanIndex) {
    return spanIndex == FullSpanIndex(modelIndex);
}

bool SpanExcludesFastSweep(int modelIndex, int spanIndex) {
    (void)modelIndex; // "Full" is 14 on RVX410; "5G" 14 and "FULL" 15 on RVX420
    return spanIndex >= 14;
}

double ClampOffset(double dB) {
    if (std::isnan(dB))
        return 0.0;
    if (dB < kOffsetMin)
        return kOffsetMin;
    if (dB > kOffsetMax)
        return kOffsetMax;
    return dB;
}

int OffsetSpinPosition(double dB) {
    // The offset carries one decimal; rounding keeps 2.3 dB at 523 despite binary fractions.
    return clampToInt(std::round(ClampOffset(dB) * 10.0) + 500.0, 0, 1000);
}

ReferenceRange ReferenceRangeFor(int unitOffset, double levelOffset) {
    // Offsets beyond the panel's range count as its ends; the sums are taken wide and kept in int.
    const long long shift = levelunits::roundReference(0.0, ClampOffset(levelOffset));
    const auto toInt = [](long long v) {
        return static_cast<int>(v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : v));
    };
    return {toInt(unitOffset - 60LL + shift), toInt(unitOffset + 10LL + shift)};
}

int ClampReference(double typed, ReferenceRange range) {
    if (std::isnan(typed))
        return range.lo;
    return clampToInt(std::trunc(typed), range.lo, range.hi);
}

int CountListPosition(int count, bool average) {
    if (count == 0 && !average)
        return 10;
    const int kEnd = average ? 8 : 11;
    int k = 1;
    int n = count;
    while (k < kEnd) {
        n /= 2;
        if (n == 1)
            break;
        ++k;
    }
    return k - 1;
}

} // namespace panelrules
