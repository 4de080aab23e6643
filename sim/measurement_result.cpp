#include "measurement_result.h"

#include "value_text.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr int kUnitConstant[] = {0, 107, 47, -13};
constexpr const char* kUnitWord[] = {"dBm", "dBuV", "dBmV", "dBV"};

double toMilliwatt(double dbm) {
    return std::pow(10.0, dbm / 10.0);
}
double toDbm(double milliwatt) {
    return 10.0 * std::log10(std::max(milliwatt, 1e-30));
}

int peakPosition(const SweepLevels& levels) {
    return static_cast<int>(std::max_element(levels.begin(), levels.end()) - levels.begin());
}

std::string levelText(const AnalyzerState& state, double dbm) {
    int unit = state.unitIndex >= 0 && state.unitIndex <= 3 ? state.unitIndex : 0;
    return format("%.2f%s", dbm + kUnitConstant[unit] + state.levelOffset, kUnitWord[unit]);
}

// Occupied bandwidth edges (positions) by power ratio or by x dB down from the peak.
void occupiedBand(const AnalyzerState& state, const SweepLevels& levels, double& low,
                  double& high) {
    if (state.obwMode == 0) {
        double total = 0;
        for (double l : levels)
            total += toMilliwatt(l);
        double tail = total * (100.0 - state.obwRatio) / 200.0;
        double sum = 0;
        int lo = 0;
        for (; lo < kPositions - 1 && sum + toMilliwatt(levels[lo]) < tail; ++lo)
            sum += toMilliwatt(levels[lo]);
        sum = 0;
        int hi = kPositions - 1;
        for (; hi > lo && sum + toMilliwatt(levels[hi]) < tail; --hi)
            sum += toMilliwatt(levels[hi]);
        low = lo;
        high = hi;
        return;
    }
    int peak = peakPosition(levels);
    double limit = levels[peak] - state.obwDb;
    int lo = peak, hi = peak;
    while (lo > 0 && levels[lo - 1] >= limit)
        --lo;
    while (hi < kPositions - 1 && levels[hi + 1] >= limit)
        ++hi;
    low = lo;
    high = hi;
}

} // namespace

std::string frequencyText(double hz) {
    double a = std::fabs(hz);
    if (a >= 1e9)
        return format("%.4fGHz", hz / 1e9);
    if (a >= 1e6)
        return format("%.4fMHz", hz / 1e6);
    if (a >= 1e3)
        return format("%.4fkHz", hz / 1e3);
    return format("%.4fHz", hz);
}

double bandPower(const AnalyzerState& state, const SweepLevels& levels, double low, double high) {
    const double step = positionStep(state);
    if (step <= 0)
        return toDbm(toMilliwatt(levels[500]));
    // Each position holds the power within one noise bandwidth of the RBW filter.
    const double share = step / (1.0645 * rbwHz(state));
    double sum = 0.0;
    for (int x = 0; x < kPositions; ++x) {
        double f = positionFrequency(state, x);
        if (f >= low && f <= high)
            sum += toMilliwatt(levels[x]) * share;
    }
    return toDbm(sum);
}

std::string measurementResult(const AnalyzerState& state, const SweepLevels& levels,
                              const std::vector<SignalSpec>& signals, const UserTables& user) {
    const double step = positionStep(state);
    const double start = positionFrequency(state, 0);
    const double stop = positionFrequency(state, 1000);
    switch (state.measureIndex) {
    case 1: {
        double lo = state.cpMode == 1 ? state.cpCenter - state.cpWidth / 2 : start;
        double hi = state.cpMode == 1 ? state.cpCenter + state.cpWidth / 2 : stop;
        return "CP:" + levelText(state, bandPower(state, levels, lo, hi));
    }
    case 2: {
        double center = state.acpRefCenter;
        if (state.acpMode == 2)
            center = positionFrequency(state, peakPosition(levels));
        double ref = state.acpMode == 0 ? bandPower(state, levels, start, stop)
                                        : bandPower(state, levels, center - state.acpRefBw / 2,
                                                    center + state.acpRefBw / 2);
        double half = state.acpChannelBw / 2;
        double lower = bandPower(state, levels, center - state.acpOffset - half,
                                 center - state.acpOffset + half);
        double upper = bandPower(state, levels, center + state.acpOffset - half,
                                 center + state.acpOffset + half);
        return "REF:" + levelText(state, ref) +
               format(" L:%.2fdB U:%.2fdB", lower - ref, upper - ref);
    }
    case 3: {
        double lo = 0, hi = 0;
        occupiedBand(state, levels, lo, hi);
        double flo = positionFrequency(state, lo - 0.5);
        double fhi = positionFrequency(state, hi + 0.5);
        return "C:" + frequencyText((flo + fhi) / 2) + " W:" + frequencyText(fhi - flo);
    }
    case 4:
    case 5: {
        int peak = peakPosition(levels);
        double f = positionFrequency(state, peak);
        double value = levels[peak] + fieldFactor(state, user, f) + state.levelOffset;
        return format(state.measureIndex == 4 ? "E/F:%.2fdBuV/m" : "M/F:%.2fdBuA/m", value);
    }
    case 6: {
        int peak = peakPosition(levels);
        double f = positionFrequency(state, peak);
        // The counter locks onto the signal that makes the peak.
        for (const SignalSpec& s : signals)
            if (std::fabs(s.frequency - f) <= std::max(2 * step, rbwHz(state)))
                f = s.frequency;
        return format("FC:%.0fHz", f);
    }
    default:
        return "MEAS OFF";
    }
}

} // namespace sim
