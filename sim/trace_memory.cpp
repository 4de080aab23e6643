#include "trace_memory.h"

#include <algorithm>
#include <cmath>

namespace sim {

void TraceMemory::addSweep(const AnalyzerState& state, const SweepLevels& levels) {
    const int calc = state.calcIndex;
    if (!valid_ || calc == 0 || calc == 4) {
        display_ = levels;
        valid_ = true;
        sweepsDone_ = 1;
        return;
    }
    if (calc == 1 || calc == 2) {
        int limit = calc == 1 ? state.maxCount : state.minCount;
        if (limit > 0 && sweepsDone_ >= limit)
            return; // the hold is complete
        for (int x = 0; x < kPositions; ++x)
            display_[x] =
                calc == 1 ? std::max(display_[x], levels[x]) : std::min(display_[x], levels[x]);
        ++sweepsDone_;
        return;
    }
    // Average: a running mean over the last aveCount sweeps.
    int weight = std::min(sweepsDone_ + 1, std::max(1, state.aveCount));
    for (int x = 0; x < kPositions; ++x)
        display_[x] += (levels[x] - display_[x]) / weight;
    ++sweepsDone_;
}

uint8_t levelByte(const AnalyzerState& state, double dbm) {
    double stepDb = state.scaleIndex == 0 ? 0.08 : 0.4;
    double b = std::floor(200.0 - (state.refLevel - dbm) / stepDb + 0.5);
    return static_cast<uint8_t>(std::clamp(b, 0.0, 255.0));
}

std::vector<uint8_t> screenPoints(const AnalyzerState& state, const SweepLevels& levels,
                                  int count) {
    std::vector<uint8_t> points(static_cast<size_t>(count));
    if (count == kPositions) {
        for (int x = 0; x < kPositions; ++x)
            points[x] = levelByte(state, levels[x]);
        return points;
    }
    const int detector = effectiveDetector(state);
    for (int j = 0; j < count; ++j) {
        int first = std::max(0, 4 * j - 2);
        int last = std::min(kPositions - 1, 4 * j + 1);
        double v = levels[4 * j];
        for (int x = first; x <= last && detector != 2; ++x)
            v = detector == 0 ? std::max(v, levels[x]) : std::min(v, levels[x]);
        points[j] = levelByte(state, v);
    }
    return points;
}

} // namespace sim
