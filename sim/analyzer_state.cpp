#include "analyzer_state.h"

#include "keyword_tables.h"
#include "span_steps.h"

#include <cmath>

namespace sim {

namespace {

constexpr double kRbwHz[] = {3e3, 10e3, 30e3, 100e3, 300e3, 1e6, 3e6};
constexpr double kVbwHz[] = {100, 300, 1e3, 3e3, 10e3, 30e3, 100e3, 300e3, 1e6};

} // namespace

AnalyzerState presetState(int modelIndex) {
    AnalyzerState state;
    state.modelIndex = modelIndex == 1 ? 1 : 0;
    return state;
}

double maxFrequency(int modelIndex) {
    return modelIndex == 1 ? 8.5e9 : 3.3e9;
}

bool isFullSpan(const AnalyzerState& state) {
    return state.spanIndex == keywords::spanCount(state.modelIndex) - 1;
}

bool isZeroSpan(const AnalyzerState& state) {
    return state.spanIndex == 0;
}

double spanHz(const AnalyzerState& state) {
    // The same position step as the program's frequency axis.
    return 1000.0 * spansteps::spanStepHz(state.modelIndex, state.spanIndex);
}

double positionStep(const AnalyzerState& state) {
    return spanHz(state) / 1000.0;
}

double positionFrequency(const AnalyzerState& state, double x) {
    return state.centerFreq + (x - 500.0) * positionStep(state);
}

bool spanExcludesFastestSweep(const AnalyzerState& state) {
    return isFullSpan(state) || (state.modelIndex == 1 && state.spanIndex == 14);
}

int effectiveDetector(const AnalyzerState& state) {
    return state.sweepIndex < 2 ? 2 : state.wantedDetector;
}

double rbwHz(const AnalyzerState& state) {
    return kRbwHz[state.rbwIndex >= 0 && state.rbwIndex <= 6 ? state.rbwIndex : 3];
}

double vbwHz(const AnalyzerState& state) {
    if (state.vbwIndex >= 0 && state.vbwIndex <= 8)
        return kVbwHz[state.vbwIndex];
    return 0.0;
}

void applyCouplings(AnalyzerState& state) {
    double span = spanHz(state);
    if (state.rbwAuto && span > 0) {
        // The widest RBW that leaves about a hundred resolution cells across the span.
        int index = 0;
        for (int i = 0; i <= 6; ++i)
            if (kRbwHz[i] <= span / 100.0)
                index = i;
        state.rbwIndex = index;
    }
    if (state.vbwAuto) {
        double wanted = rbwHz(state) / 10.0;
        int index = 0;
        for (int i = 0; i <= 8; ++i)
            if (kVbwHz[i] <= wanted)
                index = i;
        state.vbwIndex = index;
    }
    int fastest = spanExcludesFastestSweep(state) ? 1 : 0;
    if (state.sweepAuto) {
        double rbw = rbwHz(state);
        double needed = span > 0 ? 20.0 * span / (rbw * rbw) : 0.0;
        int index = 7;
        for (int i = 7; i >= 0; --i)
            if (keywords::kSweepSeconds[i] >= needed)
                index = i;
        // Automatic sweeps keep the detector free: never the two fast sweeps.
        state.sweepIndex = index < 2 ? 2 : index;
    }
    if (state.sweepIndex < fastest)
        state.sweepIndex = fastest;
}

} // namespace sim
