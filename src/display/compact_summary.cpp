#include "compact_summary.h"

#include "display_model.h"
#include "instrument_settings.h"
#include "keyword_tables.h"
#include "modes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace display {
namespace {

template <std::size_t N> std::string KeywordOf(const char* const (&table)[N], int index) {
    return (index >= 0 && index < keywords::count(table)) ? table[index] : "";
}

std::string Printf(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Reference shown on the form: the level plus offset, rounded half away from zero.
int RoundedReference() {
    double v = gSettings.refLevel + gSettings.levelOffset;
    v += v >= 0 ? 0.5 : -0.5;
    return static_cast<int>(std::clamp(v, -1e6, 1e6));
}

void FillMeasureRows(const CompactInputs& in, CompactLine rows[4]) {
    const InstrumentSettings& s = gSettings;
    switch (s.measureIndex) {
    case 1:
        if (s.cpMode == 1) {
            rows[0] = {"Band Center", in.bandCenter + "Hz"};
            rows[1] = {"Band Width", in.bandWidth + "Hz"};
        }
        break;
    case 2:
        rows[0] = {"Adj Ch Offset", in.bandCenter + "Hz"};
        rows[1] = {"Adj Ch Bw", in.bandWidth + "Hz"};
        if (s.acpMode == 0) {
            rows[2] = {"Adj Ref Center", in.refCenter + "Hz"};
        } else if (s.acpMode == 1) {
            rows[2] = {"Reference Center", in.refCenter + "Hz"};
            rows[3] = {"Reference Width", in.refWidth + "Hz"};
        }
        break;
    case 3:
        if (s.obwMode == 0)
            rows[0] = {"N% Ratio", in.obwRatio + "%"};
        else
            rows[0] = {"XdB DOWN", in.obwDb + "dB"};
        break;
    default: // markers
        rows[0] = {"MKR1 FREQ", in.marker1Freq + "Hz"};
        rows[1] = {"MKR1 LEVEL", in.marker1Level};
        if (modes::Marker(s) == MarkerMode::Normal) {
            rows[2] = {"MKR2 FREQ", in.marker2Freq + "Hz"};
            rows[3] = {"MKR2 LEVEL", in.marker2Level};
        } else {
            rows[2] = {"DELTA FREQ", in.marker2Freq + "Hz"};
            rows[3] = {"DELTA LEVEL", in.marker2Level};
        }
        break;
    }
}

} // namespace

CompactSummaryTexts BuildCompactSummary(const CompactInputs& in) {
    const InstrumentSettings& s = gSettings;
    CompactSummaryTexts t;
    t.frequency[0] = {"CENTER", FormatSi(s.centerFreq, 4, kAutoPrefix) + "Hz"};
    const char* const* spans = keywords::spanTable(s.modelIndex);
    const bool spanValid = s.spanIndex >= 0 && s.spanIndex < keywords::spanCount(s.modelIndex);
    t.frequency[1] = {"SPAN", std::string(spanValid ? spans[s.spanIndex] : "") + "Hz"};
    t.frequency[2] = {"RBW", KeywordOf(keywords::kRbw, s.rbwIndex) + "Hz"};
    t.frequency[3] = {"VBW", KeywordOf(keywords::kVbw, s.vbwIndex) + "Hz"};

    const int reference = ReferenceForMeasurement(RoundedReference());
    static const char* const kUnitFormat[] = {"%ddBm", "%ddBuV", "%ddBmV", "%ddBV"};
    const char* format = modes::Measure(s) == MeasureFunction::ElectricField   ? "%ddBuV/m"
                         : modes::Measure(s) == MeasureFunction::MagneticField ? "%ddBuA/m"
                         : (s.unitIndex >= 0 && s.unitIndex < 4) ? kUnitFormat[s.unitIndex]
                                                                 : "%ddBm";
    t.level[0] = {"REFERENCE", Printf(format, reference)};
    char offset[64];
    std::snprintf(offset, sizeof offset, "%.1fdB", s.levelOffset);
    t.level[1] = {"OFFSET", offset};
    t.level[2] = {"IMPEDANCE", Printf("%d", 50 + 25 * s.impedanceIndex)};
    const int attenuator = AttenuatorForReference(s.refLevel);
    t.level[3] = {"ATTENUATOR", attenuator == 255 ? "S/W AMP" : Printf("%ddB", attenuator)};
    t.level[4] = {"SCALE", Printf("%ddB/div", 2 + 8 * s.scaleIndex)};

    t.sweep[0] = {"SWEEP TIME", KeywordOf(keywords::kSweep, s.sweepIndex)};
    t.sweep[1] = {"DETECTION", KeywordOf(keywords::kDetector, s.detectorIndex)};

    static const char* const kCalcNames[] = {"Normal", "Max Hold", "Min Hold", "Average",
                                             "OverWrite"};
    t.calcMode = (s.calcIndex >= 0 && s.calcIndex < 5) ? kCalcNames[s.calcIndex] : "";
    static const char* const kMeasureNames[] = {
        "Measure Off",        "Channnel Power",          "Adjacent Channel Power",
        "Occupied Bandwidth", "Electric Field Strength", "Magnetic Field Strength",
        "Frequency Counter"};
    t.measureTitle = "Measuring Mode";
    t.measureName =
        (s.measureIndex >= 0 && s.measureIndex < 7) ? kMeasureNames[s.measureIndex] : "";
    FillMeasureRows(in, t.measureRows);
    t.result = in.result;
    return t;
}

} // namespace display
