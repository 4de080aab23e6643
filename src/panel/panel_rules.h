#pragma once
// The panel's value rules as plain functions: limits, clamping, list positions.

#include "value_limits.h"

namespace panelrules {

// Highest centre frequency of a model (0 = RVX410, 1 = RVX420), Hz.
double CenterFreqLimit(int modelIndex);
// 0 .. the model's limit; anything not above 0 (negative zero included) becomes 0.
double ClampCenterFreq(double hz, int modelIndex);

// The full span: "Full" (14) on RVX410, "FULL" (15) on RVX420.
int FullSpanIndex(int modelIndex);
bool IsFullSpan(int modelIndex, int spanIndex);
// Spans that exclude 10 ms sweeps: "Full" on RVX410; "5G" and "FULL" on RVX420.
bool SpanExcludesFastSweep(int modelIndex, int spanIndex);

inline constexpr double kOffsetMin = valuelimits::kOffsetMin;
inline constexpr double kOffsetMax = valuelimits::kOffsetMax;
double ClampOffset(double dB);
// Offset spin position for a one-decimal offset: offset x 10 + 500, within 0..1000.
int OffsetSpinPosition(double dB);

// Accepted range of the displayed reference: unit offset - 60 .. unit offset + 10, shifted by the
// rounded level offset.
struct ReferenceRange {
    int lo;
    int hi;
};
ReferenceRange ReferenceRangeFor(int unitOffset, double levelOffset);
// The whole part of a typed reference value, clamped into the range.
int ClampReference(double typed, ReferenceRange range);

// Number list position for a sweep count: 0 selects "**" (10); otherwise the count's power of two
// ("2" at 0 .. "1024" at 9), at most "256" (7) in Average.
int CountListPosition(int count, bool average);

} // namespace panelrules
