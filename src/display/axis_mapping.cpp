#include "axis_mapping.h"

#include "display_model.h"
#include "instrument_settings.h"
#include "trace_levels.h"

#include <algorithm>
#include <cmath>

namespace display {

AxisFrame CurrentAxisFrame() {
    AxisFrame frame;
    frame.centerFreq = gSettings.centerFreq;
    frame.spanStep = SpanStepHz();
    frame.xScroll = gSettings.xScroll;
    frame.xZoom = gSettings.xZoom;
    frame.zeroSpan = ZeroSpan();
    frame.sweepSeconds = SweepSeconds();
    return frame;
}

double PositionStep(const AxisFrame& frame) {
    const double step = frame.zeroSpan ? frame.sweepSeconds / 1000.0 : frame.spanStep;
    return (step > 0 && std::isfinite(step)) ? step : 1.0;
}

double PositionToFrequency(const AxisFrame& frame, double x) {
    return frame.centerFreq + (x - 500 + frame.xScroll) * frame.spanStep;
}

double PositionToTime(const AxisFrame& frame, double x) {
    return (x - 500 + frame.xScroll) * frame.sweepSeconds / 1000.0 + frame.sweepSeconds / 2;
}

double ClampPosition(const AxisFrame& frame, double x) {
    if (std::isnan(x))
        return 0;
    return std::clamp(x, 0.0, static_cast<double>(VisibleWidth(frame.xZoom) + 1));
}

double FrequencyToPosition(const AxisFrame& frame, double f) {
    const double step = PositionStep(frame);
    const double x = frame.zeroSpan ? f / step - frame.xScroll
                                    : (f - frame.centerFreq) / step + 500 - frame.xScroll;
    return ClampPosition(frame, x);
}

double WidthToPositions(const AxisFrame& frame, double width) {
    const double x = width / PositionStep(frame);
    return std::isfinite(x) ? x : 0;
}

int TruncToInt(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -1e9, 1e9));
}

double SnapToZero(double f) {
    return (f > -1 && f < 1) ? 0.0 : f;
}

AxisEndLabels FrequencyLabels(const AxisFrame& frame) {
    const int n = VisibleWidth(frame.xZoom);
    if (frame.zeroSpan) {
        const double t = frame.sweepSeconds;
        const double left = (frame.xScroll - 500) * t / 1000 + t / 2;
        const double right = (frame.xScroll + n - 500) * t / 1000 + t / 2;
        return {FormatSi(left, 4, kAutoPrefix) + "s", FormatSi(right, 4, kAutoPrefix) + "s"};
    }
    const double left = SnapToZero(frame.centerFreq + (frame.xScroll - 500) * frame.spanStep);
    const double right = frame.centerFreq + (frame.xScroll + n - 500) * frame.spanStep;
    return {FormatSi(left, 4, kAutoPrefix), FormatSi(right, 4, kAutoPrefix)};
}

} // namespace display
