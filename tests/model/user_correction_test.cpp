#include "instrument_settings.h"
#include "user_correction.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace {

using usercorrection::kAntenna;
using usercorrection::kProbe;
using usercorrection::parseCorrectionText;

struct Table {
    int freq[12];
    int gain[12];
    Table() {
        for (int i = 0; i < 12; ++i) {
            freq[i] = -200;
            gain[i] = -200;
        }
    }
};

int parse(const std::string& text, int kind, Table& t) {
    // An exactly sized copy without a terminating zero: any read past the text is caught.
    auto raw = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(raw.get(), text.data(), text.size());
    return parseCorrectionText(raw.get(), text.size(), kind, t.freq, t.gain);
}

TEST(UserCorrection, FrequenciesAndGainsOfBothKinds) {
    for (int kind : {kAntenna, kProbe}) {
        Table t;
        EXPECT_EQ(parse("30M:12.5dB,100M:10.2dB", kind, t), 2);
        EXPECT_EQ(t.freq[0], 300);
        EXPECT_EQ(t.freq[1], 1000);
        EXPECT_EQ(t.gain[0], 1250);
        EXPECT_EQ(t.gain[1], 1020);
        for (int i = 2; i < 12; ++i) {
            EXPECT_EQ(t.freq[i], -200) << i;
            EXPECT_EQ(t.gain[i], -200) << i;
        }
    }
}

TEST(UserCorrection, RoundingToTableUnits) {
    Table t;
    parse("1.23456G:0.004dB,149999:-0.2dB", kAntenna, t);
    EXPECT_EQ(t.freq[0], 12346);
    EXPECT_EQ(t.gain[0], 0);
    EXPECT_EQ(t.freq[1], 1);
    EXPECT_EQ(t.gain[1], -19); // plus 0.5, truncated toward zero
}

TEST(UserCorrection, AtMostTenEntries) {
    std::string text;
    for (int i = 1; i <= 14; ++i) {
        text += std::to_string(i) + "00M:" + std::to_string(i) + ".5dB,";
    }
    Table t;
    EXPECT_EQ(parse(text, kAntenna, t), 10);
    EXPECT_EQ(t.freq[9], 10000);
    EXPECT_EQ(t.gain[9], 1050);
    EXPECT_EQ(t.freq[10], -200);
    EXPECT_EQ(t.gain[10], -200);
    EXPECT_EQ(t.freq[11], -200);
}

TEST(UserCorrection, TextEndsAtCarriageReturnOrZero) {
    Table t;
    EXPECT_EQ(parse("30M:1.5dB\r\n100M:2.5dB", kAntenna, t), 1);
    EXPECT_EQ(t.freq[1], -200);
    Table u;
    const char text[] = "30M:1.5dB\0,100M:2.5dB";
    EXPECT_EQ(parseCorrectionText(text, sizeof text, kAntenna, u.freq, u.gain), 1);
    EXPECT_EQ(u.freq[1], -200);
}

TEST(UserCorrection, MalformedTextsStayInsideTheTable) {
    Table t;
    EXPECT_EQ(parse("30M,100M", kAntenna, t), 2); // no colons: frequencies only
    EXPECT_EQ(t.freq[0], 300);
    EXPECT_EQ(t.freq[1], 1000);
    EXPECT_EQ(t.gain[0], -200);
    EXPECT_EQ(t.gain[1], -200);

    Table stray;
    EXPECT_EQ(parse("xx:yy,zz", kProbe, stray), 2); // no digits read as 0
    EXPECT_EQ(stray.freq[0], 0);
    EXPECT_EQ(stray.gain[0], 0);
    EXPECT_EQ(stray.freq[1], 0);
    EXPECT_EQ(stray.gain[1], -200);

    Table shortGain;
    EXPECT_EQ(parse("1:", kAntenna, shortGain), 1);
    EXPECT_EQ(shortGain.freq[0], 0);
    EXPECT_EQ(shortGain.gain[0], -200); // the colon lies inside the two skipped characters

    // Numbers the table cannot hold leave their entries; the ends of its range arrive.
    Table huge;
    const std::string nines(400, '9');
    parse("1e999:1e999," + nines + ":-" + nines + ",1G:1e300x,100G:1000x,1:-1000x", kAntenna, huge);
    EXPECT_EQ(huge.freq[0], -200);
    EXPECT_EQ(huge.gain[0], -200);
    EXPECT_EQ(huge.freq[1], -200);
    EXPECT_EQ(huge.gain[1], -200);
    EXPECT_EQ(huge.freq[2], 10000);
    EXPECT_EQ(huge.gain[2], -200);
    EXPECT_EQ(huge.freq[3], 1000000);
    EXPECT_EQ(huge.gain[3], 100000);
    EXPECT_EQ(huge.gain[4], -99999); // -100000 + 0.5, truncated

    Table commas;
    EXPECT_LE(parse(std::string(400, ','), kAntenna, commas), 10);
    EXPECT_EQ(commas.freq[10], -200);
    Table colons;
    EXPECT_LE(parse(std::string(400, ':'), kProbe, colons), 10);
    EXPECT_EQ(colons.gain[10], -200);

    Table empty;
    EXPECT_EQ(parse("", kAntenna, empty), 0);
    EXPECT_EQ(empty.freq[0], -200);

    Table bad;
    EXPECT_EQ(parse("30M:1dB", 3, bad), 0);
    EXPECT_EQ(bad.freq[0], -200);
    EXPECT_EQ(parseCorrectionText(nullptr, 10, kAntenna, bad.freq, bad.gain), 0);
}

TEST(UserCorrection, OverlongTextIsReadOnlyToTheFieldEnd) {
    SetDefaultSettings();
    // The whole field filled, no terminating zero: the parse stays inside efUserText.
    std::memset(gSettings.efUserText, '1', sizeof gSettings.efUserText);
    std::memset(gSettings.mfUserText, '9', sizeof gSettings.mfUserText);
    EXPECT_EQ(ParseUserCorrection(kAntenna), 1);
    EXPECT_EQ(gSettings.efUserFreq[0], -200); // 512 digits: no table frequency
    EXPECT_EQ(gSettings.efUserFreq[1], -200);
}

TEST(UserCorrection, NewTextReplacesTheWholeTable) {
    SetDefaultSettings();
    std::strcpy(gSettings.mfUserText, "10M:86.7,100M:69.2,1G:50.7");
    EXPECT_EQ(ParseUserCorrection(kProbe), 3);
    EXPECT_EQ(gSettings.mfUserFreq[2], 10000);
    std::strcpy(gSettings.mfUserText, "20M:80dB");
    EXPECT_EQ(ParseUserCorrection(kProbe), 1);
    EXPECT_EQ(gSettings.mfUserFreq[0], 200);
    EXPECT_EQ(gSettings.mfUserGain[0], 8000);
    EXPECT_EQ(gSettings.mfUserFreq[1], -200);
    EXPECT_EQ(gSettings.mfUserGain[2], -200);
    // The antenna table is untouched by a probe parse.
    EXPECT_EQ(gSettings.efUserFreq[0], -200);
    EXPECT_EQ(ParseUserCorrection(0), 0);
}

} // namespace
