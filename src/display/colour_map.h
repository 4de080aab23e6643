#pragma once
// The waterfall's colour map: a perceptual scale (viridis) from dark blue-violet at the low end
// through green to yellow at the high end.

#include <cstdint>

namespace display {

struct Rgb {
    uint8_t r, g, b;
};

// Colour of t in 0..1; values outside are clamped, not-a-number gives the low end.
Rgb ColourMap(double t);

// The colour of each level over the range lo (low end) .. hi (high end), as 0xFFRRGGBB words
// (opaque pixels of a 32-bit image). A range that is empty or not finite maps everything to the
// low end.
void MapLevels(const float* levels, int count, double lo, double hi, uint32_t* out);

} // namespace display
