#include "peak_table.h"

#include "trace_levels.h"

#include <algorithm>
#include <cstdio>

namespace display {

std::vector<PeakRow> BuildPeakTable(const PeakSearchInput& input, int count, const AxisFrame& frame,
                                    double top, int scaleIndex) {
    PeakEntry entries[kMaxPeakRows];
    const int found = PeakList(input, std::clamp(count, 1, kMaxPeakRows), entries);
    std::vector<PeakRow> rows;
    rows.reserve(static_cast<size_t>(found));
    for (int i = 0; i < found; ++i) {
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
