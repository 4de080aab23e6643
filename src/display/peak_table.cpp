#include "peak_table.h"

#include "trace_levels.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace display {
namespace {
constexpr int kSameTopPoints = 4; // as far as the peak test looks to each side
} // namespace

std::vector<PeakRow> BuildPeakTable(const PeakSearchInput& input, int count, const AxisFrame& frame,
                                    double top, int scaleIndex) {
    count = std::clamp(count, 1, kMaxPeakRows);
    // The search may find one top twice (the highest point and a neighbour of it); the table
    // lists a top once, so it asks for more than it shows.
    PeakEntry entries[kMaxPeakRows * 3];
    const int found = PeakList(input, count * 3, entries);
    std::vector<PeakRow> rows;
    rows.reserve(static_cast<size_t>(count));
    std::vector<int> points;
    for (int i = 0; i < found && static_cast<int>(rows.size()) < count; ++i) {
        const int point = entries[i].point;
        if (std::any_of(points.begin(), points.end(),
                        [point](int p) { return std::abs(p - point) <= kSameTopPoints; }))
            continue;
        points.push_back(point);
        PeakRow row;
        row.position = entries[i].position;
        row.x = frame.zeroSpan ? PositionToTime(frame, row.position)
                               : SnapToZero(PositionToFrequency(frame, row.position));
        row.level = ByteLevel(input.points[entries[i].point], top, scaleIndex);
        row.delta = rows.empty() ? 0.0 : row.level - rows.front().level;
        rows.push_back(row);
    }
    return rows;
}

std::string PeakTableCsv(const std::vector<PeakRow>& rows, bool zeroSpan, const char* unit) {
    std::string text = std::string("Peak,") + (zeroSpan ? "Time (s)" : "Frequency (Hz)") +
                       ",Level (" + unit + "),Delta (dB)\r\n";
    char line[128];
    for (size_t i = 0; i < rows.size(); ++i) {
        std::snprintf(line, sizeof line, "%zu,%.10g,%.2f,%.2f\r\n", i + 1, rows[i].x, rows[i].level,
                      rows[i].delta);
        text += line;
    }
    return text;
}

const char* DisplayUnitName(int displayUnit) {
    static const char* const kNames[] = {"dBm", "dBuV", "dBmV", "dBV", "dBuV/m", "dBuA/m"};
    return (displayUnit >= 0 && displayUnit < 6) ? kNames[displayUnit] : "dBm";
}

} // namespace display
