#include "display_model.h"

#include "instrument_settings.h"
#include "keyword_tables.h"
#include "level_units.h"
#include "modes.h"
#include "number_text.h"
#include "span_steps.h"
#include "trace_kinds.h"

#include <algorithm>

namespace display {

std::string FormatSi(double value, int decimals, int prefixMode) {
    return formatSI(value, decimals, prefixMode);
}

int ParseSi(const char* text, double* value) {
    return parseSI(text, value);
}

double SpanStepHz() {
    return spansteps::currentSpanStepHz();
}

double SweepSeconds() {
    const int i = std::clamp(gSettings.sweepIndex, 0, keywords::count(keywords::kSweep) - 1);
    return keywords::kSweepSeconds[i];
}

bool ZeroSpan() {
    return gSettings.spanIndex == 0;
}

int ReferenceInDisplayUnit(int dbm) {
    return referenceInDisplayUnit(dbm);
}

double ConvertMarkerLevel(double level, int displayUnit) {
    return convertMarkerLevel(level, displayUnit);
}

int DisplayUnit() {
    const int slot = std::clamp(gSettings.activeTraceSlot, 1, 10);
    const int unit = tracekind::unitOfKind(gSettings.traceKind[slot]);
    if (unit >= 0)
        return unit;
    if (modes::Measure() == MeasureFunction::ElectricField)
        return tracekind::kUnitElectricField;
    if (modes::Measure() == MeasureFunction::MagneticField)
        return tracekind::kUnitMagneticField;
    return std::clamp(gSettings.unitIndex, 0, 3);
}

void ComputeAntennaReference(int antennaIndex) {
    computeAntennaReference(antennaIndex);
}
void ComputeProbeReference(int probeIndex) {
    computeProbeReference(probeIndex);
}
int ReferenceForMeasurement(int dbm) {
    return referenceForMeasurement(dbm);
}
int AttenuatorForReference(int refLevel) {
    return attenuatorForReference(refLevel);
}

} // namespace display
