#include "colour_map.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace display {
namespace {

constexpr int kSteps = 256;

// Polynomial fit of viridis (within 5 of 255 of the table), one per channel, in t.
double Channel(const double (&c)[7], double t) {
    double v = c[6];
    for (int i = 5; i >= 0; --i)
        v = v * t + c[i];
    return std::clamp(v, 0.0, 1.0);
}

constexpr double kRed[7] = {0.2777273272234177, 0.1050930431085774, -0.3308618287255563,
                            -4.634230498983486, 6.228269936347081,  4.776384997670288,
                            -5.435455855934631};
constexpr double kGreen[7] = {0.005407344544966578, 1.404613529898575, 0.214847559468213,
                              -5.799100973351585,   14.17993336680509, -13.74514537774601,
                              4.645852612178535};
constexpr double kBlue[7] = {0.3340998053353061, 1.384590162594685, 0.09509516302823659,
                             -19.33244095627987, 56.69055260068105, -65.35303263337234,
                             26.3124352495832};

uint8_t Byte(double v) {
    return static_cast<uint8_t>(std::lround(v * 255.0));
}

const std::array<uint32_t, kSteps>& Table() {
    static const std::array<uint32_t, kSteps> table = [] {
        std::array<uint32_t, kSteps> t{};
        for (int i = 0; i < kSteps; ++i) {
            const Rgb c = ColourMap(i / double(kSteps - 1));
            t[static_cast<size_t>(i)] =
                0xFF000000u | (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | uint32_t(c.b);
        }
        return t;
    }();
    return table;
}

} // namespace

Rgb ColourMap(double t) {
    if (std::isnan(t))
        t = 0;
    t = std::clamp(t, 0.0, 1.0);
    return {Byte(Channel(kRed, t)), Byte(Channel(kGreen, t)), Byte(Channel(kBlue, t))};
}

void MapLevels(const float* levels, int count, double lo, double hi, uint32_t* out) {
    const std::array<uint32_t, kSteps>& table = Table();
    const double range = hi - lo;
    if (!(range > 0) || !std::isfinite(range) || !std::isfinite(lo)) {
        std::fill(out, out + std::max(count, 0), table[0]);
        return;
    }
    const float scale = static_cast<float>((kSteps - 1) / range);
    const float base = static_cast<float>(lo);
    for (int i = 0; i < count; ++i) {
        // Written so that not-a-number falls to the low end.
        const float v = (levels[i] - base) * scale;
        const int index = v > 0 ? (v < kSteps - 1 ? static_cast<int>(v + 0.5f) : kSteps - 1) : 0;
        out[i] = table[static_cast<size_t>(index)];
    }
}

} // namespace display
