#pragma once
// The screen record: the analyzer's settings and trace as one multi-line CR LF text (the layout is
// written down in docs/simulator.md).

#include "analyzer_state.h"
#include "field_strength.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

inline constexpr int kPointsPerLine = 25;

// memoryNumber < 0: the current screen; 0..99: a stored memory (the record then carries "PARAM").
// The text ends with CR LF.
// reference: the reference level in the record's unit (see recordReference).
std::string formatScreenRecord(const AnalyzerState& state, const std::vector<uint8_t>& points,
                               int memoryNumber, int reference);

// The unit word of the record: "dBm", "dBuV", "dBmV", "dBV", or the field-strength units while
// E/F or M/F measures.
const char* recordUnitWord(const AnalyzerState& state);

// Reference level in the unit of the record (whole dB).
int recordReference(const AnalyzerState& state, const UserTables& user);

} // namespace sim
