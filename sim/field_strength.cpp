#include "field_strength.h"

#include "value_text.h"

#include <cmath>
#include <string>

namespace sim {

namespace {

struct BuiltInTable {
    std::vector<int> freq; // 0.1 MHz
    std::vector<int> gain; // 0.01 dB
};

const BuiltInTable& antennaTable(int index) {
    static const BuiltInTable at11{{8000, 8500, 9000, 9500, 10000}, {-368, 87, 339, 226, 98}};
    static const BuiltInTable at12{{12500, 13000, 13500, 14000, 14500, 15000, 15500, 16000, 16500},
                                   {-104, 34, 156, 352, 443, 480, 389, 334, 296}};
    static const BuiltInTable at13{
        {17000, 17500, 18000, 18500, 19000, 19500, 20000, 20500, 21000, 21500, 22000},
        {326, 441, 483, 508, 495, 378, 383, 312, 247, 206, 84}};
    static const BuiltInTable at14{{22500, 23000, 23500, 24000, 24500, 25000, 25500, 26000, 26500},
                                   {208, 290, 509, 448, 415, 375, 365, 373, 350}};
    static const BuiltInTable at15{{3000, 3500, 4000, 4500, 5000}, {0, 100, 140, 140, 0}};
    static const BuiltInTable at16 = [] {
        BuiltInTable t;
        const int gains[] = {111, 112, 107, 120, 141, 159, 203, 219, 217, 211, 199,
                             190, 200, 230, 235, 241, 250, 253, 278, 273, 285, 276,
                             285, 288, 292, 300, 302, 307, 305, 311, 296};
        for (int i = 0; i < 31; ++i) {
            t.freq.push_back(47000 + 500 * i);
            t.gain.push_back(gains[i]);
        }
        return t;
    }();
    switch (index) {
    case 1:
        return at12;
    case 2:
        return at13;
    case 3:
        return at14;
    case 5:
        return at15;
    case 6:
        return at16;
    default:
        return at11;
    }
}

// Linear interpolation in a (Hz, dB) table, held at the ends.
double interpolate(const CorrectionTable& table, double f, bool logFrequency) {
    if (table.empty())
        return 0.0;
    if (f <= table.front().first)
        return table.front().second;
    if (f >= table.back().first)
        return table.back().second;
    for (size_t k = 1; k < table.size(); ++k) {
        if (f < table[k].first) {
            auto [f0, g0] = table[k - 1];
            auto [f1, g1] = table[k];
            double u = logFrequency && f0 > 0 ? std::log10(f / f0) / std::log10(f1 / f0)
                                              : (f - f0) / (f1 - f0);
            return g0 + (g1 - g0) * u;
        }
    }
    return table.back().second;
}

std::string trimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

CorrectionTable toTable(const BuiltInTable& t) {
    CorrectionTable table;
    for (size_t i = 0; i < t.freq.size(); ++i)
        table.emplace_back(t.freq[i] * 1e5, t.gain[i] / 100.0);
    return table;
}

} // namespace

double antennaFactor(int antennaIndex, double f, const CorrectionTable& user) {
    double gain = antennaIndex == 4 ? interpolate(user, f, false)
                                    : interpolate(toTable(antennaTable(antennaIndex)), f, false);
    double mhz = std::max(f / 1e6, 0.1);
    return 20.0 * std::log10(0.2294294884 * mhz) + 90.0 - gain;
}

double probeFactor(int probeIndex, double f, const CorrectionTable& user) {
    static const CorrectionTable pr7q{
        {10e6, 86.70}, {100e6, 69.20}, {1e9, 50.70}, {2e9, 44.90}, {3e9, 40.10}};
    return 107.0 + interpolate(probeIndex == 1 ? user : pr7q, std::max(f, 1.0), true);
}

double fieldFactor(const AnalyzerState& state, const UserTables& user, double f) {
    if (state.measureIndex == 4)
        return antennaFactor(state.antennaIndex, f, user.antenna);
    if (state.measureIndex == 5)
        return probeFactor(state.probeIndex, f, user.probe);
    return 0.0;
}

int fieldReference(const AnalyzerState& state, const UserTables& user) {
    return static_cast<int>(
        std::lround(state.refLevel + fieldFactor(state, user, state.centerFreq)));
}

bool parseUserTable(const std::string& text, CorrectionTable& table) {
    table.clear();
    if (text.empty() || text.size() > 511)
        return false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t comma = text.find(',', pos);
        std::string entry =
            text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        size_t colon = entry.find(':');
        if (colon == std::string::npos)
            return false;
        std::string freqText = trimBlanks(entry.substr(0, colon));
        std::string gainText = trimBlanks(entry.substr(colon + 1));
        if (freqText.size() > 2 && equalsNoCase(freqText.substr(freqText.size() - 2), "HZ"))
            freqText = trimBlanks(freqText.substr(0, freqText.size() - 2));
        if (gainText.size() > 2 && equalsNoCase(gainText.substr(gainText.size() - 2), "DB"))
            gainText = trimBlanks(gainText.substr(0, gainText.size() - 2));
        double f = 0, g = 0;
        if (!parseDecimal(freqText, f) || f < 0 || !parseDecimal(gainText, g) || g < -100 ||
            g > 100)
            return false;
        if (!table.empty() && f <= table.back().first)
            return false;
        table.emplace_back(f, g);
        if (table.size() > 10)
            return false;
        if (comma == std::string::npos)
            break;
        pos = comma + 1;
    }
    return !table.empty();
}

} // namespace sim
