#pragma once
// The displayed trace: successive sweeps combined by the trace calculation (none, max hold,
// min hold, average, overwrite) with its sweep count, and the level bytes of the screen.

#include "analyzer_state.h"
#include "spectrum_model.h"

#include <cstdint>
#include <vector>

namespace sim {

class TraceMemory {
public:
    // Forgets every sweep, as the analyzer does when a setting changes.
    void restart() {
        sweepsDone_ = 0;
        valid_ = false;
    }

    // Folds a new sweep into the displayed trace.
    void addSweep(const AnalyzerState& state, const SweepLevels& levels);

    bool valid() const { return valid_; }
    int sweepsDone() const { return sweepsDone_; }
    const SweepLevels& levels() const { return display_; }

private:
    SweepLevels display_{};
    int sweepsDone_ = 0;
    bool valid_ = false;
};

// Level byte of a level: 200 is the reference level, 0.4 dB a step at 10 dB/div and 0.08 dB at
// 2 dB/div, clipped to 0..255. (The offset moves level and reference alike.)
uint8_t levelByte(const AnalyzerState& state, double dbm);

// The level bytes of the screen: 1001 points one to one, or 251 points each taken over its four
// positions with the detector in force.
std::vector<uint8_t> screenPoints(const AnalyzerState& state, const SweepLevels& levels, int count);

} // namespace sim
