#include "reply_text.h"

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

// Number with SI prefix: skip to the first digit or '.', a '-' before it negates; blanks and
// commas inside are ignored; each '.' moves the decimal position; a prefix letter or an exponent
// ends it.
double ParseSi(const char* s) {
    bool negative = false;
    while (*s != '\0' && !(*s >= '0' && *s <= '9') && *s != '.') {
        if (*s == '-') {
            negative = true;
        }
        ++s;
    }
    double value = 0.0;
    double scale = 0.0; // 0: before the point; else the weight of the next decimal
    for (; *s != '\0'; ++s) {
        if (*s >= '0' && *s <= '9') {
            if (scale == 0.0) {
                value = value * 10.0 + (*s - '0');
            } else {
                value += (*s - '0') * scale;
                scale /= 10.0;
            }
        } else if (*s == '.') {
            scale = scale == 0.0 ? 0.1 : scale / 10.0;
        } else if (*s != ' ' && *s != ',') {
            break;
        }
    }
    switch (*s) {
    case 'G':
    case 'g':
        value *= 1e9;
        break;
    case 'K':
    case 'k':
        value *= 1e3;
        break;
    case 'M':
        value *= 1e6;
        break;
    case 'm':
        value *= 1e-3;
        break;
    case 'N':
    case 'n':
        value *= 1e-9;
        break;
    case 'P':
    case 'p':
        value *= 1e-12;
        break;
    case 'T':
    case 't':
        value *= 1e12;
        break;
    case 'U':
    case 'u':
        value *= 1e-6;
        break;
    case 'E':
    case 'e': {
        ++s;
        bool down = false;
        int exponent = 0;
        for (; *s != '\0'; ++s) {
            if (*s == '+') {
                continue;
            }
            if (*s == '-') {
                down = true;
                continue;
            }
            if (*s < '0' || *s > '9') {
                break;
            }
            if (exponent < 1000) {
                exponent = exponent * 10 + (*s - '0');
            }
        }
        for (int i = 0; i < exponent; ++i) {
            value = down ? value / 10.0 : value * 10.0;
        }
        break;
    }
    default:
        break;
    }
    return negative ? -value : value;
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
    *out = ParseSi(text);
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
