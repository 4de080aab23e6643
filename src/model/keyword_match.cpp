#include "keyword_match.h"

#include <cstring>

namespace keywords {

namespace {

int upper(int c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

bool sameChar(char a, char b, LetterCase letterCase) {
    if (letterCase == LetterCase::Exact) {
        return a == b;
    }
    return upper(static_cast<unsigned char>(a)) == upper(static_cast<unsigned char>(b));
}

// Length of the reply: up to its terminating zero or replyLength, whichever comes first.
std::size_t boundedLength(const char* text, std::size_t maxLength) {
    return strnlen(text, maxLength);
}

template <typename Accept>
int scanTable(const char* const* table, int count, int first, int last, Accept accept) {
    if (table == nullptr || count <= 0) {
        return -1;
    }
    if (first < 0) {
        first = 0;
    }
    if (last > count - 1) {
        last = count - 1;
    }
    int best = -1;
    std::size_t bestLength = 0;
    for (int i = first; i <= last; ++i) {
        const char* keyword = table[i];
        if (keyword == nullptr || keyword[0] == '\0') {
            break; // the table's end entry
        }
        const std::size_t length = std::strlen(keyword);
        if (length > bestLength && accept(keyword, length)) {
            best = i;
            bestLength = length;
        }
    }
    return best;
}

} // namespace

const char* keywordAt(const char* const* table, int count, int index) {
    if (table == nullptr || index < 0 || index >= count || table[index] == nullptr) {
        return "";
    }
    return table[index];
}

const char* spanKeyword(int modelIndex, int spanIndex) {
    return keywordAt(spanTable(modelIndex), spanCount(modelIndex), spanIndex);
}

int matchKeyword(const char* reply, std::size_t replyLength, const char* const* table, int count,
                 int first, int last, LetterCase letterCase) {
    if (reply == nullptr) {
        return -1;
    }
    const std::size_t available = boundedLength(reply, replyLength);
    return scanTable(table, count, first, last, [&](const char* keyword, std::size_t length) {
        if (length > available) {
            return false;
        }
        for (std::size_t j = 0; j < length; ++j) {
            if (!sameChar(reply[j], keyword[j], letterCase)) {
                return false;
            }
        }
        return true;
    });
}

int matchKeyword(const char* reply, const char* const* table, int count, int first, int last,
                 LetterCase letterCase) {
    return matchKeyword(reply, static_cast<std::size_t>(-1), table, count, first, last, letterCase);
}

int matchWholeKeyword(const char* value, std::size_t valueLength, const char* const* table,
                      int count, int first, int last, LetterCase letterCase) {
    if (value == nullptr) {
        return -1;
    }
    const std::size_t available = boundedLength(value, valueLength);
    return scanTable(table, count, first, last, [&](const char* keyword, std::size_t length) {
        if (length != available) {
            return false;
        }
        for (std::size_t j = 0; j < length; ++j) {
            if (!sameChar(value[j], keyword[j], letterCase)) {
                return false;
            }
        }
        return true;
    });
}

} // namespace keywords
