#include "peak_search.h"

#include "instrument_settings.h"
#include "trace_levels.h"

#include <algorithm>

namespace display {
namespace {

constexpr int kSpikeSteps = 20; // a point this many steps above both neighbours is a peak

// Among its four neighbours on each side inside [lo, hi): >= the nearest, > the other three.
bool PassesNeighbourTest(const uint8_t* v, int k, int lo, int hi) {
    for (int d = 1; d <= 4; ++d) {
        if (k - d >= lo && (d == 1 ? v[k] < v[k - d] : v[k] <= v[k - d]))
            return false;
        if (k + d < hi && (d == 1 ? v[k] < v[k + d] : v[k] <= v[k + d]))
            return false;
    }
    return true;
}

bool StandsOut(const uint8_t* v, int k, int lo, int hi) {
    const bool hasLeft = k > lo;
    const bool hasRight = k + 1 < hi;
    if (!hasLeft && !hasRight)
        return false;
    if (hasLeft && v[k] - v[k - 1] <= kSpikeSteps)
        return false;
    if (hasRight && v[k] - v[k + 1] <= kSpikeSteps)
        return false;
    return true;
}

} // namespace

int PeakSearch(const PeakSearchInput& in, int n) {
    const int count = PointsOfKind(in.kind);
    if (count == 0 || in.points == nullptr)
        return 0;
    const int div = count == 251 ? 4 : 1;
    const int xZoom = ClampZoom(in.xZoom);
    const bool zoomed = xZoom > 0;
    const int xScroll = std::clamp(in.xScroll, 0, MaxXScroll(xZoom));

    int lo = 0;
    int hi = count;
    int base = 0;
    if (in.peakMode == 1) {
        // Wide arithmetic: the zone comes from the record and may hold anything.
        const long long centre = in.zonePosition / div + static_cast<long long>(xScroll / div);
        const long long half = in.zoneWidth / div;
        lo = static_cast<int>(std::clamp(centre - half, 0LL, static_cast<long long>(count)));
        hi = static_cast<int>(std::clamp(centre + half, 0LL, static_cast<long long>(count)));
        if (zoomed) {
            lo = std::max(lo, xScroll / div);
            hi = std::min(hi, (xScroll + VisibleWidth(xZoom)) / div + 1);
        }
        base = xScroll / div;
    } else if (zoomed) {
        const int width = VisibleWidth(xZoom) / div;
        lo = xScroll / div;
        hi = lo + width;
        if (hi > count) {
            lo -= hi - count;
            hi = count;
        }
        lo = std::max(lo, 0);
        base = lo;
    }

    int result = 0;
    if (lo < hi) {
        n = std::clamp(n, 0, count - 1 - lo);
        const uint8_t* v = in.points;

        // Peaks in trace order: the first highest point always, then the walk.
        int peaks[kDisplayPositions];
        bool isPeak[kDisplayPositions] = {};
        const int highest = static_cast<int>(std::max_element(v + lo, v + hi) - v);
        isPeak[highest] = true;
        for (int k = lo; k < hi;) {
            if (PassesNeighbourTest(v, k, lo, hi) || StandsOut(v, k, lo, hi)) {
                isPeak[k] = true;
                k += 2;
            } else {
                k += 1;
            }
        }
        int peakCount = 0;
        for (int k = lo; k < hi; ++k)
            if (isPeak[k])
                peaks[peakCount++] = k;

        // Exchange ordering: slot i takes any later peak that is higher than what it holds. Slots
        // without a peak only ever give way, so ordering the peaks alone gives the same sequence;
        // slots past n are never read.
        if (n < peakCount) {
            for (int i = 0; i <= n; ++i)
                for (int j = i + 1; j < peakCount; ++j)
                    if (v[peaks[j]] > v[peaks[i]])
                        std::swap(peaks[i], peaks[j]);
            const int p = peaks[n];
            int q = p + 1;
            while (q < hi && v[q] == v[p])
                ++q;
            result = p + (q - p) / 2;
        }
    }
    if (zoomed)
        result -= base;
    return result * div;
}

int PeakSearch(int n) {
    PeakSearchInput in;
    in.points = gSettings.traceRecord.tracePoints;
    const int slot = gSettings.activeTraceSlot;
    in.kind = (slot >= 0 && slot < kTraceSlots) ? gSettings.traceKind[slot] : 2;
    in.peakMode = gSettings.peakMode;
    in.zonePosition = gSettings.zonePosition;
    in.zoneWidth = gSettings.zoneWidth;
    in.xScroll = gSettings.xScroll;
    in.xZoom = gSettings.xZoom;
    return PeakSearch(in, n);
}

} // namespace display
