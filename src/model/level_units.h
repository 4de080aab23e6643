#pragma once
// Level units: unit constants, the rounding of a displayed reference, the field-strength reference
// from antenna and probe correction tables, the attenuator readout, the linear marker conversion
// and the form texts that name the unit. Everything reads gSettings; the unit-label functions
// return texts for the view to apply.

#include "instrument_settings.h"

#include <string>

namespace levelunits {

// Added to a dBm value to get dBm, dBuV, dBmV, dBV (unitIndex 0..3).
inline constexpr int kUnitConstant[4] = {0, 107, 47, -13};
// 0 for an index outside 0..3.
int unitConstant(int unitIndex);

// Field-strength reference correction in tenths of a dB by impedanceIndex (50 ohm, 75 ohm).
inline constexpr int kImpedanceCorrection[2] = {0, 18};
// Hundredths of a dB per level byte step by scaleIndex (2 dB/div, 10 dB/div).
inline constexpr int kLevelResolution[2] = {8, 40};
// Out-of-range indexes count as 0 (50 ohm) and 1 (10 dB/div).
int impedanceCorrection(int impedanceIndex);
int levelResolution(int scaleIndex);

// A correction table: frequencies in 0.1 MHz, gains or factors in 0.01 dB.
struct CorrectionTable {
    const int* freq;
    const int* gain;
    int rows;
};
inline constexpr int kAntennaCount = 7; // AT11 AT12 AT13 AT14 user AT15 AT16
inline constexpr int kUserAntenna = 4;
inline constexpr int kProbeCount = 2; // PR-7Q, user
inline constexpr int kUserProbe = 1;
// The built-in table of an antenna; the user antenna (4) reads gSettings.efUserFreq/efUserGain,
// its rows being the leading rows with a frequency >= 0. Indexes outside 0..6 count as 0.
CorrectionTable antennaTable(int antennaIndex);
// The PR-7Q table for 0; the user probe table (gSettings.mfUserFreq/mfUserGain, rows = leading
// rows with a frequency >= 0) for 1; other indexes count as 0.
CorrectionTable probeTable(int probeIndex);

// Rounds reference + offset half away from zero (add 0.5 when >= 0, else subtract 0.5, then
// truncate); saturates at the int range, and a NaN sum gives 0.
int roundReference(double reference, double levelOffset);

// Field-strength reference for the given antenna or probe from the record's centre, span, model,
// scale, impedance, offset and refLevel, without changing the record. The probe form returns
// s.fieldRefLevel unchanged when the user probe table has no usable row.
int antennaReference(const InstrumentSettings& s, int antennaIndex);
int probeReference(const InstrumentSettings& s, int probeIndex);

} // namespace levelunits

// Set gSettings.fieldRefLevel from the antenna (0..6) or probe (0..1) correction.
void computeAntennaReference(int antennaIndex);
void computeProbeReference(int probeIndex);

// The reference level of the active trace slot in its own unit, for a dBm value (no offset, no
// rounding). Field kinds run the antenna/probe computation with refLevel temporarily set to dBm
// and return fieldRefLevel (which stays set).
int referenceInDisplayUnit(int dBm);
// The same by the measuring function: E/F antenna reference with antennaIndex, M/F probe
// reference with probeIndex, otherwise dBm + the unit constant of unitIndex.
int referenceForMeasurement(int dBm);

// The attenuation shown under "Attenuator(dB)"; kAttenuatorSoftwareAmp means "S/W AMP".
inline constexpr int kAttenuatorSoftwareAmp = 255;
int attenuatorForReference(int refLevel);
// "S/W AMP" or the attenuation as a plain decimal integer.
std::string attenuatorText(int refLevel);

// Linear value of a marker level L given in the display unit's logarithmic form: W for 0, V for
// 1..3, V/m or A/m for 4 and 5. An out-of-range unit counts as 0.
double convertMarkerLevel(double level, int displayUnit);

// Texts naming a display unit on the form. displayUnit outside 0..5 counts as 0; any
// conversionIndex other than 1 counts as logarithmic.
struct UnitFormTexts {
    const char* unitLabel;        // under the graph: "dBm" / "W"
    const char* markerLevelLabel; // marker 1 and 2 level labels: "Level(dBm)"
    const char* referenceLabel;   // panel label "Reference(dBm)"
};
UnitFormTexts unitFormTexts(int displayUnit, int conversionIndex);
// Captions of the two "Marker Conversion" radio buttons (logarithmic, linear) for a display unit.
const char* conversionCaption(int displayUnit, int linear);

// What the view applies after a unit label update.
struct UnitLabelUpdate {
    int displayUnit;        // 0..5; 4 and 5: the Unit combo gets its field entries and is disabled
    UnitFormTexts texts;    // by displayUnit and conversionIndex
    int referenceValue;     // the panel's reference edit value
    char referenceText[16]; // the same printed with "%d"
};
// By the active slot's kind. May set refLevel (kinds 32..37) and fieldRefLevel (field kinds).
UnitLabelUpdate updateUnitLabels();
// By the measuring function (E/F row 4, M/F row 5, else unitIndex). May set fieldRefLevel.
UnitLabelUpdate updateUnitLabelsForMeasurement();
