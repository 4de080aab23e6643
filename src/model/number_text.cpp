#include "number_text.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Copies a finished text into the caller's buffer, cutting it to the buffer.
char* copyOut(char* out, std::size_t outSize, const char* text, std::size_t length) {
    if (out == nullptr || outSize == 0) {
        return out;
    }
    const std::size_t n = length < outSize - 1 ? length : outSize - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
    return out;
}

const char kPrefixLetters[] = "pnum kMGT"; // index = exponent + 4

struct TextBuilder {
    char text[96];
    std::size_t length = 0;
    void put(char c) {
        if (length < sizeof text - 1) {
            text[length++] = c;
        }
    }
    void repeat(char c, int count) {
        for (int i = 0; i < count; ++i) {
            put(c);
        }
    }
    void putText(const char* s) {
        while (*s != '\0') {
            put(*s++);
        }
    }
};

double powerOfTen(int exponent) {
    static const double exact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (exponent >= 0 && exponent <= 22) {
        return exact[exponent];
    }
    return std::pow(10.0, exponent);
}

// v x 10^exponent, dividing for negative exponents so that short decimals come out exact.
// The exponent is clamped first, so the cost never depends on it.
double scaleByTen(double v, long exponent) {
    if (v == 0.0) {
        return 0.0;
    }
    if (exponent > 700) {
        exponent = 700;
    } else if (exponent < -700) {
        exponent = -700;
    }
    while (exponent > 300) {
        v *= 1e300;
        exponent -= 300;
    }
    while (exponent < -300) {
        v /= 1e300;
        exponent += 300;
    }
    return exponent >= 0 ? v * powerOfTen(static_cast<int>(exponent))
                         : v / powerOfTen(static_cast<int>(-exponent));
}

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}
bool isLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
int upper(int c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

} // namespace

char* formatSI(char* out, std::size_t outSize, double value, int decimals, int prefixMode) {
    const int d = decimals < 1 ? 1 : (decimals > 9 ? 9 : decimals);
    const bool automatic = prefixMode < -4 || prefixMode > 4;
    TextBuilder b;

    if (std::isnan(value)) {
        b.putText("NaN");
        return copyOut(out, outSize, b.text, b.length);
    }
    double v = value;
    if (!(v >= 0)) {
        b.put('-');
        v = -v;
    }
    if (v == 0.0) {
        b.putText("0.");
        b.repeat('0', d);
        return copyOut(out, outSize, b.text, b.length);
    }

    int exponent = 0;
    if (!automatic) {
        exponent = prefixMode;
        v = scaleByTen(v, -3L * prefixMode);
        if (v >= 1e15) { // beyond any real setting: a fixed, bounded text
            b.repeat('9', 15);
            b.put('.');
            b.repeat('9', d);
            if (exponent != 0) {
                b.put(kPrefixLetters[exponent + 4]);
            }
            return copyOut(out, outSize, b.text, b.length);
        }
    } else {
        while (v < 1 && exponent > -5) {
            v *= 1000;
            --exponent;
        }
        while (v >= 1000 && exponent < 5) {
            v /= 1000;
            ++exponent;
        }
        if (exponent < -4) {
            b.putText("0.");
            b.repeat('0', d - 1);
            b.putText("1p");
            return copyOut(out, outSize, b.text, b.length);
        }
        if (exponent >= 5) {
            b.putText("999.");
            b.repeat('9', d);
            b.put('T');
            return copyOut(out, outSize, b.text, b.length);
        }
    }

    // Round half up on the digit after the last printed one.
    const double scaled = v * powerOfTen(d);
    double whole = std::trunc(scaled);
    if (std::fmod(scaled * 10.0, 10.0) >= 5.0) {
        whole += 1.0;
    }
    char digits[64];
    int n = std::snprintf(digits, sizeof digits, "%.0f", whole);
    if (n < 0 || n >= static_cast<int>(sizeof digits)) {
        n = 0;
    }
    // At least one integer digit before the decimals.
    const int total = n < d + 1 ? d + 1 : n;
    for (int i = 0; i < total; ++i) {
        if (i == total - d) {
            b.put('.');
        }
        const int k = i - (total - n);
        b.put(k >= 0 ? digits[k] : '0');
    }
    if (exponent != 0) {
        b.put(kPrefixLetters[exponent + 4]);
    }
    return copyOut(out, outSize, b.text, b.length);
}

std::string formatSI(double value, int decimals, int prefixMode) {
    char text[kSITextSize];
    formatSI(text, sizeof text, value, decimals, prefixMode);
    return text;
}

int parseSI(const char* text, std::size_t length, double* value) {
    if (value != nullptr) {
        *value = 0.0;
    }
    if (text == nullptr || length == 0 || text[0] == '\0') {
        return 0;
    }
    // The character at k, or 0 once the text has ended.
    auto at = [&](std::size_t k) -> int {
        return k < length ? static_cast<unsigned char>(text[k]) : 0;
    };

    std::size_t i = 0;
    bool negative = false;
    int c;
    while ((c = at(i)) != 0 && !isDigit(c) && c != '.') {
        if (c == '-') {
            negative = true;
        }
        ++i;
    }

    // The digits as an integer mantissa and the decimal position of its last digit.
    double mantissa = 0.0;
    long lastPosition = 0;  // decimal places of the mantissa
    long position = 0;      // decimal place the next digit takes; 0 = integer part
    long extraIntegers = 0; // integer digits beyond the mantissa's range
    while ((c = at(i)) != 0) {
        if (isDigit(c)) {
            const int digit = c - '0';
            if (position == 0) {
                if (mantissa < 1e300) {
                    mantissa = mantissa * 10.0 + digit;
                } else {
                    ++extraIntegers;
                }
            } else {
                // Digits beyond double precision change nothing.
                if (mantissa == 0.0) {
                    mantissa = digit;
                    lastPosition = position;
                } else if (mantissa < 1e17 && position - lastPosition <= 40) {
                    mantissa = scaleByTen(mantissa, position - lastPosition) + digit;
                    lastPosition = position;
                }
                if (position < 100000) {
                    ++position;
                }
            }
        } else if (c == '.') {
            if (position < 100000) {
                ++position;
            }
        } else if (c != ' ' && c != '\t' && c != ',') {
            break;
        }
        ++i;
    }

    long exponent = 0;
    c = at(i);
    if (isLetter(c)) {
        switch (upper(c)) {
        case 'G':
            exponent = 9;
            break;
        case 'K':
            exponent = 3;
            break;
        case 'M':
            exponent = c == 'M' ? 6 : -3;
            break;
        case 'N':
            exponent = -9;
            break;
        case 'P':
            exponent = -12;
            break;
        case 'T':
            exponent = 12;
            break;
        case 'U':
            exponent = -6;
            break;
        case 'E': {
            bool exponentNegative = false;
            ++i;
            while ((c = at(i)) != 0) {
                if (c == '-') {
                    exponentNegative = true;
                } else if (isDigit(c)) {
                    if (exponent < 100000) {
                        exponent = exponent * 10 + (c - '0');
                    }
                } else if (c != '+') {
                    break;
                }
                ++i;
            }
            if (exponentNegative) {
                exponent = -exponent;
            }
            break;
        }
        default:
            break;
        }
    }

    double result = scaleByTen(mantissa, extraIntegers - lastPosition + exponent);
    if (result > DBL_MAX) {
        result = DBL_MAX;
    }
    if (value != nullptr) {
        *value = negative ? -result : result;
    }
    return 1;
}

int parseSI(const char* text, double* value) {
    return parseSI(text, static_cast<std::size_t>(-1), value);
}

int clampToInt(double value, int lo, int hi) {
    if (std::isnan(value) || value <= lo) {
        return lo;
    }
    if (value >= hi) {
        return hi;
    }
    return static_cast<int>(value);
}

char* formatInteger(char* out, std::size_t outSize, long long value, int radix, int width) {
    if (radix != 2 && radix != 8 && radix != 16) {
        radix = 10;
    }
    width = width < 1 ? 1 : (width > 20 ? 20 : width);
    unsigned long long magnitude = static_cast<unsigned long long>(value);
    bool negative = false;
    if (radix == 10 && value < 0) {
        negative = true;
        magnitude = 0ULL - magnitude;
    }
    char digits[72];
    int n = 0;
    do {
        const int digit = static_cast<int>(magnitude % static_cast<unsigned>(radix));
        digits[n++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        magnitude /= static_cast<unsigned>(radix);
    } while (magnitude != 0);
    while (n < width) {
        digits[n++] = '0';
    }
    TextBuilder b;
    if (negative) {
        b.put('-');
    }
    while (n > 0) {
        b.put(digits[--n]);
    }
    return copyOut(out, outSize, b.text, b.length);
}

std::string formatInteger(long long value, int radix, int width) {
    char text[80];
    formatInteger(text, sizeof text, value, radix, width);
    return text;
}

int compareNoCase(const char* a, const char* b, std::size_t n) {
    if (n == 0) {
        return 0;
    }
    if (a == nullptr || b == nullptr) {
        return 1;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (upper(static_cast<unsigned char>(a[i])) != upper(static_cast<unsigned char>(b[i]))) {
            return i < INT_MAX ? static_cast<int>(i + 1) : INT_MAX;
        }
    }
    return 0;
}

int compareExact(const char* a, const char* b, std::size_t n) {
    if (n == 0) {
        return 0;
    }
    if (a == nullptr || b == nullptr) {
        return 1;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) {
            return i < INT_MAX ? static_cast<int>(i + 1) : INT_MAX;
        }
    }
    return 0;
}

int findText(const char* text, std::size_t textLength, const char* pattern) {
    if (text == nullptr || pattern == nullptr) {
        return -1;
    }
    const std::size_t length = strnlen(text, textLength);
    const std::size_t patternLength = std::strlen(pattern);
    if (patternLength > length) {
        return -1;
    }
    for (std::size_t i = 0; i + patternLength <= length && i < INT_MAX; ++i) {
        if (std::memcmp(text + i, pattern, patternLength) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int findText(const char* text, const char* pattern) {
    return findText(text, static_cast<std::size_t>(-1), pattern);
}
