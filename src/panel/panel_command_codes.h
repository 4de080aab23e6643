#pragma once
// Command and query codes of the command transaction that the panel sends.

namespace panelcmd {

inline constexpr int kFreq = 100;
inline constexpr int kSpan = 101;
inline constexpr int kRef = 102;
inline constexpr int kUnit = 103;
inline constexpr int kRbw = 104;
inline constexpr int kVbw = 105;
inline constexpr int kCalc = 123;
inline constexpr int kMaxCount = 124;
inline constexpr int kMinCount = 125;
inline constexpr int kAveCount = 126;
inline constexpr int kScale = 127;
inline constexpr int kSweep = 128;
inline constexpr int kDetector = 129;
inline constexpr int kAutoTune = 130;
inline constexpr int kRunHold = 131;
inline constexpr int kMarkerMode = 133;
inline constexpr int kPreset = 145;
inline constexpr int kRemote = 146;
inline constexpr int kOffset = 149;
inline constexpr int kImpedance = 150;

inline constexpr int kQueryFreq = 200;
inline constexpr int kQueryRbw = 204;
inline constexpr int kQueryVbw = 205;
inline constexpr int kQueryMaxCount = 221;
inline constexpr int kQueryMinCount = 222;
inline constexpr int kQueryAveCount = 223;
inline constexpr int kQuerySweep = 225;
inline constexpr int kQueryDetector = 226;

} // namespace panelcmd
