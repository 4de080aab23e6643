#pragma once
// The rows of the peak table: the strongest peaks of the active trace by the markers' peak-search
// rules, with frequency (time in zero span), level and the distance to the strongest.

#include "axis_mapping.h"
#include "peak_search.h"

#include <string>
#include <vector>

namespace display {

inline constexpr int kMaxPeakRows = 20;
inline constexpr int kDefaultPeakRows = 10;

struct PeakRow {
    int position; // display position (where marker 1 goes)
    double x;     // frequency in Hz, or time in seconds in zero span
    double level; // displayed unit
    double delta; // level less the strongest peak's, dB
};

// Up to `count` (clamped to 1..kMaxPeakRows) rows in the order of the peak search; a peak within
// four points of one already listed (the same top found twice) is left out. `top` is the top
// level of the graph.
std::vector<PeakRow> BuildPeakTable(const PeakSearchInput& input, int count, const AxisFrame& frame,
                                    double top, int scaleIndex);

// The table as comma-separated text: a heading naming the unit, then one line a peak.
std::string PeakTableCsv(const std::vector<PeakRow>& rows, bool zeroSpan, const char* unit);

// Name of a display unit 0..5 ("dBm", "dBuV", "dBmV", "dBV", "dBuV/m", "dBuA/m").
const char* DisplayUnitName(int displayUnit);

} // namespace display
