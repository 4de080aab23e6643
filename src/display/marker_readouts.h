#pragma once
// The texts of the two marker readouts from the marker positions and levels.

#include "axis_mapping.h"
#include "modes.h"

#include <string>

namespace display {

struct MarkerReadoutInput {
    double x1 = 0, x2 = 0; // cursor positions
    double level1 = 0, level2 = 0;
    MarkerMode markerMode = MarkerMode::Normal;
    int conversionIndex = 0; // 1: levels shown linear
    int displayUnit = 0;
};

struct MarkerReadoutTexts {
    std::string freq1, level1, freq2, level2;
    bool levelsWritten = true; // zero span leaves the level readouts as they are
};

MarkerReadoutTexts MarkerReadouts(const AxisFrame& frame, const MarkerReadoutInput& in);

} // namespace display
