#include "value_text.h"

#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace sim {

namespace {

double prefixScale(char c, bool& known) {
    known = true;
    switch (c) {
    case 'p':
    case 'P':
        return 1e-12;
    case 'n':
    case 'N':
        return 1e-9;
    case 'u':
    case 'U':
        return 1e-6;
    case 'm':
        return 1e-3;
    case 'k':
    case 'K':
        return 1e3;
    case 'M':
        return 1e6;
    case 'g':
    case 'G':
        return 1e9;
    case 't':
    case 'T':
        return 1e12;
    default:
        known = false;
        return 1.0;
    }
}

} // namespace

bool parseDecimal(std::string_view text, double& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    double mantissa = 0.0;
    int digits = 0;
    int fractionDigits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        mantissa = mantissa * 10.0 + (text[i] - '0');
        ++digits;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            mantissa = mantissa * 10.0 + (text[i] - '0');
            ++digits;
            ++fractionDigits;
            ++i;
        }
    }
    if (digits == 0 || digits > 30)
        return false;
    int exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E') && i + 1 < text.size() &&
        (std::isdigit(static_cast<unsigned char>(text[i + 1])) || text[i + 1] == '+' ||
         text[i + 1] == '-')) {
        ++i;
        bool expNegative = false;
        if (text[i] == '+' || text[i] == '-') {
            expNegative = text[i] == '-';
            ++i;
        }
        int expDigits = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            exponent = exponent * 10 + (text[i] - '0');
            if (++expDigits > 3)
                return false;
            ++i;
        }
        if (expDigits == 0)
            return false;
        if (expNegative)
            exponent = -exponent;
    }
    double scale = 1.0;
    if (i < text.size()) {
        bool known = false;
        scale = prefixScale(text[i], known);
        if (!known)
            return false;
        ++i;
    }
    if (i != text.size())
        return false;
    double v = mantissa / std::pow(10.0, fractionDigits) * std::pow(10.0, exponent) * scale;
    if (!std::isfinite(v))
        return false;
    value = negative ? -v : v;
    return true;
}

bool parseInteger(std::string_view text, long& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size() || text.size() - i > 9)
        return false;
    long v = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        v = v * 10 + (text[i] - '0');
    }
    value = negative ? -v : v;
    return true;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string toUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    char buffer[512];
    int n = std::vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    if (n < 0)
        return {};
    return std::string(buffer, static_cast<size_t>(n) < sizeof buffer ? n : sizeof buffer - 1);
}

} // namespace sim
