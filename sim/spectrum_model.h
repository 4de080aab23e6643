#pragma once
// The synthetic signal scene and one sweep over it: signals seen through the RBW filter, a noise
// floor that follows RBW and reference level, video filtering, the three detectors, and zero span
// as the envelope at the centre frequency.

#include "analyzer_state.h"
#include "sim_options.h"

#include <array>
#include <random>
#include <vector>

namespace sim {

inline constexpr int kPositions = 1001;

using SweepLevels = std::array<double, kPositions>; // dBm per display position

// The default scene: a carrier at 1 GHz with AM sidebands, and a few spurs.
std::vector<SignalSpec> defaultSignals();

class SpectrumModel {
public:
    SpectrumModel(std::vector<SignalSpec> signals, unsigned long seed);

    // One sweep with the given settings.
    SweepLevels sweep(const AnalyzerState& state);

    // Mean noise level (dBm) displayed with the given settings.
    static double noiseFloor(const AnalyzerState& state);

    // Power (dBm) of the signals as the RBW filter at frequency f sees them, without noise.
    double signalPower(const AnalyzerState& state, double f) const;

    const std::vector<SignalSpec>& signals() const { return signals_; }

private:
    double noiseSample(double meanMilliwatt, int videoSamples);

    std::vector<SignalSpec> signals_;
    std::mt19937 random_;
    std::uniform_real_distribution<double> uniform_{1e-12, 1.0};
};

} // namespace sim
