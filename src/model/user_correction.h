#pragma once
// The user correction tables for the E/F antenna and the M/F probe: the text kept in the record
// ("30M:12.5dB,100M:10.2dB") parsed into efUserFreq/efUserGain or mfUserFreq/mfUserGain.

#include <cstddef>

namespace usercorrection {
inline constexpr int kAntenna = 1; // E/F: efUserText into efUserFreq / efUserGain
inline constexpr int kProbe = 2;   // M/F: mfUserText into mfUserFreq / mfUserGain
inline constexpr int kEmptyEntry = -200;

// Parses `text` (at most `length` characters, ending earlier at a zero byte or carriage return)
// into the 10-entry frequency (100 kHz units) and gain (0.01 dB) arrays. Entries the text does
// not reach keep their values, and so does an entry whose number lies outside the table's range
// (valuelimits); at most 10 entries are read. Returns the number of entries read.
int parseCorrectionText(const char* text, std::size_t length, int kind, int* freq, int* gain);
} // namespace usercorrection

// Parses the kind's user text (1 antenna, 2 probe) from gSettings into its table. Other kinds do
// nothing and return 0; otherwise returns the number of entries read.
int ParseUserCorrection(int kind);
