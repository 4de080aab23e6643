#pragma once
// Antenna and probe factors of the field-strength functions: a level in dBm at the input plus the
// factor gives dBuV/m (antenna) or dBuA/m (probe).

#include "analyzer_state.h"

#include <utility>
#include <vector>

namespace sim {

// A user correction table: (frequency Hz, gain dB) rows in rising frequency.
using CorrectionTable = std::vector<std::pair<double, double>>;

struct UserTables {
    CorrectionTable antenna;
    CorrectionTable probe;
};

// Factor in dB from dBm to dBuV/m for antenna index 0..6 at frequency f.
double antennaFactor(int antennaIndex, double f, const CorrectionTable& user);

// Factor in dB from dBm to dBuA/m for probe index 0..1 at frequency f.
double probeFactor(int probeIndex, double f, const CorrectionTable& user);

// The field-strength factor of the function in force (E/F or M/F) at frequency f; 0 otherwise.
double fieldFactor(const AnalyzerState& state, const UserTables& user, double f);

// The reference level in the field unit at the centre frequency (whole dB).
int fieldReference(const AnalyzerState& state, const UserTables& user = {});

// Reads a user correction text "FREQ:GAIN,FREQ:GAIN,..." (1 to 10 rows, frequencies rising,
// optional "Hz" and "dB" units). False for a malformed text.
bool parseUserTable(const std::string& text, CorrectionTable& table);

} // namespace sim
