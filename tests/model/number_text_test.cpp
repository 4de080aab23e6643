#include "number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Decimals 0 counts as 1, at most 9 count; an unknown mode is automatic; "G" keeps small values
// in "G"; the last digit rounds half away from zero; NaN, infinities, extremes give defined texts.
TEST(FormatSI, Texts) {
    const double inf = std::numeric_limits<double>::infinity();
    // clang-format off
    const std::tuple<double, int, int, const char*> cases[] = {
        {1.0e9, 4, kPrefixAuto, "1.0000G"}, {999.99, 4, kPrefixAuto, "999.9900"},
        {0.3, 4, kPrefixAuto, "300.0000m"}, {1e-13, 4, kPrefixAuto, "0.0001p"},
        {3e15, 4, kPrefixAuto, "999.9999T"}, {-12.35, 1, 0, "-12.4"},
        {0.0, 4, kPrefixAuto, "0.0000"}, {-0.0, 2, 3, "0.00"}, {5.0, 0, 0, "5.0"},
        {1.5e6, 2, 7, "1.50M"}, {1.5e6, 2, -5, "1.50M"}, {8.5e9, 4, 3, "8.5000G"},
        {1.0e6, 4, 3, "0.0010G"}, {123456.0, 1, -1, "123456000.0m"}, {2.0e-12, 1, -4, "2.0p"},
        {3.0e12, 1, 4, "3.0T"}, {-2.5e-3, 4, kPrefixAuto, "-2.5000m"}, {0.25, 1, 0, "0.3"},
        {0.24, 1, 0, "0.2"}, {9.96, 1, 0, "10.0"}, {1234.5678, 2, 0, "1234.57"},
        {std::nan(""), 4, kPrefixAuto, "NaN"}, {inf, 4, kPrefixAuto, "999.9999T"},
        {-inf, 4, kPrefixAuto, "-999.9999T"}, {inf, 4, 3, "999999999999999.9999G"},
        {-1e300, 1, 0, "-999999999999999.9"}, {DBL_MAX, 4, -4, "999999999999999.9999p"},
        {5e-324, 2, 3, "0.00G"}, {1.0, 30, 0, "1.000000000"}};
    // clang-format on
    for (const auto& [value, decimals, mode, text] : cases) {
        EXPECT_EQ(formatSI(value, decimals, mode), text) << value << " " << decimals << " " << mode;
    }
    // The program's formats.
    EXPECT_EQ(std::vector<std::string>(
                  {formatSI(1.0e9, kFreqEditFormat), formatSI(2.0e7, kReadoutFormat),
                   formatSI(1.0e5, kReadoutFormat), formatSI(-12.3, kLevelDbFormat)}),
              std::vector<std::string>({"1.0000G", "20.0000M", "100.0000k", "-12.3"}));
    // Cut to the caller's buffer, nothing written past it: buffers of 5, 1 and 0 side by side.
    char buffer[12];
    std::memset(buffer, '#', sizeof buffer);
    formatSI(buffer, 5, 1.0e9, 4, kPrefixAuto);
    formatSI(buffer + 6, 1, 1.0, 4, 0);
    formatSI(buffer + 8, 0, 1.0, 4, 0);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("1.00\0#\0#####", 12));
    // An exactly sized heap buffer: the sanitizer build catches any overrun.
    auto exact = std::make_unique<char[]>(24);
    formatSI(exact.get(), 24, -1e300, 9, 4);
    EXPECT_EQ(std::strlen(exact.get()), 23u);
}

// "d" is no prefix; a second point skips a place; reading stops after the prefix; huge exponents
// and digit runs saturate.
TEST(ParseSI, Values) {
    const std::string digits(5000, '9');
    const std::string tiny = "0." + std::string(5000, '0') + "1";
    // clang-format off
    const std::tuple<std::string, double> cases[] = {
        {"1,000,000", 1e6}, {"abc12", 12.0}, {" -10", -10.0}, {"2.5e-3", 0.0025}, {"1e3k", 1000.0},
        {"1.5g", 1.5e9}, {"100k", 1e5}, {"12 MHz", 12e6}, {"12mhz", 0.012}, {"3p", 3e-12},
        {"5u", 5e-6}, {"2N", 2e-9}, {"1T", 1e12}, {"10 dB", 10.0}, {"1.2.3", 1.203}, {".5", 0.5},
        {"1E+3", 1000.0}, {"1e3.5", 1000.0}, {"1.5GHzE9", 1.5e9}, {"-x-3", -3.0}, {"12-5", 12.0},
        {"1000000000.0000", 1e9}, {"0.000000000000000000000000000001", 1e-30},
        {"1e999999", DBL_MAX}, {"-1e999999999999999999999", -DBL_MAX}, {"1e-999999", 0.0},
        {"0e999999", 0.0}, {digits, DBL_MAX}, {tiny, 0.0}};
    // clang-format on
    for (const auto& [text, value] : cases) {
        double v = -12345.0;
        parseSI(text.c_str(), &v);
        EXPECT_DOUBLE_EQ(v, value) << text.substr(0, 40);
    }
    double v = 0;
    const std::string dots = "1" + std::string(5000, '.') + "5";
    parseSI(dots.c_str(), &v);
    EXPECT_TRUE(std::isfinite(v));
    // The result says whether there was text; nothing readable is 0.
    for (auto [text, result] : {std::pair{"x", 1}, {"", 0}, {nullptr, 0}}) {
        v = 7.0;
        EXPECT_EQ(parseSI(text, &v), result);
        EXPECT_EQ(v, 0.0);
    }
    // A given length ends the text.
    EXPECT_EQ(parseSI("123456", 3, &v), 1);
    EXPECT_DOUBLE_EQ(v, 123.0);
    EXPECT_EQ(parseSI("123456", 0, &v), 0);
    EXPECT_EQ(v, 0.0);
    // No terminating zero inside the buffer: only the given length is read.
    for (auto [text, value] : {std::pair{"12.5e2", 1250.0}, {"abcdef", 0.0}, {"9 9 9M", 999e6}}) {
        auto raw = std::make_unique<char[]>(6);
        std::memcpy(raw.get(), text, 6);
        EXPECT_EQ(parseSI(raw.get(), 6, &v), 1);
        EXPECT_DOUBLE_EQ(v, value) << text;
    }
}

TEST(IntegerText, ClampAndFormat) {
    // Saturates; NaN gives the low limit.
    // clang-format off
    for (auto [value, expected] : {std::pair{1e300, 10}, {-1e300, -10}, {std::nan(""), -10}, {3.9, 3}, {-3.9, -3}}) {
        EXPECT_EQ(clampToInt(value, -10, 10), expected) << value;
    }
    for (auto [value, radix, width, text] : {std::tuple{0LL, 10, 1, "0"}, {-5, 10, 1, "-5"}, {255, 10, 1, "255"},
            {7, 10, 3, "007"}, {-7, 10, 3, "-007"}, {LLONG_MIN, 10, 1, "-9223372036854775808"}, {255, 16, 1, "ff"},
            {12, 99, 0, "12"}}) {
        EXPECT_EQ(formatInteger(value, radix, width), text) << value;
    }
    // clang-format on
    char buffer[4];
    std::memset(buffer, '#', sizeof buffer);
    formatInteger(buffer, 3, 12345, 10, 1);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("12\0#", 4));
}

TEST(CompareText, NoCaseExactAndFind) {
    // Only a..z fold; a shorter text differs at its terminating zero and the scan ends there.
    auto shortText = std::make_unique<char[]>(3);
    std::memcpy(shortText.get(), "OK", 3);
    EXPECT_EQ(std::vector<int>({compareNoCase("capt", "CAPT", 4), compareNoCase("CAPX", "CAPT", 4),
                                compareNoCase("{", "[", 1), compareExact("capt", "CAPT", 4),
                                compareExact("COMP", "COMP", 4), compareNoCase("abc", "xyz", 0),
                                compareNoCase(shortText.get(), "OKAY", 4),
                                compareExact(shortText.get(), "OKAY", 4)}),
              std::vector<int>({0, 4, 1, 1, 0, 0, 3, 3}));
    auto raw = std::make_unique<char[]>(4);
    std::memcpy(raw.get(), "xxSP", 4);
    EXPECT_EQ(std::vector<int>({findText("CF 1GHz\r\nTRACE 00", "TRACE"), findText("abcabc", "bc"),
                                findText("abc", "abcd"), findText("abc", "x"), findText("abc", ""),
                                findText(nullptr, "a"), findText("abcTRACE", 5, "TRACE"),
                                findText(raw.get(), 4, "SP")}),
              std::vector<int>({9, 1, -1, -1, 0, -1, -1, 2}));
}

} // namespace
