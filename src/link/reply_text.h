#pragma once
// Small readers of reply text: bounded by the text's terminating zero, never past it.

// True when `text` begins with `prefix`, ASCII letters compared without regard to case.
bool BeginsWithNoCase(const char* text, const char* prefix);
// True when `text` begins with `prefix`, byte for byte.
bool BeginsWithExact(const char* text, const char* prefix);
// True when `text` and `word` are equal, letters without regard to case.
bool EqualsNoCase(const char* text, const char* word);

// A number with optional sign, exponent and SI prefix letter. False, `out` untouched, when the
// text holds no digit at all.
bool ReplyNumber(const char* text, double* out);
// The leading decimal integer (after blanks, with an optional sign), clamped to int. False,
// `out` untouched, when there is none.
bool ReplyInteger(const char* text, int* out);
