#pragma once
// Keyword lookup (index to wire keyword) and keyword match (reply text to index) over the tables
// of keyword_tables.h. Every function is safe for bad indexes, null pointers and short replies.

#include "keyword_tables.h"

#include <cstddef>

namespace keywords {

enum class LetterCase {
    Ignore, // ASCII letters compared as upper case
    Exact,  // byte for byte
};

// The keyword at `index` of a table holding `count` keywords; "" for an index outside 0..count-1
// or a null table. Never returns null.
const char* keywordAt(const char* const* table, int count, int index);
template <std::size_t N> const char* keywordAt(const char* const (&table)[N], int index) {
    return keywordAt(table, keywords::count(table), index);
}

// The span keyword of a model's row (modelIndex 1 = RVX420, anything else RVX410); "" when the
// index lies outside the row.
const char* spanKeyword(int modelIndex, int spanIndex);

// The position among first..last of the longest keyword the reply begins with, or -1 when none
// matches. The range is clamped to the table; the scan also stops at the table's empty entry.
// The reply ends at its terminating zero or after `replyLength` characters, whichever comes first.
int matchKeyword(const char* reply, std::size_t replyLength, const char* const* table, int count,
                 int first, int last, LetterCase letterCase = LetterCase::Ignore);
int matchKeyword(const char* reply, const char* const* table, int count, int first, int last,
                 LetterCase letterCase = LetterCase::Ignore);
template <std::size_t N>
int matchKeyword(const char* reply, const char* const (&table)[N], int first, int last,
                 LetterCase letterCase = LetterCase::Ignore) {
    return matchKeyword(reply, table, keywords::count(table), first, last, letterCase);
}
// Over the whole table.
template <std::size_t N>
int matchKeyword(const char* reply, const char* const (&table)[N],
                 LetterCase letterCase = LetterCase::Ignore) {
    return matchKeyword(reply, table, keywords::count(table), 0, keywords::count(table) - 1,
                        letterCase);
}

// The position among first..last whose keyword equals the whole value (same length), or -1.
int matchWholeKeyword(const char* value, std::size_t valueLength, const char* const* table,
                      int count, int first, int last, LetterCase letterCase = LetterCase::Ignore);
template <std::size_t N>
int matchWholeKeyword(const char* value, const char* const (&table)[N],
                      LetterCase letterCase = LetterCase::Ignore) {
    return matchWholeKeyword(value, static_cast<std::size_t>(-1), table, keywords::count(table), 0,
                             keywords::count(table) - 1, letterCase);
}

} // namespace keywords
