// Measurement results ("MEASRES") from the spectrum of one known signal, and the user tables.

#include "number_text.h"
#include "sim_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

using simtest::SimSession;

namespace {

// The number after the first occurrence of key, read as the program reads it.
double numberAfter(const std::string& text, const std::string& key) {
    size_t at = text.find(key);
    if (at == std::string::npos)
        return -1e300;
    double v = 0;
    parseSI(text.c_str() + at + key.size(), &v);
    return v;
}

constexpr double kInf = std::numeric_limits<double>::infinity();

// Lines sent (each answering "OK"), then the whole result's form and one number's range.
struct MeasureStep {
    std::vector<std::string> set;
    const char* form;
    const char* key;
    double low, high;
};

// One signal of -30 dBm at 1 GHz; the noise lies 52 dB below it, its power over the span 23 dB.
// clang-format off
const MeasureStep kSteps[] = {
    {{"MEASACP", "ACPMODEBAND"}, "REF:.* L:.* U:.*", "REF:", -31, -29},
    {{}, "REF:.*", "L:", -kInf, -25},
    {{}, "REF:.*", "U:", -kInf, -25},
    {{"ACPREF995000000.0000"}, "REF:.*", "U:", 30, kInf}, // the signal in the upper channel
    {{"MEASOBW"}, "C:.* W:.*", "C:", 1e9 - 50e3, 1e9 + 50e3},
    {{}, "C:.*", "W:", 100e3, 1e6}, // the 100 kHz filter shape
    {{"OBWMODEDB", "OBWDB3.0000"}, "C:.*", "W:", 40e3, 160e3}, // about one RBW
    // AT11 at 1 GHz: 20 log10(0.2294 x 1000) + 90 - 0.98 = 136.2 dB over the dBm level.
    {{"MEASEF"}, "E/F:.*", "E/F:", -30 + 136.2 - 1, -30 + 136.2 + 1},
    {{"MEASMF"}, "M/F:.*", "M/F:", -30 + 107 + 50.7 - 1, -30 + 107 + 50.7 + 1},
    {{"MEASCP"}, "CP:.*", "CP:", -31, -29},
    {{"CPMODEBAND", "CPCNTR1000000000.0000", "CPWIDTH2000000.0000"}, "CP:.*", "CP:", -31, -29},
    {{"CPCNTR1006000000.0000"}, "CP:.*", "CP:", -kInf, -50}, // beside the signal: noise only
    {{"CPCNTR1000000000.0000", "UNITDBUV"}, "CP:.*dBuV", "CP:", 76, 78},
    {{"FREQ1000300000.0000", "MEASFC"}, "FC:1000000000Hz", "FC:", -kInf, kInf},
};
// clang-format on

TEST(SimMeasure, EachResultFromTheSignalItMeasuresAndTheUserTables) {
    SimSession s{{"--no-pace", "--signal", "1G:-30"}};
    ASSERT_TRUE(s.ready()) << s.sim->error();
    ASSERT_EQ(s.ask("REF-20"), "OK");
    std::vector<double> got;
    for (const MeasureStep& step : kSteps) {
        if (!step.set.empty()) {
            ASSERT_NO_FATAL_FAILURE(s.setAll(step.set));
        }
        const std::string text = s.ask("MEASRES");
        EXPECT_THAT(text, ::testing::MatchesRegex(step.form));
        got.push_back(numberAfter(text, step.key));
        EXPECT_GE(got.back(), step.low) << text;
        EXPECT_LE(got.back(), step.high) << text;
    }
    EXPECT_LT(got[6], got[5]); // the 3 dB width inside the power-ratio width

    // User tables: the well-formed are taken, the others refused.
    s.expectReplies({"EFUSER30M:12.5dB,100M:10.2dB -> OK", "MFUSER10M:80,1G:50.5,3G:40 -> OK",
                     "EFUSER100MHz:-3.0,2.5G:4 -> OK", "MFUSER 1M : 2.5 dB, 10M:3 -> OK"});
    for (const char* bad :
         {"EFUSER", "EFUSER30M", "EFUSER30M:", "EFUSER:5", "EFUSER30M:1;", "EFUSER100M:1,30M:2",
          "EFUSER30M:1,,100M:2", "EFUSERabc:1",
          "MFUSER1M:1,2M:1,3M:1,4M:1,5M:1,6M:1,7M:1,8M:1,9M:1,10M:1,11M:1", "MFUSER10M:1000"}) {
        EXPECT_EQ(s.ask(bad), "ERR") << bad;
    }
    // The user antenna uses the table: 10 dB more gain, 10 dB less field strength.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"MEASEF", "EFANTUSER", "EFUSER900M:0,1.1G:0"}));
    const double flat = std::stod(s.ask("MEASRES").substr(4));
    ASSERT_EQ(s.ask("EFUSER900M:10,1.1G:10"), "OK");
    EXPECT_NEAR(std::stod(s.ask("MEASRES").substr(4)), flat - 10, 0.5);
}

} // namespace
