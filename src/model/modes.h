#pragma once
// The analyzer's modes as types. The record keeps them as the integers that are at once the
// keyword index on the wire, the panel list position and the settings file value; these
// accessors read them typed.

#include "instrument_settings.h"

enum class MeasureFunction : int {
    Off = 0,
    ChannelPower = 1,
    AdjacentChannel = 2,
    OccupiedBandwidth = 3,
    ElectricField = 4,
    MagneticField = 5,
    FrequencyCounter = 6,
};

enum class MarkerMode : int { Normal = 0, Delta = 1 };

// The peak search range: the whole trace or the zone.
enum class PeakMode : int { Normal = 0, Zone = 1 };

enum class Calculation : int { Off = 0, MaxHold = 1, MinHold = 2, Average = 3, Overwrite = 4 };

// Display units; 4 and 5 only while a field-strength function or trace is shown.
enum class LevelUnit : int {
    Dbm = 0,
    Dbuv = 1,
    Dbmv = 2,
    Dbv = 3,
    ElectricField = 4,
    MagneticField = 5
};

// ReadWriteSettings' direction.
enum class SettingsDirection : int { Read = 0, Write = 1 };

namespace modes {

inline MeasureFunction Measure(const InstrumentSettings& s = gSettings) {
    return static_cast<MeasureFunction>(s.measureIndex);
}
inline bool FieldStrength(const InstrumentSettings& s = gSettings) {
    return Measure(s) == MeasureFunction::ElectricField ||
           Measure(s) == MeasureFunction::MagneticField;
}
inline MarkerMode Marker(const InstrumentSettings& s = gSettings) {
    return static_cast<MarkerMode>(s.markerMode);
}
inline PeakMode Peak(const InstrumentSettings& s = gSettings) {
    return static_cast<PeakMode>(s.peakMode);
}
inline Calculation Calc(const InstrumentSettings& s = gSettings) {
    return static_cast<Calculation>(s.calcIndex);
}
// Max hold, min hold and average accumulate on the analyzer: acquired on a period, no capture.
inline bool Accumulating(const InstrumentSettings& s = gSettings) {
    return Calc(s) == Calculation::MaxHold || Calc(s) == Calculation::MinHold ||
           Calc(s) == Calculation::Average;
}
inline LevelUnit Unit(const InstrumentSettings& s = gSettings) {
    return static_cast<LevelUnit>(s.unitIndex);
}

} // namespace modes
