#include "spectrum_model.h"

#include "keyword_tables.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace sim {

namespace {

constexpr int kSamplesPerPosition = 5;
constexpr double kPi = 3.14159265358979323846;

double toMilliwatt(double dbm) {
    return std::pow(10.0, dbm / 10.0);
}
double toDbm(double milliwatt) {
    return 10.0 * std::log10(std::max(milliwatt, 1e-30));
}

// Attenuation of the Gaussian RBW filter at a frequency distance, dB; the skirt ends 90 dB down.
double filterAttenuation(double distance, double rbw) {
    double x = 2.0 * distance / rbw;
    return std::min(3.0103 * x * x, 90.0);
}

} // namespace

std::vector<SignalSpec> defaultSignals() {
    return {
        {1.000e9, -20.0},                     // carrier
        {0.998e9, -38.0},                     // first AM sidebands
        {1.002e9, -38.0},  {0.996e9, -56.0},  // second sidebands
        {1.004e9, -56.0},  {1.0065e9, -62.0}, // spurs near the carrier
        {0.9935e9, -58.0}, {1.500e9, -45.0},  // spurs seen in wider spans
        {2.450e9, -50.0},  {0.433920e9, -40.0},
    };
}

SpectrumModel::SpectrumModel(std::vector<SignalSpec> signals, unsigned long seed)
    : signals_(std::move(signals)), random_(static_cast<std::mt19937::result_type>(seed)) {}

double SpectrumModel::noiseFloor(const AnalyzerState& state) {
    double rbw = rbwHz(state);
    // A higher reference level means more input attenuation and a higher floor.
    double floor = state.refLevel - 62.0 + 10.0 * std::log10(rbw / 1e5);
    double thermal = -164.0 + 10.0 * std::log10(rbw);
    return std::max(floor, thermal);
}

double SpectrumModel::signalPower(const AnalyzerState& state, double f) const {
    double rbw = rbwHz(state);
    double sum = 0.0;
    for (const SignalSpec& s : signals_)
        sum += toMilliwatt(s.level - filterAttenuation(f - s.frequency, rbw));
    return toDbm(sum);
}

double SpectrumModel::noiseSample(double meanMilliwatt, int videoSamples) {
    // Noise power is exponential; the video filter averages it.
    double sum = 0.0;
    for (int i = 0; i < videoSamples; ++i)
        sum += -std::log(uniform_(random_));
    return meanMilliwatt * sum / videoSamples;
}

SweepLevels SpectrumModel::sweep(const AnalyzerState& state) {
    SweepLevels levels{};
    const double rbw = rbwHz(state);
    const double vbw = vbwHz(state);
    const int videoSamples = vbw > 0 && vbw < rbw ? std::min(16, int(std::ceil(rbw / vbw))) : 1;
    const double noiseMw = toMilliwatt(noiseFloor(state));
    const int detector = effectiveDetector(state);
    const double step = positionStep(state);

    if (isZeroSpan(state)) {
        // Envelope over time of the signals inside the filter at the centre frequency.
        const double sweepTime = keywords::kSweepSeconds[state.sweepIndex];
        std::vector<std::pair<double, double>> tones; // (frequency offset, amplitude)
        for (const SignalSpec& s : signals_) {
            double att = filterAttenuation(s.frequency - state.centerFreq, rbw);
            if (att < 89.0)
                tones.emplace_back(s.frequency - state.centerFreq,
                                   std::sqrt(toMilliwatt(s.level - att)));
        }
        for (int x = 0; x < kPositions; ++x) {
            double best = detector == 1 ? 1e300 : -1.0;
            for (int k = 0; k < kSamplesPerPosition; ++k) {
                double t = (x + double(k) / kSamplesPerPosition) * sweepTime / 1000.0;
                std::complex<double> e = 0.0;
                for (auto& [df, a] : tones)
                    e += std::polar(a, 2.0 * kPi * df * t);
                double p = std::norm(e) + noiseSample(noiseMw, videoSamples);
                if (detector == 2) {
                    best = p;
                    break;
                }
                best = detector == 0 ? std::max(best, p) : std::min(best, p);
            }
            levels[x] = toDbm(best);
        }
        return levels;
    }

    for (int x = 0; x < kPositions; ++x) {
        const double f = positionFrequency(state, x);
        double best = detector == 1 ? 1e300 : -1.0;
        for (int k = 0; k < kSamplesPerPosition; ++k) {
            double sampleF = f + step * ((k + 0.5) / kSamplesPerPosition - 0.5);
            if (detector == 2)
                sampleF = f;
            double p =
                toMilliwatt(signalPower(state, sampleF)) + noiseSample(noiseMw, videoSamples);
            if (detector == 2) {
                best = p;
                break;
            }
            best = detector == 0 ? std::max(best, p) : std::min(best, p);
        }
        if (detector == 0) {
            // The peak detector catches a narrow signal anywhere inside its bin.
            for (const SignalSpec& s : signals_) {
                if (std::fabs(s.frequency - f) <= step / 2.0) {
                    double p = toMilliwatt(signalPower(state, s.frequency)) +
                               noiseSample(noiseMw, videoSamples);
                    best = std::max(best, p);
                }
            }
        }
        levels[x] = toDbm(best);
    }
    return levels;
}

} // namespace sim
