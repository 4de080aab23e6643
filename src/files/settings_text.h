#pragma once
// The text of the settings file: the 67 lines written at exit and the rules that read them back
// at start-up (first match of each key anywhere in the text, colour lines by their number).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace settingstext {

// The reader's list: the complete keys in file order, with the stems "Trace " and "Cursor " in the
// places of the colour lines. 53 entries.
inline constexpr int kReaderKeyCount = 53;
extern const std::array<const char*, kReaderKeyCount> kReaderKeys;

// The whole file text for the current gSettings, lines ending in CR LF, in the order every reader
// relies on ("Center frequency : " before "CP Center frequency : ", "CP mode : " before
// "ACP mode : ", trace 1 colour before trace 10 colour).
std::string FormatSettingsText();

// Reads settings from `text` (at most `length` bytes; zero bytes count as ordinary characters that
// end a value) into gSettings. Fields whose key is absent, or whose value lies outside the field's
// table or limits, keep their current value; see the source for the limits.
void ApplySettingsText(const char* text, std::size_t length);

// Colour value parser: spaces and tabs are skipped anywhere, hex digits accumulate (32-bit), "H"
// or "h" ends the number, any other character ends it (0 if no digit came first). Reads at most
// `length` bytes.
uint32_t ParseColorText(const char* text, std::size_t length);

} // namespace settingstext
