#pragma once
// Display positions against frequency (or time in zero span) and the axis-end label texts.

#include <string>

namespace display {

// The frequency axis as the display sees it.
struct AxisFrame {
    double centerFreq = 0;   // Hz
    double spanStep = 0;     // Hz per display position
    int xScroll = 0;         // left edge of the visible part, positions
    int xZoom = 0;           // 0..3
    bool zeroSpan = false;   // time replaces frequency
    double sweepSeconds = 0; // sweep time, seconds (zero span)
};

// The frame of the current settings record.
AxisFrame CurrentAxisFrame();

// Frequency of position x: center + (x - 500 + xScroll) * step.
double PositionToFrequency(const AxisFrame& frame, double x);
// Time of position x in zero span: (x - 500 + xScroll) * T/1000 + T/2.
double PositionToTime(const AxisFrame& frame, double x);
// Position of a frequency (time in zero span), clamped to 0 .. n + 1 with n the visible width.
double FrequencyToPosition(const AxisFrame& frame, double f);
// Positions spanned by a width in Hz (seconds in zero span); 0 when the step is not positive.
double WidthToPositions(const AxisFrame& frame, double width);
// Clamps a position to 0 .. n + 1; not-a-number becomes 0.
double ClampPosition(const AxisFrame& frame, double x);
// Hz (or seconds) per position; never zero, so divisions stay finite.
double PositionStep(const AxisFrame& frame);

// A double truncated toward zero into an int, with not-a-number as 0 and huge values limited.
int TruncToInt(double value);

struct AxisEndLabels {
    std::string left;
    std::string right;
};
// The texts under the two ends of the X axis: frequencies, or times followed by "s".
AxisEndLabels FrequencyLabels(const AxisFrame& frame);

// Frequency readout: |f| < 1 shows as 0.
double SnapToZero(double f);

} // namespace display
