#include "reply_text.h"

#include "number_text.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool HasDigit(const char* text) {
    for (; *text != '\0'; ++text) {
        if (*text >= '0' && *text <= '9') {
            return true;
        }
    }
    return false;
}

} // namespace

bool BeginsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (*text == '\0' || Upper(*text) != Upper(*prefix)) {
            return false;
        }
    }
    return true;
}

bool BeginsWithExact(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool EqualsNoCase(const char* text, const char* word) {
    return std::strlen(text) == std::strlen(word) && BeginsWithNoCase(text, word);
}

bool ReplyNumber(const char* text, double* out) {
    if (!HasDigit(text)) {
        return false;
    }
    parseSI(text, out);
    return true;
}

bool ReplyInteger(const char* text, int* out) {
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    if (!std::isdigit(static_cast<unsigned char>(*text))) {
        return false;
    }
    long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
        if (value <= INT_MAX) {
            value = value * 10 + (*text - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    *out = value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
    return true;
}
