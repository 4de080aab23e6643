#include "level_units.h"

#include "modes.h"
#include "number_text.h"
#include "span_steps.h"
#include "trace_kinds.h"
#include "value_limits.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace levelunits {

namespace {

// Built-in correction tables: frequencies in 0.1 MHz, gains or factors in 0.01 dB.
constexpr int kAt11Freq[] = {8000, 8500, 9000, 9500, 10000};
constexpr int kAt11Gain[] = {-368, 87, 339, 226, 98};
constexpr int kAt12Freq[] = {12500, 13000, 13500, 14000, 14500, 15000, 15500, 16000, 16500};
constexpr int kAt12Gain[] = {-104, 34, 156, 352, 443, 480, 389, 334, 296};
constexpr int kAt13Freq[] = {17000, 17500, 18000, 18500, 19000, 19500,
                             20000, 20500, 21000, 21500, 22000};
constexpr int kAt13Gain[] = {326, 441, 483, 508, 495, 378, 383, 312, 247, 206, 84};
constexpr int kAt14Freq[] = {22500, 23000, 23500, 24000, 24500, 25000, 25500, 26000, 26500};
constexpr int kAt14Gain[] = {208, 290, 509, 448, 415, 375, 365, 373, 350};
constexpr int kAt15Freq[] = {3000, 3500, 4000, 4500, 5000};
constexpr int kAt15Gain[] = {0, 100, 140, 140, 0};
constexpr int kAt16Freq[] = {47000, 47500, 48000, 48500, 49000, 49500, 50000, 50500,
                             51000, 51500, 52000, 52500, 53000, 53500, 54000, 54500,
                             55000, 55500, 56000, 56500, 57000, 57500, 58000, 58500,
                             59000, 59500, 60000, 60500, 61000, 61500, 62000};
constexpr int kAt16Gain[] = {111, 112, 107, 120, 141, 159, 203, 219, 217, 211, 199,
                             190, 200, 230, 235, 241, 250, 253, 278, 273, 285, 276,
                             285, 288, 292, 300, 302, 307, 305, 311, 296};
constexpr int kPr7qFreq[] = {100, 1000, 10000, 20000, 30000};
constexpr int kPr7qFactor[] = {8670, 6920, 5070, 4490, 4010};

template <int N, int M> constexpr CorrectionTable table(const int (&f)[N], const int (&g)[M]) {
    static_assert(N == M, "a correction table has as many gains as frequencies");
    return CorrectionTable{f, g, N};
}

constexpr int kPointBufferSize = 1024;
constexpr int kMaxPoints = 1005;
constexpr int kPointsConsidered = 1004;
constexpr int kNoPoint = -1000;
constexpr int kNoMinimum = 2000;

int clampToIntRange(long long v) {
    return v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : static_cast<int>(v));
}

// Leading rows holding a frequency >= 0 (a negative frequency ends a user table).
int leadingRows(const int* freq, int rows) {
    int n = 0;
    while (n < rows && freq[n] >= 0) {
        ++n;
    }
    return n;
}

// Point frequencies in kHz: centre - 501 steps to centre + 503 steps.
struct PointSweep {
    long long f0;
    long long f1;
    long long increment;
};

PointSweep pointSweep(const InstrumentSettings& s) {
    const double step = spansteps::spanStepHz(s.modelIndex, s.spanIndex);
    auto kHz = [](double hz) {
        const double k = std::trunc(hz / 1000.0);
        // Limits far beyond any model keep the conversion defined for a damaged record.
        return k != k ? 0LL
                      : (k < -1e15 ? -1000000000000000LL
                                   : (k > 1e15 ? 1000000000000000LL : static_cast<long long>(k)));
    };
    return PointSweep{kHz(s.centerFreq - 501.0 * step), kHz(s.centerFreq + 503.0 * step),
                      static_cast<long long>(step) / 1000};
}

// The table interval of f (kHz): k = first row above f, or -1 when f lies outside
// [first row, last row).
int intervalOf(const CorrectionTable& t, long long f) {
    if (t.rows < 2 || f < 100LL * t.freq[0] || f >= 100LL * t.freq[t.rows - 1]) {
        return -1;
    }
    for (int k = 1; k < t.rows; ++k) {
        if (100LL * t.freq[k] > f) {
            return k;
        }
    }
    return -1;
}

// The reference level of a field-strength display: the smallest point value and the record's
// reference, offset and impedance, summed in tenths of a dB.
int fieldReferenceFrom(const InstrumentSettings& s, int minimum, int resolution, int extraTenths) {
    const double offset = std::trunc(s.levelOffset);
    const long long offsetTenths =
        offset != offset
            ? 0
            : (offset < -1e9 ? -1000000000LL
                             : (offset > 1e9 ? 1000000000LL : static_cast<long long>(offset)));
    const long long sum = static_cast<long long>(minimum) * resolution / 10 + extraTenths +
                          10LL * s.refLevel + offsetTenths + impedanceCorrection(s.impedanceIndex) +
                          10005;
    return clampToIntRange(sum / 10 - 1000);
}

} // namespace

int unitConstant(int unitIndex) {
    return unitIndex >= 0 && unitIndex <= 3 ? kUnitConstant[unitIndex] : 0;
}

int impedanceCorrection(int impedanceIndex) {
    return impedanceIndex == 1 ? kImpedanceCorrection[1] : kImpedanceCorrection[0];
}

int levelResolution(int scaleIndex) {
    return scaleIndex == 0 ? kLevelResolution[0] : kLevelResolution[1];
}

CorrectionTable antennaTable(int antennaIndex) {
    switch (antennaIndex) {
    case 1:
        return table(kAt12Freq, kAt12Gain);
    case 2:
        return table(kAt13Freq, kAt13Gain);
    case 3:
        return table(kAt14Freq, kAt14Gain);
    case kUserAntenna:
        // Only the rows the user text filled: an unused row (-200) would end the table's
        // range below its first frequency.
        return CorrectionTable{gSettings.efUserFreq, gSettings.efUserGain,
                               leadingRows(gSettings.efUserFreq, kUserTableRows)};
    case 5:
        return table(kAt15Freq, kAt15Gain);
    case 6:
        return table(kAt16Freq, kAt16Gain);
    default:
        return table(kAt11Freq, kAt11Gain);
    }
}

CorrectionTable probeTable(int probeIndex) {
    if (probeIndex == kUserProbe) {
        return CorrectionTable{gSettings.mfUserFreq, gSettings.mfUserGain,
                               leadingRows(gSettings.mfUserFreq, kUserTableRows)};
    }
    return table(kPr7qFreq, kPr7qFactor);
}

int roundReference(double reference, double levelOffset) {
    double v = reference + levelOffset;
    if (std::isnan(v)) {
        return 0; // a damaged offset shows the reference as 0 rather than a wrapped number
    }
    v = v >= 0 ? v + 0.5 : v - 0.5;
    return clampToInt(std::trunc(v), INT_MIN, INT_MAX);
}

int antennaReference(const InstrumentSettings& s, int antennaIndex) {
    // The user table is read from the given record.
    CorrectionTable t = antennaTable(antennaIndex);
    if (antennaIndex == kUserAntenna) {
        t = CorrectionTable{s.efUserFreq, s.efUserGain, leadingRows(s.efUserFreq, kUserTableRows)};
    }
    const int resolution = levelResolution(s.scaleIndex);
    const PointSweep sweep = pointSweep(s);

    int points[kPointBufferSize];
    for (int& p : points) {
        p = kNoPoint;
    }
    long long f = sweep.f0;
    for (int i = 0; i < kMaxPoints && f <= sweep.f1; ++i, f += sweep.increment) {
        const int k = intervalOf(t, f);
        const long long tenthsMHz = f / 100;
        if (k < 0 || tenthsMHz <= 0) {
            continue; // outside the table, or no antenna factor below 100 kHz
        }
        const long long fLow = 100LL * t.freq[k - 1];
        const long long fHigh = 100LL * t.freq[k];
        // Wide enough for any pair of int rows: the product of a gain step and a frequency step
        // needs more than 64 bits, the quotient lies between the two gains.
        const __int128 step = static_cast<__int128>(t.gain[k]) - t.gain[k - 1];
        const long long gain =
            t.gain[k - 1] + static_cast<long long>(step * (f - fLow) / (fHigh - fLow));
        const double factor = std::trunc(
            100.0 *
                (20.0 * std::log10(0.2294294884 * static_cast<double>(tenthsMHz) / 10.0) + 90.0) -
            static_cast<double>(gain));
        points[i] = clampToInt(std::trunc(factor / resolution + 0.5), INT_MIN, INT_MAX);
    }

    int minimum = kNoMinimum;
    for (int i = 0; i < kPointsConsidered; ++i) {
        if (points[i] != kNoPoint && points[i] < minimum) {
            minimum = points[i];
        }
    }
    return fieldReferenceFrom(s, minimum, resolution, 0);
}

int probeReference(const InstrumentSettings& s, int probeIndex) {
    CorrectionTable t = probeTable(probeIndex);
    if (probeIndex == kUserProbe) {
        t = CorrectionTable{s.mfUserFreq, s.mfUserGain, leadingRows(s.mfUserFreq, kUserTableRows)};
        if (t.rows == 0) {
            return s.fieldRefLevel; // no user probe data: the reference stays as it was
        }
    }
    const int resolution = levelResolution(s.scaleIndex);
    const PointSweep sweep = pointSweep(s);

    int points[kPointBufferSize];
    for (int& p : points) {
        p = kNoPoint;
    }
    long long f = sweep.f0;
    for (int i = 0; i < kMaxPoints && f <= sweep.f1; ++i, f += sweep.increment) {
        const int k = intervalOf(t, f);
        if (k < 0) {
            continue;
        }
        const long long tenthsMHz = f / 100;
        const long long lowTenthsMHz = 100LL * t.freq[k - 1] / 100;
        const long long fHigh = 100LL * t.freq[k];
        if (tenthsMHz <= 0 || lowTenthsMHz <= 0) {
            continue; // log frequency undefined at 0
        }
        const int c = fHigh < 100000 ? 2 : (fHigh < 1000000 ? 3 : 4);
        double divisor = std::log10(static_cast<double>(fHigh / 100)) - c;
        if (std::trunc(divisor) == 0.0) {
            divisor = 1.0;
        }
        const double factor = (std::log10(static_cast<double>(tenthsMHz)) -
                               std::log10(static_cast<double>(lowTenthsMHz))) *
                                  (static_cast<double>(t.gain[k]) - t.gain[k - 1]) / divisor +
                              t.gain[k - 1];
        points[i] = clampToInt(std::trunc(factor), INT_MIN, INT_MAX) / resolution;
    }

    int minimum = kNoMinimum;
    for (int i = 0; i < kPointsConsidered; ++i) {
        if (points[i] != kNoPoint && points[i] < minimum) {
            minimum = points[i];
        }
    }
    return fieldReferenceFrom(s, minimum, resolution, 1070);
}

} // namespace levelunits

using namespace levelunits;

void computeAntennaReference(int antennaIndex) {
    gSettings.fieldRefLevel = antennaReference(gSettings, antennaIndex);
}

void computeProbeReference(int probeIndex) {
    gSettings.fieldRefLevel = probeReference(gSettings, probeIndex);
}

namespace {

int activeKind() {
    const int slot = gSettings.activeTraceSlot;
    return slot >= 0 && slot < kTraceSlots ? gSettings.traceKind[slot] : tracekind::kEmpty;
}

// Runs a field computation with refLevel standing at dBm for its duration.
template <typename Compute> int withReference(int dBm, Compute compute) {
    const int saved = gSettings.refLevel;
    gSettings.refLevel = dBm;
    compute();
    gSettings.refLevel = saved;
    return gSettings.fieldRefLevel;
}

} // namespace

int referenceForMeasurement(int dBm) {
    switch (modes::Measure()) {
    case MeasureFunction::ElectricField:
        return withReference(dBm, [] { computeAntennaReference(gSettings.antennaIndex); });
    case MeasureFunction::MagneticField:
        return withReference(dBm, [] { computeProbeReference(gSettings.probeIndex); });
    default:
        return dBm + unitConstant(gSettings.unitIndex);
    }
}

int referenceInDisplayUnit(int dBm) {
    const int kind = activeKind();
    if (kind == tracekind::kEmpty) {
        return referenceForMeasurement(dBm);
    }
    if (kind == tracekind::kScreenFieldE || kind == tracekind::kScreenFieldM ||
        kind == tracekind::kScreenDbm || kind == tracekind::kScreenDbm + 1) {
        return gSettings.traceRecord.recordRefLevel;
    }
    if (const int antenna = tracekind::antennaOfKind(kind); antenna >= 0) {
        return withReference(dBm, [antenna] { computeAntennaReference(antenna); });
    }
    if (const int probe = tracekind::probeOfKind(kind); probe >= 0) {
        return withReference(dBm, [probe] { computeProbeReference(probe); });
    }
    if (kind >= 32 && kind <= 37) {
        return dBm + unitConstant(tracekind::unitOfKind(kind));
    }
    return dBm + unitConstant(gSettings.unitIndex);
}

int attenuatorForReference(int refLevel) {
    // A level above the record's range reads as its top, so the sums below stay defined.
    if (refLevel > valuelimits::kRefLevelMax) {
        refLevel = valuelimits::kRefLevelMax;
    }
    if (refLevel <= -41) {
        return kAttenuatorSoftwareAmp;
    }
    if (refLevel <= -36) {
        return refLevel + 41;
    }
    if (refLevel <= -16) {
        return refLevel + 36;
    }
    return refLevel + 15;
}

std::string attenuatorText(int refLevel) {
    const int attenuation = attenuatorForReference(refLevel);
    if (attenuation == kAttenuatorSoftwareAmp) {
        return "S/W AMP";
    }
    return formatInteger(attenuation, 10, 1);
}

double convertMarkerLevel(double level, int displayUnit) {
    switch (displayUnit) {
    case 1:
        return std::pow(10.0, level / 20.0) / 1e6;
    case 2:
        return std::pow(10.0, level / 20.0) / 1000.0;
    case 3:
        return std::pow(10.0, level / 20.0);
    case 4:
    case 5:
        return std::pow(10.0, (level - 120.0) / 20.0);
    default:
        return std::pow(10.0, level / 10.0) / 1000.0 + 5e-13;
    }
}

namespace {
struct UnitTextRow {
    UnitFormTexts logarithmic;
    UnitFormTexts linear;
};
constexpr UnitTextRow kUnitTexts[6] = {
    {{"dBm", "Level(dBm)", "Reference(dBm)"}, {"W", "Level(W)", "Reference(dBm)"}},
    {{"dBuV", "Level(dBuV)", "Reference(dBuV)"}, {"uV", "Level(uV)", "Reference(dBuV)"}},
    {{"dBmV", "Level(dBmV)", "Reference(dBmV)"}, {"mV", "Level(mV)", "Reference(dBmV)"}},
    {{"dBV", "Level(dBV)", "Reference(dBV)"}, {"V", "Level(V)", "Reference(dBV)"}},
    {{"dBuV/m", "Level(dBuV/m)", "Reference(dBuV/m)"}, {"V/m", "Level(V/m)", "Reference(dBuV/m)"}},
    {{"dBuA/m", "Level(dBuA/m)", "Reference(dBuA/m)"}, {"A/m", "Level(A/m)", "Reference(dBuA/m)"}},
};

int validDisplayUnit(int displayUnit) {
    return displayUnit >= 0 && displayUnit <= 5 ? displayUnit : 0;
}

// The texts of a row and the reference edit value: units 0..3 show refLevel plus the unit
// constant, 4 and 5 the field reference, both rounded with the offset.
UnitLabelUpdate labelsForRow(int displayUnit) {
    UnitLabelUpdate u{};
    u.displayUnit = validDisplayUnit(displayUnit);
    u.texts = unitFormTexts(u.displayUnit, gSettings.conversionIndex);
    if (u.displayUnit >= tracekind::kUnitElectricField) {
        u.referenceValue = roundReference(gSettings.fieldRefLevel, gSettings.levelOffset);
    } else {
        const long long v =
            static_cast<long long>(roundReference(gSettings.refLevel, gSettings.levelOffset)) +
            unitConstant(u.displayUnit);
        u.referenceValue = static_cast<int>(v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : v));
    }
    std::snprintf(u.referenceText, sizeof u.referenceText, "%d", u.referenceValue);
    return u;
}

// Recomputes the field reference for a field-strength kind.
void fieldReferenceForKind(int kind) {
    if (kind == tracekind::kScreenFieldE || kind == tracekind::kScreenFieldM) {
        gSettings.fieldRefLevel = gSettings.traceRecord.recordRefLevel;
    } else if (const int antenna = tracekind::antennaOfKind(kind); antenna >= 0) {
        computeAntennaReference(antenna);
    } else if (const int probe = tracekind::probeOfKind(kind); probe >= 0) {
        computeProbeReference(probe);
    }
}
} // namespace

UnitFormTexts unitFormTexts(int displayUnit, int conversionIndex) {
    const UnitTextRow& row = kUnitTexts[validDisplayUnit(displayUnit)];
    return conversionIndex == 1 ? row.linear : row.logarithmic;
}

const char* conversionCaption(int displayUnit, int linear) {
    return unitFormTexts(displayUnit, linear == 1 ? 1 : 0).unitLabel;
}

UnitLabelUpdate updateUnitLabels() {
    const int kind = activeKind();
    if (tracekind::isFieldStrengthKind(kind)) {
        fieldReferenceForKind(kind);
        return labelsForRow(tracekind::unitOfKind(kind));
    }
    if (kind >= 30 && kind <= 37) {
        const int unit = tracekind::unitOfKind(kind);
        if (unit > 0) {
            // The record's reference is in its own unit; refLevel holds dBm.
            // A record reference whose dBm value the record cannot hold leaves refLevel.
            const long long dBm =
                static_cast<long long>(gSettings.traceRecord.recordRefLevel) - unitConstant(unit);
            if (dBm >= valuelimits::kRefLevelMin && dBm <= valuelimits::kRefLevelMax) {
                gSettings.refLevel = static_cast<int>(dBm);
            }
        }
        return labelsForRow(unit);
    }
    return labelsForRow(gSettings.unitIndex);
}

UnitLabelUpdate updateUnitLabelsForMeasurement() {
    const int kind = activeKind();
    switch (modes::Measure()) {
    case MeasureFunction::ElectricField:
        if (kind == tracekind::kEmpty) {
            computeAntennaReference(gSettings.antennaIndex);
        } else if (tracekind::isElectricFieldKind(kind)) {
            fieldReferenceForKind(kind);
        }
        return labelsForRow(tracekind::kUnitElectricField);
    case MeasureFunction::MagneticField:
        if (kind == tracekind::kEmpty) {
            computeProbeReference(gSettings.probeIndex);
        } else if (tracekind::isMagneticFieldKind(kind)) {
            fieldReferenceForKind(kind);
        }
        return labelsForRow(tracekind::kUnitMagneticField);
    default:
        return labelsForRow(gSettings.unitIndex);
    }
}
