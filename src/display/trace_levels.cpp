#include "trace_levels.h"

#include "trace_kinds.h"

#include <algorithm>

namespace display {

int PointsOfKind(int kind) {
    return tracekind::pointCount(kind);
}

int FullRange(int scaleIndex) {
    return scaleIndex == 0 ? 160 : 800;
}

double ByteLevel(uint8_t b, double top, int scaleIndex) {
    return top - (kTopByte - static_cast<int>(b)) * FullRange(scaleIndex) / 2000.0;
}

void FillDisplayArray(const uint8_t* bytes, int points, double top, int scaleIndex,
                      double out[kDisplayPositions]) {
    // One level per byte value, by the same formula as ByteLevel.
    double level[256];
    for (int b = 0; b < 256; ++b)
        level[b] = ByteLevel(static_cast<uint8_t>(b), top, scaleIndex);
    if (points == 1001) {
        for (int x = 0; x < kDisplayPositions; ++x)
            out[x] = level[bytes[x]];
    } else if (points == 251) {
        for (int j = 0; j < 250; ++j)
            out[4 * j] = out[4 * j + 1] = out[4 * j + 2] = out[4 * j + 3] = level[bytes[j]];
        out[1000] = level[bytes[250]];
    } else {
        std::fill(out, out + kDisplayPositions, level[0]);
    }
}

int ClampZoom(int zoom) {
    return std::clamp(zoom, 0, 3);
}

AxisRange YAxisRange(double top, int scaleIndex, int yZoom, int yScroll) {
    const int span = FullRange(scaleIndex) / 10; // dB shown at zoom x1
    yZoom = ClampZoom(yZoom);
    if (yZoom == 0)
        return {top - span, top};
    yScroll = std::clamp(yScroll, 0, MaxYScroll(yZoom));
    const double maximum = scaleIndex == 0 ? top - yScroll / 5 : top - yScroll;
    return {maximum - span / (1 << yZoom), maximum};
}

double YTickInterval(int scaleIndex, int yZoom) {
    const double base = scaleIndex == 0 ? 2.0 : 10.0;
    return base / (1 << ClampZoom(yZoom));
}

int VisibleWidth(int xZoom) {
    return 1000 >> ClampZoom(xZoom);
}

double XTickInterval(int xZoom) {
    return 100.0 / (1 << ClampZoom(xZoom));
}

int MaxXScroll(int xZoom) {
    return 1000 - VisibleWidth(xZoom);
}

int MaxYScroll(int yZoom) {
    return 80 - 80 / (1 << ClampZoom(yZoom));
}

PlotWindow VisiblePlotWindow(int xZoom, int xScroll) {
    if (ClampZoom(xZoom) == 0)
        return {0, kDisplayPositions};
    return {std::clamp(xScroll, 0, MaxXScroll(xZoom)), VisibleWidth(xZoom) + 1};
}

} // namespace display
