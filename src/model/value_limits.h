#pragma once
// The ranges the settings record holds. Every value decoded from the analyzer or read from a
// file is checked against its field's range before it is stored; a value outside it leaves the
// field as it was. Within these ranges the arithmetic on the fields cannot overflow.

namespace valuelimits {

// Any frequency field (Hz): far beyond every model, so a real value is never refused.
inline constexpr double kFreqMax = 100.0e9;
// Highest centre frequency of a model (0 = RVX410, 1 = RVX420), Hz.
inline constexpr double kCenterFreqMax410 = 3.3e9;
inline constexpr double kCenterFreqMax420 = 8.5e9;
double centerFreqMax(int modelIndex);

// Reference level, whole dBm: the panel's widest range (-60 .. +10 shifted by the offset).
inline constexpr int kRefLevelMin = -110;
inline constexpr int kRefLevelMax = 60;
// A screen record's reference, in its own unit (dBuV and field units sit above dBm).
inline constexpr int kRecordRefLevelMin = -1000;
inline constexpr int kRecordRefLevelMax = 1000;
// Level offset, dB.
inline constexpr double kOffsetMin = -50.0;
inline constexpr double kOffsetMax = 50.0;
// Occupied bandwidth parameters.
inline constexpr double kObwRatioMin = 80.0;
inline constexpr double kObwRatioMax = 99.9;
inline constexpr double kObwDbMin = 0.1;
inline constexpr double kObwDbMax = 80.0;
// Max hold, min hold and average counts.
inline constexpr int kCountMin = 0;
inline constexpr int kCountMax = 1024;
// User correction rows: frequency in 100 kHz units (empty rows hold -200), gain in 0.01 dB.
inline constexpr int kUserFreqMin = -200;
inline constexpr int kUserFreqMax = 1000000; // 100 GHz
inline constexpr int kUserGainMin = -100000; // -1000 dB
inline constexpr int kUserGainMax = 100000;

// True for a finite value within lo..hi (NaN and infinities are never inside).
inline bool inRange(double value, double lo, double hi) {
    return value >= lo && value <= hi;
}
inline bool inRange(int value, int lo, int hi) {
    return value >= lo && value <= hi;
}
inline bool isFrequency(double hz) {
    return inRange(hz, -kFreqMax, kFreqMax);
}

// Stores `value` in `*field` when it lies within lo..hi; returns whether it did.
template <typename T> bool storeInRange(T* field, T value, T lo, T hi) {
    if (!inRange(value, lo, hi)) {
        return false;
    }
    *field = value;
    return true;
}

} // namespace valuelimits
