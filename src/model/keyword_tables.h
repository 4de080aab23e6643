#pragma once
// The analyzer's wire keywords. A setting's index is at once its panel list position, the value
// saved in the settings file and the position of the keyword sent on the wire. Every table ends
// with an empty entry; decoders stop their scan there.

#include <cstddef>

namespace keywords {

inline constexpr const char* kSpan410[] = {"ZERO", "200K", "500K", "1M",   "2M",   "5M",
                                           "10M",  "20M",  "50M",  "100M", "200M", "500M",
                                           "1G",   "2G",   "FULL", ""};
inline constexpr const char* kSpan420[] = {"ZERO", "200K", "500K", "1M",   "2M",   "5M",
                                           "10M",  "20M",  "50M",  "100M", "200M", "500M",
                                           "1G",   "2G",   "5G",   "FULL", ""};
inline constexpr const char* kUnit[] = {"DBM",    "DBUV", "DBMV", "DBV", "dBuV/m",
                                        "dBuA/m", "dBu{", "dBu|", ""};
inline constexpr const char* kRbw[] = {"3K", "10K", "30K", "100K", "300K", "1M", "3M", "ALL", ""};
inline constexpr const char* kVbw[] = {"100",  "300",  "1K", "3K",  "10K", "30K",
                                       "100K", "300K", "1M", "ALL", "OFF", ""};
inline constexpr const char* kMeasure[] = {"OFF", "CP", "ACP", "OBW", "EF", "MF", "FC", ""};
inline constexpr const char* kCpMode[] = {"TOTAL", "BAND", ""};
inline constexpr const char* kAcpMode[] = {"TOTAL", "BAND", "PEAK", ""};
inline constexpr const char* kObwMode[] = {"N%", "DB", ""};
inline constexpr const char* kAntenna[] = {"AT11", "AT12", "AT13", "AT14",
                                           "USER", "AT15", "AT16", ""};
inline constexpr const char* kProbe[] = {"PR7Q", "USER", ""};
inline constexpr const char* kCalc[] = {"OFF", "MAX", "MIN", "AVE", "OVR", ""};
inline constexpr const char* kScale[] = {"2", "10", ""};
inline constexpr const char* kSweep[] = {"10M", "30M", "0.1", "0.3", "1", "3", "10", "30", ""};
inline constexpr const char* kDetector[] = {"POS", "NEG", "SMP", ""};
inline constexpr const char* kMarkerMode[] = {"NORM", "DELTA", ""};
inline constexpr const char* kPeakMode[] = {"NORM", "ZONE", ""};
inline constexpr const char* kConversion[] = {"DBM", "W", "DBV", "V", ""};
inline constexpr const char* kImpedance[] = {"50", "75", ""};
inline constexpr const char* kOffOn[] = {"OFF", "ON", ""};
inline constexpr const char* kPortName[] = {"COM1", "COM2", "COM3", "COM4", "COM5",
                                            "COM6", "COM7", "COM8", ""};
inline constexpr int kBaudRate[] = {2400, 4800, 9600, 19200, 38400, 57600};
inline constexpr const char* kModelName[] = {"RVX410", "RVX420", ""};

// Sweep times of the sweep table in seconds.
inline constexpr double kSweepSeconds[] = {0.01, 0.03, 0.1, 0.3, 1.0, 3.0, 10.0, 30.0};

// Number of keywords in a table (the entries before the empty one).
template <std::size_t N> constexpr int count(const char* const (&)[N]) {
    return static_cast<int>(N) - 1;
}

// The span row of a model: 0 = RVX410, anything else = RVX420.
inline const char* const* spanTable(int modelIndex) {
    return modelIndex == 1 ? kSpan420 : kSpan410;
}
inline int spanCount(int modelIndex) {
    return modelIndex == 1 ? count(kSpan420) : count(kSpan410);
}

} // namespace keywords
