#pragma once
// The simulated analyzer's own settings (its panel as the instrument holds it), the coupling rules
// between them, and the frequency axis they give.

#include <string>

namespace sim {

struct AnalyzerState {
    int modelIndex = 0; // 0 = RVX410, 1 = RVX420
    double centerFreq = 1.0e9;
    double centerBeforeFullSpan = 1.0e9; // restored when the full span is left
    int spanIndex = 7;
    int refLevel = 10;
    int unitIndex = 0;
    double levelOffset = 0.0;
    int impedanceIndex = 0;
    int sweepIndex = 2;
    int wantedDetector = 0; // the detector chosen; fast sweeps force sample detection
    int rbwIndex = 3;
    int vbwIndex = 4;
    int scaleIndex = 1;
    int markerMode = 0;
    int peakMode = 0;
    int peakSearchNo = 0;
    double normMarkerFreq = 1.0e9;
    double peakZoneCenter = 1.0e9;
    double peakZoneWidth = 2.0e6;
    int conversionIndex = 0;
    int measureIndex = 0;
    int cpMode = 0;
    double cpCenter = 1.0e9;
    double cpWidth = 1.0e6;
    int acpMode = 0;
    double acpOffset = 5.0e6;
    double acpChannelBw = 1.0e6;
    double acpRefCenter = 1.0e9;
    double acpRefBw = 1.0e6;
    int obwMode = 0;
    double obwRatio = 99.0;
    double obwDb = 25.0;
    int antennaIndex = 0;
    int probeIndex = 0;
    int calcIndex = 0;
    int maxCount = 0;
    int minCount = 0;
    int aveCount = 256;
    int calcSpread = 0;
    bool rbwAuto = true;
    bool vbwAuto = true;
    bool sweepAuto = true;
    bool running = false; // continuous sweeping (RUN) or held (HOLD)
    bool remote = false;
};

// The state after power-on or "PRESET" for a model.
AnalyzerState presetState(int modelIndex);

// Highest centre frequency of a model, Hz.
double maxFrequency(int modelIndex);

// Span of the current span index in Hz (0 for zero span; the full span covers 0 to the limit).
double spanHz(const AnalyzerState& state);

// Frequency distance between two of the 1001 display positions, Hz.
double positionStep(const AnalyzerState& state);

// Frequency of display position x (0..1000).
double positionFrequency(const AnalyzerState& state, double x);

bool isFullSpan(const AnalyzerState& state);
bool isZeroSpan(const AnalyzerState& state);

// Spans that do not allow the 10 ms sweep: the full span, and 5G on RVX420.
bool spanExcludesFastestSweep(const AnalyzerState& state);

// The detector in force: sample detection at 10 ms and 30 ms sweeps.
int effectiveDetector(const AnalyzerState& state);

// Bandwidths in Hz.
double rbwHz(const AnalyzerState& state);
double vbwHz(const AnalyzerState& state); // 0 when the video filter is off

// Applies the automatic couplings that are switched on (RBW from span, VBW from RBW, sweep time
// from span and RBW) and the sweep-time limits of the span.
void applyCouplings(AnalyzerState& state);

} // namespace sim
