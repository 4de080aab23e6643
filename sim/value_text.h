#pragma once
// Strict reading of the numbers that arrive in command values, and the number forms of replies.

#include <string>
#include <string_view>

namespace sim {

// A decimal number with optional sign, fraction, exponent and one SI prefix letter
// ("1.5G", "-3.5", "2e6", "100k"). The whole text must be used; false otherwise.
bool parseDecimal(std::string_view text, double& value);

// A plain decimal integer with optional sign; the whole text must be used.
bool parseInteger(std::string_view text, long& value);

// Letters compared without regard to case.
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
std::string toUpper(std::string_view text);

// printf into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

} // namespace sim
