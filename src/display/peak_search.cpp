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

namespace {

// The search window over the trace points and how results map back to display positions.
struct Window {
    int count = 0; // trace points, 0 for an empty slot
    int div = 1;   // 4 for a 251-point trace
    int lo = 0;
    int hi = 0;
    int base = 0; // subtracted when zoomed
    bool zoomed = false;
};

Window SearchWindow(const PeakSearchInput& in) {
    Window w;
    w.count = in.points == nullptr ? 0 : PointsOfKind(in.kind);
    if (w.count == 0)
        return w;
    w.div = w.count == 251 ? 4 : 1;
    const int div = w.div;
    const int count = w.count;
    const int xZoom = ClampZoom(in.xZoom);
    w.zoomed = xZoom > 0;
    const int xScroll = std::clamp(in.xScroll, 0, MaxXScroll(xZoom));

    int lo = 0;
    int hi = count;
    int base = 0;
    if (in.peakMode == PeakMode::Zone) {
        // Wide arithmetic: the zone comes from the record and may hold anything.
        const long long centre = in.zonePosition / div + static_cast<long long>(xScroll / div);
        const long long half = in.zoneWidth / div;
        lo = static_cast<int>(std::clamp(centre - half, 0LL, static_cast<long long>(count)));
        hi = static_cast<int>(std::clamp(centre + half, 0LL, static_cast<long long>(count)));
        if (w.zoomed) {
            lo = std::max(lo, xScroll / div);
            hi = std::min(hi, (xScroll + VisibleWidth(xZoom)) / div + 1);
        }
        base = xScroll / div;
    } else if (w.zoomed) {
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
    w.lo = lo;
    w.hi = hi;
    w.base = base;
    return w;
}

// Finds the peaks of [lo, hi) and puts the highest `ordered` of them first, in the exchange
// order. Returns the number of peaks.
int OrderedPeaks(const uint8_t* v, int lo, int hi, int ordered, int* peaks) {
    // Peaks in trace order: the first highest point always, then the walk.
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
    // slots past the ordered ones are never read.
    for (int i = 0; i < std::min(ordered, peakCount); ++i)
        for (int j = i + 1; j < peakCount; ++j)
            if (v[peaks[j]] > v[peaks[i]])
                std::swap(peaks[i], peaks[j]);
    return peakCount;
}

// The middle of a flat top starting at point p.
int FlatTopMiddle(const uint8_t* v, int p, int hi) {
    int q = p + 1;
    while (q < hi && v[q] == v[p])
        ++q;
    return p + (q - p) / 2;
}

} // namespace

int PeakSearch(const PeakSearchInput& in, int n) {
    const Window w = SearchWindow(in);
    if (w.count == 0)
        return 0;
    int result = 0;
    if (w.lo < w.hi) {
        n = std::clamp(n, 0, w.count - 1 - w.lo);
        int peaks[kDisplayPositions];
        const int peakCount = OrderedPeaks(in.points, w.lo, w.hi, n + 1, peaks);
        if (n < peakCount)
            result = FlatTopMiddle(in.points, peaks[n], w.hi);
    }
    if (w.zoomed)
        result -= w.base;
    return result * w.div;
}

int PeakList(const PeakSearchInput& in, int maxPeaks, PeakEntry* out) {
    const Window w = SearchWindow(in);
    if (w.count == 0 || w.lo >= w.hi || maxPeaks <= 0 || out == nullptr)
        return 0;
    // Past count - 1 - lo the search repeats its last answer; the list stops there.
    const int wanted = std::min(maxPeaks, w.count - w.lo);
    int peaks[kDisplayPositions];
    const int peakCount = OrderedPeaks(in.points, w.lo, w.hi, wanted, peaks);
    const int listed = std::min(wanted, peakCount);
    for (int i = 0; i < listed; ++i) {
        const int point = FlatTopMiddle(in.points, peaks[i], w.hi);
        out[i].point = point;
        out[i].position = (point - (w.zoomed ? w.base : 0)) * w.div;
    }
    return listed;
}

PeakSearchInput CurrentPeakSearchInput() {
    PeakSearchInput in;
    in.points = gSettings.traceRecord.tracePoints;
    const int slot = gSettings.activeTraceSlot;
    in.kind = (slot >= 0 && slot < kTraceSlots) ? gSettings.traceKind[slot] : 2;
    in.peakMode = modes::Peak();
    in.zonePosition = gSettings.zonePosition;
    in.zoneWidth = gSettings.zoneWidth;
    in.xScroll = gSettings.xScroll;
    in.xZoom = gSettings.xZoom;
    return in;
}

int PeakSearch(int n) {
    return PeakSearch(CurrentPeakSearchInput(), n);
}

} // namespace display
