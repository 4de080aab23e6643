#include "marker_readouts.h"

#include "display_model.h"

namespace display {

MarkerReadoutTexts MarkerReadouts(const AxisFrame& frame, const MarkerReadoutInput& in) {
    MarkerReadoutTexts t;
    if (frame.zeroSpan) {
        const double t1 = PositionToTime(frame, in.x1);
        const double t2 = PositionToTime(frame, in.x2);
        t.freq1 = FormatSi(in.markerMode == MarkerMode::Delta ? t1 - t2 : t1, 4, kAutoPrefix) + "s";
        t.freq2 = FormatSi(t2, 4, kAutoPrefix) + "s";
        t.levelsWritten = false;
        return t;
    }
    const double f1 = SnapToZero(PositionToFrequency(frame, in.x1));
    const double f2 = SnapToZero(PositionToFrequency(frame, in.x2));
    double l1 = in.level1;
    double l2 = in.level2;
    const bool linear = in.conversionIndex == 1;
    if (linear) {
        l1 = ConvertMarkerLevel(l1, in.displayUnit);
        l2 = ConvertMarkerLevel(l2, in.displayUnit);
    }
    auto level = [linear](double v) {
        return linear ? FormatSi(v, 4, kAutoPrefix) : FormatSi(v, 1, 0);
    };
    const bool delta = in.markerMode == MarkerMode::Delta;
    t.freq1 = FormatSi(delta ? f1 - f2 : f1, 4, kAutoPrefix);
    t.level1 = level(delta ? l1 - l2 : l1);
    t.freq2 = FormatSi(f2, 4, kAutoPrefix);
    t.level2 = level(l2);
    return t;
}

} // namespace display
