#include "number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

std::string si(double v, int decimals, int mode) {
    return formatSI(v, decimals, mode);
}

double parsed(const char* text) {
    double v = -12345.0;
    parseSI(text, &v);
    return v;
}

TEST(FormatSI, ProgramFormats) {
    EXPECT_EQ(si(1.0e9, 4, kPrefixAuto), "1.0000G");
    EXPECT_EQ(si(999.99, 4, kPrefixAuto), "999.9900");
    EXPECT_EQ(si(0.3, 4, kPrefixAuto), "300.0000m");
    EXPECT_EQ(si(1e-13, 4, kPrefixAuto), "0.0001p");
    EXPECT_EQ(si(3e15, 4, kPrefixAuto), "999.9999T");
    EXPECT_EQ(si(-12.35, 1, 0), "-12.4");
    EXPECT_EQ(formatSI(1.0e9, kFreqEditFormat), "1.0000G");
    EXPECT_EQ(formatSI(2.0e7, kReadoutFormat), "20.0000M");
    EXPECT_EQ(formatSI(1.0e5, kReadoutFormat), "100.0000k");
    EXPECT_EQ(formatSI(-12.3, kLevelDbFormat), "-12.3");
}

TEST(FormatSI, ZeroSignDecimalsAndModes) {
    EXPECT_EQ(si(0.0, 4, kPrefixAuto), "0.0000");
    EXPECT_EQ(si(-0.0, 2, 3), "0.00");
    EXPECT_EQ(si(5.0, 0, 0), "5.0"); // decimals 0 counts as 1
    EXPECT_EQ(si(5.0, -3, 0), "5.0");
    EXPECT_EQ(si(1.5e6, 2, 7), "1.50M"); // unknown mode is automatic
    EXPECT_EQ(si(1.5e6, 2, -5), "1.50M");
    EXPECT_EQ(si(8.5e9, 4, 3), "8.5000G");
    EXPECT_EQ(si(1.0e6, 4, 3), "0.0010G"); // fixed mode keeps small values in "G"
    EXPECT_EQ(si(123456.0, 1, -1), "123456000.0m");
    EXPECT_EQ(si(2.0e-12, 1, -4), "2.0p");
    EXPECT_EQ(si(3.0e12, 1, 4), "3.0T");
    EXPECT_EQ(si(-2.5e-3, 4, kPrefixAuto), "-2.5000m");
}

TEST(FormatSI, LastDigitRoundsHalfUpAwayFromZero) {
    EXPECT_EQ(si(0.25, 1, 0), "0.3");
    EXPECT_EQ(si(-0.25, 1, 0), "-0.3");
    EXPECT_EQ(si(0.24, 1, 0), "0.2");
    EXPECT_EQ(si(9.96, 1, 0), "10.0");
    EXPECT_EQ(si(1234.5678, 2, 0), "1234.57");
}

TEST(FormatSI, DefinedTextsForNanInfinityAndExtremes) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(si(std::nan(""), 4, kPrefixAuto), "NaN");
    EXPECT_EQ(si(std::nan(""), 1, 0), "NaN");
    EXPECT_EQ(si(inf, 4, kPrefixAuto), "999.9999T");
    EXPECT_EQ(si(-inf, 4, kPrefixAuto), "-999.9999T");
    EXPECT_EQ(si(inf, 4, 3), "999999999999999.9999G");
    EXPECT_EQ(si(-1e300, 1, 0), "-999999999999999.9");
    EXPECT_EQ(si(DBL_MAX, 4, -4), "999999999999999.9999p");
    EXPECT_EQ(si(DBL_MIN, 4, kPrefixAuto), "0.0001p");
    EXPECT_EQ(si(5e-324, 2, 3), "0.00G");
    EXPECT_EQ(si(1.0, 30, 0), "1.000000000"); // at most 9 decimals
}

TEST(FormatSI, NeverWritesPastTheCallersBuffer) {
    char buffer[12];
    std::memset(buffer, '#', sizeof buffer);
    formatSI(buffer, 5, 1.0e9, 4, kPrefixAuto);
    EXPECT_STREQ(buffer, "1.00");
    for (std::size_t i = 5; i < sizeof buffer; ++i) {
        EXPECT_EQ(buffer[i], '#') << i;
    }
    std::memset(buffer, '#', sizeof buffer);
    formatSI(buffer, 0, 1.0, 4, 0);
    EXPECT_EQ(buffer[0], '#');
    formatSI(buffer, 1, 1.0, 4, 0);
    EXPECT_EQ(buffer[0], '\0');
    // An exactly sized heap buffer: the sanitizer build catches any overrun.
    auto exact = std::make_unique<char[]>(24);
    formatSI(exact.get(), 24, -1e300, 9, 4);
    EXPECT_EQ(std::strlen(exact.get()), 23u);
}

TEST(ParseSI, ProgramExamples) {
    EXPECT_DOUBLE_EQ(parsed("1,000,000"), 1e6);
    EXPECT_DOUBLE_EQ(parsed("abc12"), 12.0);
    EXPECT_DOUBLE_EQ(parsed(" -10"), -10.0);
    EXPECT_DOUBLE_EQ(parsed("2.5e-3"), 0.0025);
    EXPECT_DOUBLE_EQ(parsed("1e3k"), 1000.0);
    double v = 7.0;
    EXPECT_EQ(parseSI("x", &v), 1);
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(parseSI("", &v), 0);
    EXPECT_EQ(v, 0.0);
    v = 7.0;
    EXPECT_EQ(parseSI(nullptr, &v), 0);
    EXPECT_EQ(v, 0.0);
}

TEST(ParseSI, PrefixesAndDecimalPoints) {
    EXPECT_DOUBLE_EQ(parsed("1.5G"), 1.5e9);
    EXPECT_DOUBLE_EQ(parsed("1.5g"), 1.5e9);
    EXPECT_DOUBLE_EQ(parsed("100k"), 1e5);
    EXPECT_DOUBLE_EQ(parsed("100K"), 1e5);
    EXPECT_DOUBLE_EQ(parsed("12 MHz"), 12e6);
    EXPECT_DOUBLE_EQ(parsed("12mhz"), 0.012);
    EXPECT_DOUBLE_EQ(parsed("3p"), 3e-12);
    EXPECT_DOUBLE_EQ(parsed("5u"), 5e-6);
    EXPECT_DOUBLE_EQ(parsed("2N"), 2e-9);
    EXPECT_DOUBLE_EQ(parsed("1T"), 1e12);
    EXPECT_DOUBLE_EQ(parsed("10 dB"), 10.0);  // "d" is no prefix
    EXPECT_DOUBLE_EQ(parsed("1.2.3"), 1.203); // a second point skips a place
    EXPECT_DOUBLE_EQ(parsed(".5"), 0.5);
    EXPECT_DOUBLE_EQ(parsed("1E+3"), 1000.0);
    EXPECT_DOUBLE_EQ(parsed("1e3.5"), 1000.0);
    EXPECT_DOUBLE_EQ(parsed("1.5GHzE9"), 1.5e9); // reading stops after the prefix
    EXPECT_DOUBLE_EQ(parsed("-x-3"), -3.0);
    EXPECT_DOUBLE_EQ(parsed("12-5"), 12.0);
    EXPECT_DOUBLE_EQ(parsed("1000000000.0000"), 1e9);
    EXPECT_DOUBLE_EQ(parsed("0.000000000000000000000000000001"), 1e-30);
}

TEST(ParseSI, HugeExponentsAndDigitRunsSaturate) {
    EXPECT_EQ(parsed("1e999999"), DBL_MAX);
    EXPECT_EQ(parsed("-1e999999999999999999999"), -DBL_MAX);
    EXPECT_EQ(parsed("1e-999999"), 0.0);
    EXPECT_EQ(parsed("0e999999"), 0.0);
    std::string digits(5000, '9');
    EXPECT_EQ(parsed(digits.c_str()), DBL_MAX);
    std::string tiny = "0." + std::string(5000, '0') + "1";
    EXPECT_EQ(parsed(tiny.c_str()), 0.0);
    std::string dots = "1" + std::string(5000, '.') + "5";
    EXPECT_TRUE(std::isfinite(parsed(dots.c_str())));
}

TEST(ParseSI, StopsAtTheGivenLength) {
    double v = 0;
    EXPECT_EQ(parseSI("123456", 3, &v), 1);
    EXPECT_DOUBLE_EQ(v, 123.0);
    EXPECT_EQ(parseSI("123456", 0, &v), 0);
    EXPECT_EQ(v, 0.0);
    // No terminating zero inside the buffer: only the given length is read.
    auto raw = std::make_unique<char[]>(6);
    std::memcpy(raw.get(), "12.5e2", 6);
    EXPECT_EQ(parseSI(raw.get(), 6, &v), 1);
    EXPECT_DOUBLE_EQ(v, 1250.0);
    std::memcpy(raw.get(), "abcdef", 6);
    EXPECT_EQ(parseSI(raw.get(), 6, &v), 1);
    EXPECT_EQ(v, 0.0);
    std::memcpy(raw.get(), "9 9 9M", 6);
    EXPECT_EQ(parseSI(raw.get(), 6, &v), 1);
    EXPECT_DOUBLE_EQ(v, 999e6);
}

TEST(ClampToInt, SaturatesAndMapsNanToTheLowLimit) {
    EXPECT_EQ(clampToInt(1e300, -10, 10), 10);
    EXPECT_EQ(clampToInt(-1e300, -10, 10), -10);
    EXPECT_EQ(clampToInt(std::nan(""), -10, 10), -10);
    EXPECT_EQ(clampToInt(3.9, -10, 10), 3);
    EXPECT_EQ(clampToInt(-3.9, -10, 10), -3);
}

TEST(FormatInteger, DecimalWidthAndBounds) {
    EXPECT_EQ(formatInteger(0), "0");
    EXPECT_EQ(formatInteger(-5), "-5");
    EXPECT_EQ(formatInteger(255, 10, 1), "255");
    EXPECT_EQ(formatInteger(7, 10, 3), "007");
    EXPECT_EQ(formatInteger(-7, 10, 3), "-007");
    EXPECT_EQ(formatInteger(LLONG_MIN, 10, 1), "-9223372036854775808");
    EXPECT_EQ(formatInteger(255, 16, 1), "ff");
    EXPECT_EQ(formatInteger(12, 99, 0), "12");
    char buffer[4];
    std::memset(buffer, '#', sizeof buffer);
    formatInteger(buffer, 3, 12345, 10, 1);
    EXPECT_STREQ(buffer, "12");
    EXPECT_EQ(buffer[3], '#');
}

TEST(CompareText, NoCaseAndExact) {
    EXPECT_EQ(compareNoCase("capt", "CAPT", 4), 0);
    EXPECT_EQ(compareNoCase("CAPX", "CAPT", 4), 4);
    EXPECT_EQ(compareNoCase("{", "[", 1), 1); // only a..z fold
    EXPECT_EQ(compareExact("capt", "CAPT", 4), 1);
    EXPECT_EQ(compareExact("COMP", "COMP", 4), 0);
    EXPECT_EQ(compareNoCase("abc", "xyz", 0), 0);
    // A shorter text differs at its terminating zero; the scan ends there.
    auto shortText = std::make_unique<char[]>(3);
    std::memcpy(shortText.get(), "OK", 3);
    EXPECT_EQ(compareNoCase(shortText.get(), "OKAY", 4), 3);
    EXPECT_EQ(compareExact(shortText.get(), "OKAY", 4), 3);
}

TEST(FindText, FirstWholeOccurrence) {
    EXPECT_EQ(findText("CF 1GHz\r\nTRACE 00", "TRACE"), 9);
    EXPECT_EQ(findText("abcabc", "bc"), 1);
    EXPECT_EQ(findText("abc", "abcd"), -1);
    EXPECT_EQ(findText("abc", "x"), -1);
    EXPECT_EQ(findText("abc", ""), 0);
    EXPECT_EQ(findText(nullptr, "a"), -1);
    EXPECT_EQ(findText("abcTRACE", 5, "TRACE"), -1);
    auto raw = std::make_unique<char[]>(4);
    std::memcpy(raw.get(), "xxSP", 4);
    EXPECT_EQ(findText(raw.get(), 4, "SP"), 2);
}

} // namespace
