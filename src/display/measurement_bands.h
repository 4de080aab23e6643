#pragma once
// Band cursor positions of the measuring functions, the band frequencies that follow the axis,
// the occupied-bandwidth result text, the antenna bands and the parameter limits.

#include "axis_mapping.h"
#include "modes.h"

#include <string>

namespace display {

// Cursor numbers on the graph.
namespace cursor {
inline constexpr int kMarker1 = 1;
inline constexpr int kMarker2 = 2;
inline constexpr int kZoneRight = 3;
inline constexpr int kZoneLeft = 4;
inline constexpr int kRefCenter = 5;
inline constexpr int kRefUpper = 6;
inline constexpr int kRefLower = 7;
inline constexpr int kOffset1 = 8; // 8..11: the adjacent channel edges
} // namespace cursor

// Positions of cursors 5..11 (index 0 is cursor 5); `shown` says which ones carry a value.
struct BandCursors {
    double x[7] = {};
    bool valid[7] = {};
    int storedPositions[6] = {}; // what goes to measureBandPositions
};

// Channel power: centre and its edges.
BandCursors ChannelPowerCursors(const AxisFrame& frame, double cpCenter, double cpWidth,
                                const int previousPositions[6]);
// Adjacent channel power: reference centre `centerX` (its position, or the found peak in PEAK
// mode), its edges around the position of `acpRefCenter`, and the four adjacent channel edges.
BandCursors AcpCursors(const AxisFrame& frame, double acpRefCenter, double acpRefBw,
                       double acpOffset, double acpChannelBw, const int previousPositions[6]);

struct BandFrequencies {
    double cpCenter, cpWidth;
    double acpRefCenter, acpRefBw, acpOffset, acpChannelBw;
};
// Band frequencies from the stored positions on a new axis.
BandFrequencies FrequenciesFromPositions(const AxisFrame& frame, const int positions[6]);

// Reads "C:<centre> ... W:<width>" out of an occupied-bandwidth result. False (and nothing
// written) without "C:" at the start or without a number after either colon.
bool ParseObwResult(const char* text, double* centre, double* width);

// Where a field-strength antenna moves the centre when it lies outside the antenna's band.
struct AntennaBand {
    bool checked = false; // false: no band check (user table, unknown index)
    double lower = 0, upper = 0;
    double newCenter = 0;
    const char* centerText = "";
    const char* leftLabel = "";
    const char* rightLabel = "";
    int spanIndex = 0;
};
AntennaBand AntennaBandOf(int antennaIndex);

// Which choices the Measuring Function dialog offers.
struct MeasureDialogRules {
    bool bandFunctions = true;    // channel power, adjacent channel, occupied bandwidth
    bool at16Enabled = true;      // RVX420 only
    bool at16Visible = false;     // shown only where it can be chosen
    bool frequencyCounter = true; // not with a FULL span
};
MeasureDialogRules MeasureDialogRulesFor(int spanIndex, int modelIndex);

// Parameter edit limits; `LimitOf` returns false when the edit takes any value.
enum class MeasureEdit { BandCenter, BandWidth, RefCenter, RefWidth, ObwRatio, ObwDb };
bool LimitOf(MeasureEdit edit, double* lower, double* upper);
double ClampToLimit(MeasureEdit edit, double value);

} // namespace display

namespace display {

// A measuring function with its sub-choices, as the Measuring Function dialog offers them.
struct MeasureChoice {
    MeasureFunction function = MeasureFunction::Off;
    int cpMode = 0;
    int acpMode = 0;
    int obwMode = 0;
    int antennaIndex = 0;
    int probeIndex = 0;
    bool operator==(const MeasureChoice&) const = default;
};
MeasureChoice CurrentMeasureChoice();

} // namespace display
