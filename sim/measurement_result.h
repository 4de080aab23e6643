#pragma once
// The result text of the measuring function in force ("MEASRES"), computed from the displayed
// trace: channel power, adjacent channel power, occupied bandwidth, field strength, frequency
// count, or the text for no function.

#include "analyzer_state.h"
#include "field_strength.h"
#include "spectrum_model.h"

#include <string>

namespace sim {

std::string measurementResult(const AnalyzerState& state, const SweepLevels& levels,
                              const std::vector<SignalSpec>& signals, const UserTables& user);

// Power (dBm) of the displayed trace between two frequencies.
double bandPower(const AnalyzerState& state, const SweepLevels& levels, double low, double high);

// A frequency with four decimals and a k, M or G prefix and "Hz" ("1000.0000MHz").
std::string frequencyText(double hz);

} // namespace sim
