#pragma once
// Level bytes to levels, display arrays and axis settings of the trace graph.

#include <cstdint>

namespace display {

inline constexpr int kDisplayPositions = 1001; // X positions 0..1000 at zoom x1
inline constexpr int kTopByte = 200;           // level byte drawn on the top grid line

// Point count of a trace kind: 251, 1001, or 0 for an empty slot or an unknown kind.
int PointsOfKind(int kind);

// Full level range R in byte-formula units: 160 at 2 dB/div, 800 at 10 dB/div.
int FullRange(int scaleIndex);

// Level of a byte: top - (200 - b) * R / 2000.
double ByteLevel(uint8_t b, double top, int scaleIndex);

// Fills the 1001 display positions from a trace of `points` points (251 or 1001): a 251-point
// trace puts point j at positions 4j..4j+3 and point 250 at position 1000. Other counts draw the
// flat bottom line.
void FillDisplayArray(const uint8_t* bytes, int points, double top, int scaleIndex,
                      double out[kDisplayPositions]);

struct AxisRange {
    double minimum;
    double maximum;
};

// Y axis window for the unscrolled top level, the scale and the vertical zoom and scroll.
AxisRange YAxisRange(double top, int scaleIndex, int yZoom, int yScroll);
// Major tick interval of the Y axis in dB: eight divisions of the visible range.
double YTickInterval(int scaleIndex, int yZoom);
// Visible X positions at a horizontal zoom: 1000, 500, 250 or 125.
int VisibleWidth(int xZoom);
// Major tick interval of the X axis: ten divisions.
double XTickInterval(int xZoom);

// The values of a display array that are plotted: all 1001 at zoom x1, else VisibleWidth + 1
// values from `xScroll` (clamped so the window stays inside the array).
struct PlotWindow {
    int first;
    int count;
};
PlotWindow VisiblePlotWindow(int xZoom, int xScroll);

// Largest valid scroll positions.
int MaxXScroll(int xZoom);
int MaxYScroll(int yZoom);
int ClampZoom(int zoom);

} // namespace display
