#pragma once
// The model operations the display relies on, gathered in one place so the display code reads the
// same whichever way the model spells them.

#include <string>

namespace display {

// Value with `decimals` decimals and an SI prefix; mode 10 chooses the prefix, -4..4 fix it.
std::string FormatSi(double value, int decimals, int prefixMode);
inline constexpr int kAutoPrefix = 10;
inline constexpr int kGigaPrefix = 3;

// Reads a number with an optional SI prefix or exponent; 0 for an empty text, else 1.
int ParseSi(const char* text, double* value);

// Hz per display position for the current model and span.
double SpanStepHz();
// Sweep time of the current sweep setting, seconds.
double SweepSeconds();
// True when the span is zero: time replaces frequency on the X axis.
bool ZeroSpan();

// Reference level of the active trace in its unit, for a level in dBm.
int ReferenceInDisplayUnit(int dbm);
// Linear form of a marker level in the given display unit.
double ConvertMarkerLevel(double level, int displayUnit);
// Display unit 0..5 (dBm, dBuV, dBmV, dBV, dBuV/m, dBuA/m) shown for the active trace.
int DisplayUnit();

// Sets the field-strength reference for an antenna or a probe.
void ComputeAntennaReference(int antennaIndex);
void ComputeProbeReference(int probeIndex);

} // namespace display

namespace display {
// Reference of the current measuring function for a level in dBm (field units for E/F and M/F).
int ReferenceForMeasurement(int dbm);
// Attenuation shown for a reference level; 255 stands for "S/W AMP".
int AttenuatorForReference(int refLevel);
} // namespace display
