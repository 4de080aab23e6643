#pragma once
// What a trace kind code says: point count, level unit, antenna or probe. The codes themselves
// are in instrument_settings.h (namespace tracekind).

#include "instrument_settings.h"

namespace tracekind {

// Display units (the Unit combo): 0..3 = dBm, dBuV, dBmV, dBV as unitIndex, 4 dBuV/m, 5 dBuA/m.
inline constexpr int kUnitDbm = 0;
inline constexpr int kUnitDbuv = 1;
inline constexpr int kUnitDbmv = 2;
inline constexpr int kUnitDbv = 3;
inline constexpr int kUnitElectricField = 4;
inline constexpr int kUnitMagneticField = 5;

// True for the codes listed for trace kinds (0, 1, 2, 10..17, 20..39).
bool isKnownKind(int kind);

// 251 or 1001 by kind; 0 for the empty kind 2 and for unknown codes.
int pointCount(int kind);

// Field-strength kinds: 10..17, 20..29, 38, 39.
bool isFieldStrengthKind(int kind);
bool isElectricFieldKind(int kind); // 10..15, 20..25, 28, 38, 39
bool isMagneticFieldKind(int kind); // 16, 17, 26, 27, 29

// Antenna index 0..6 of an electric-field kind taken with an antenna (10..15, 20..25, 38, 39),
// else -1 (also for 28, which carries no antenna).
int antennaOfKind(int kind);
// Probe index 0..1 of 16, 17, 26, 27, else -1 (also for 29).
int probeOfKind(int kind);

// The display unit a kind's levels are in: 4 or 5 for field kinds, 0..3 for 30..37, -1 for the
// kinds that follow the current selection (0, 1, 2) and unknown codes.
int unitOfKind(int kind);

// The kind an acquisition assigns: electric field with antenna 0..6, magnetic with probe 0..1,
// 251 or 1001 points. An index out of range gives -1.
int electricFieldKind(int antennaIndex, bool detailed);
int magneticFieldKind(int probeIndex, bool detailed);

} // namespace tracekind
