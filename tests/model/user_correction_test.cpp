#include "instrument_settings.h"
#include "user_correction.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using usercorrection::kAntenna;
using usercorrection::kProbe;
using usercorrection::parseCorrectionText;
using Rows = std::vector<std::pair<int, int>>; // (frequency, gain) in table units

constexpr int kEmpty = -200;

// Every row up to the last one that is not empty: the rows after it are checked empty.
Rows RowsOf(const int* freq, const int* gain, int rows = 12) {
    Rows out;
    for (int i = 0; i < rows; ++i) {
        out.emplace_back(freq[i], gain[i]);
    }
    while (!out.empty() && out.back() == std::pair{kEmpty, kEmpty}) {
        out.pop_back();
    }
    return out;
}

// Two rows more than a text may fill, on the heap so that a write past them is caught.
struct Table {
    std::vector<int> freq = std::vector<int>(12, kEmpty), gain = std::vector<int>(12, kEmpty);
    Rows rows() const { return RowsOf(freq.data(), gain.data()); }
};

constexpr int kAtMostTen = -1;

// An exactly sized copy with no terminating zero, so that any read past the text is caught.
Rows Parse(const std::string& text, int kind, int expectedCount) {
    auto raw = std::make_unique<char[]>(text.size());
    std::memcpy(raw.get(), text.data(), text.size());
    Table t;
    const int count =
        parseCorrectionText(raw.get(), text.size(), kind, t.freq.data(), t.gain.data());
    if (expectedCount == kAtMostTen) {
        EXPECT_LE(count, 10) << text.substr(0, 40);
    } else {
        EXPECT_EQ(count, expectedCount) << text.substr(0, 40);
    }
    return t.rows();
}

TEST(UserCorrection, RoundedToTableUnitsAtMostTenEntriesToTheTextEnd) {
    for (int kind : {kAntenna, kProbe}) {
        EXPECT_EQ(Parse("30M:12.5dB,100M:10.2dB", kind, 2), (Rows{{300, 1250}, {1000, 1020}}));
    }
    // Gains: plus 0.5, truncated toward zero.
    EXPECT_EQ(Parse("1.23456G:0.004dB,149999:-0.2dB", kAntenna, 2), (Rows{{12346, 0}, {1, -19}}));
    // At most ten entries; the text ends at a carriage return or a zero.
    std::string text;
    Rows ten;
    for (int i = 1; i <= 14; ++i) {
        text += std::to_string(i) + "00M:" + std::to_string(i) + ".5dB,";
        if (i <= 10) {
            ten.emplace_back(i * 1000, i * 100 + 50);
        }
    }
    EXPECT_EQ(Parse(text, kAntenna, 10), ten);
    EXPECT_EQ(Parse("30M:1.5dB\r\n100M:2.5dB", kAntenna, 1), (Rows{{300, 150}}));
    EXPECT_EQ(Parse(std::string("30M:1.5dB\0,100M:2.5dB", 21), kAntenna, 1), (Rows{{300, 150}}));
}

TEST(UserCorrection, MalformedTextsStayInsideTheTable) {
    // No colons: frequencies only; no digits read as 0; "1:" ends inside its two skipped
    // characters.
    EXPECT_EQ(Parse("30M,100M", kAntenna, 2), (Rows{{300, kEmpty}, {1000, kEmpty}}));
    EXPECT_EQ(Parse("xx:yy,zz", kProbe, 2), (Rows{{0, 0}, {0, kEmpty}}));
    EXPECT_EQ(Parse("1:", kAntenna, 1), (Rows{{0, kEmpty}}));
    // Numbers the table cannot hold leave their entries; its range ends arrive (-100000 + 0.5).
    const std::string nines(400, '9');
    EXPECT_EQ(
        Parse("1e999:1e999," + nines + ":-" + nines + ",1G:1e300x,100G:1000x,1:-1000x", kAntenna,
              kAtMostTen),
        (Rows{
            {kEmpty, kEmpty}, {kEmpty, kEmpty}, {10000, kEmpty}, {1000000, 100000}, {0, -99999}}));
    EXPECT_LE(Parse(std::string(400, ','), kAntenna, kAtMostTen).size(), 10u);
    EXPECT_LE(Parse(std::string(400, ':'), kProbe, kAtMostTen).size(), 10u);
    EXPECT_EQ(Parse("", kAntenna, 0), Rows{});
    EXPECT_EQ(Parse("30M:1dB", 3, 0), Rows{}); // no such kind
    Table none;
    EXPECT_EQ(parseCorrectionText(nullptr, 10, kAntenna, none.freq.data(), none.gain.data()), 0);
    EXPECT_EQ(none.rows(), Rows{});
}

TEST(UserCorrection, TheSettingsTextsReplaceTheWholeTableAndAreReadOnlyToTheFieldEnd) {
    SetDefaultSettings();
    // The whole field filled, no terminating zero: the parse stays inside it; 512 digits give none.
    std::memset(gSettings.efUserText, '1', sizeof gSettings.efUserText);
    std::memset(gSettings.mfUserText, '9', sizeof gSettings.mfUserText);
    EXPECT_EQ(ParseUserCorrection(kAntenna), 1);
    EXPECT_EQ(RowsOf(gSettings.efUserFreq, gSettings.efUserGain, kUserTableRows), Rows{});

    SetDefaultSettings();
    std::strcpy(gSettings.mfUserText, "10M:86.7,100M:69.2,1G:50.7");
    EXPECT_EQ(ParseUserCorrection(kProbe), 3);
    EXPECT_EQ(gSettings.mfUserFreq[2], 10000);
    std::strcpy(gSettings.mfUserText, "20M:80dB");
    EXPECT_EQ(ParseUserCorrection(kProbe), 1);
    EXPECT_EQ(RowsOf(gSettings.mfUserFreq, gSettings.mfUserGain, kUserTableRows),
              (Rows{{200, 8000}}));
    EXPECT_EQ(RowsOf(gSettings.efUserFreq, gSettings.efUserGain, kUserTableRows), Rows{})
        << "the antenna table is untouched";
    EXPECT_EQ(ParseUserCorrection(0), 0);
}

} // namespace
