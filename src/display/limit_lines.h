#pragma once
// Limit lines: an upper and a lower line, each a list of (frequency, level) points joined by
// straight lines, the judgement of a trace against them, and their comma-separated text form.

#include "axis_mapping.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace display {

struct LimitPoint {
    double frequency; // Hz
    double level;     // in the displayed unit
    bool operator==(const LimitPoint&) const = default;
};

// Sorted by frequency, each frequency once; empty (no line) or at least two points.
using LimitLine = std::vector<LimitPoint>;

inline constexpr int kMaxLimitPoints = 1000;
inline constexpr double kMaxLimitLevel = 1000;     // |level|, dB
inline constexpr double kMaxLimitFrequency = 1e12; // |frequency|, Hz

struct LimitCleanup {
    bool ok = false;
    std::string message; // why it was refused, or what the cleanup did ("" when nothing)
    LimitLine line;
};

// Checks and tidies points: every frequency and level must be finite and in range, and a line
// holds 2 .. kMaxLimitPoints points (none at all is an empty line). The points are sorted by
// frequency; of equal frequencies the first is kept.
LimitCleanup CleanLimitPoints(std::vector<LimitPoint> points);

// Reads a limit line from text: one "frequency,level" point a line (a semicolon or a tab also
// separates), the frequency in Hz with an optional k, M or G; blank lines and lines starting with
// '#' are skipped, and a first line that holds no number is taken as a heading. Any other line
// that is not two numbers refuses the whole text with its line number. Then CleanLimitPoints.
LimitCleanup ParseLimitCsv(std::string_view text);

// The text form ParseLimitCsv reads back: a heading, then one "frequency,level" line a point.
std::string LimitCsv(const LimitLine& line);

// Level of the line at f, linear between its neighbours; false outside the line's range.
bool LimitAt(const LimitLine& line, double f, double* level);

// The points of a trace with their frequencies: point j of a 1001-point trace at position j, of a
// 251-point trace at 4j, the whole trace whatever the zoom. Returns the point count (0 for an
// empty slot).
int TracePointLevels(const uint8_t* bytes, int kind, const AxisFrame& frame, double top,
                     int scaleIndex, double* frequencies, double* levels);

struct LimitVerdict {
    bool judged = false; // false when there is no line, or no point lies within a line's range
    bool pass = true;
    int failures = 0; // points above the upper or below the lower line
};
// Judges the points; a level exactly on a line passes. The indexes of the failing points go to
// `failing` when it is given (cleared first).
LimitVerdict JudgeTrace(const double* frequencies, const double* levels, int count,
                        const LimitLine& upper, const LimitLine& lower,
                        std::vector<int>* failing = nullptr);

struct GraphPoint {
    double x; // graph X: display position less the scroll
    double y; // level
};
// The part of a line inside the visible window, in graph coordinates, corners included and cut
// at the window's edges. Empty in zero span.
std::vector<GraphPoint> LimitPolyline(const LimitLine& line, const AxisFrame& frame);

} // namespace display
