#pragma once
// Number text routines for everything shown on or read from the form: a fixed-decimal formatter
// with an SI prefix letter, a parser that reads an optional SI prefix or exponent, an integer
// formatter and the comparisons used when matching replies and keywords. No state; the caller
// owns every buffer, and nothing is written past the size it gives.

#include <cstddef>
#include <string>

// Prefix modes of formatSI: -4..4 fix the prefix ("p" "n" "u" "m" none "k" "M" "G" "T"),
// kPrefixAuto (and any other value) chooses it.
inline constexpr int kPrefixAuto = 10;
inline constexpr int kPrefixNone = 0;
inline constexpr int kPrefixGiga = 3;

struct SIFormat {
    int decimals;
    int prefixMode;
};
// The four formats used across the program.
inline constexpr SIFormat kFreqEditFormat{4, kPrefixGiga};    // "1.0000G": frequency edit boxes
inline constexpr SIFormat kReadoutFormat{4, kPrefixAuto};     // "20.0000M": frequency/time readouts
inline constexpr SIFormat kLevelDbFormat{1, kPrefixNone};     // "-12.3": levels in dB
inline constexpr SIFormat kLinearLevelFormat{4, kPrefixAuto}; // "1.0000u": linear marker levels

// Room that is always enough for one formatSI text.
inline constexpr std::size_t kSITextSize = 48;

// Writes `value` with `decimals` decimals (0 or less counts as 1, more than 9 as 9) and an SI
// prefix into `out`, truncating to outSize - 1 characters and always terminating when outSize > 0.
// Returns out. Defined texts for the corners:
//   automatic mode: below 1e-12 "0.000...1p"; 1e15 and above (and infinity) "999.99...9T";
//   fixed mode: a scaled magnitude of 1e15 or more (and infinity) saturates to
//   "999999999999999.99...9" with the prefix; NaN gives "NaN" in every mode.
char* formatSI(char* out, std::size_t outSize, double value, int decimals, int prefixMode);
inline char* formatSI(char* out, std::size_t outSize, double value, SIFormat format) {
    return formatSI(out, outSize, value, format.decimals, format.prefixMode);
}
std::string formatSI(double value, int decimals, int prefixMode);
inline std::string formatSI(double value, SIFormat format) {
    return formatSI(value, format.decimals, format.prefixMode);
}

// Reads a number with an optional sign, SI prefix letter or exponent. Returns 0 for an empty
// text (value 0.0), otherwise 1; *value is always written (0.0 when no digit is found). Reading
// stops at the terminating zero or after `length` characters. A null text counts as empty.
// The result is finite: very large values (huge exponents, hundreds of digits) saturate to
// +-DBL_MAX and tiny ones go to 0, without looping over the exponent.
int parseSI(const char* text, std::size_t length, double* value);
int parseSI(const char* text, double* value);

// Converts a parsed double to an int clamped to lo..hi; NaN gives lo.
int clampToInt(double value, int lo, int hi);

// Radix 10: the value in decimal, zero-padded to at least `width` digits (width is clamped to
// 1..20), with a leading "-" for negatives. Radix 16 and 8 print the value's bits as unsigned.
// Any other radix counts as 10. Truncates to outSize - 1 characters; returns out.
char* formatInteger(char* out, std::size_t outSize, long long value, int radix, int width);
std::string formatInteger(long long value, int radix = 10, int width = 1);

// 0 when the first n characters are equal (ASCII letters a..z compared as upper case), else the
// 1-based position of the first difference. Compares exactly n characters, so both texts must
// hold n readable bytes unless a difference comes first; the scan ends at the first difference.
int compareNoCase(const char* a, const char* b, std::size_t n);
// The same, byte for byte.
int compareExact(const char* a, const char* b, std::size_t n);

// The 0-based index of the first occurrence of the whole pattern in text, or -1. An empty
// pattern is found at 0. The text ends at its terminating zero or after textLength characters.
int findText(const char* text, const char* pattern);
int findText(const char* text, std::size_t textLength, const char* pattern);
