// Measurement results ("MEASRES") computed from the simulated spectrum of one known signal.

#include "number_text.h"
#include "sim_session.h"

#include <gtest/gtest.h>

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

class SimMeasure : public ::testing::Test {
protected:
    SimSession s{{"--no-pace", "--signal", "1G:-30"}};
    void SetUp() override {
        ASSERT_TRUE(s.ready()) << s.sim->error();
        // The noise lies 52 dB below the signal, its power over the span 23 dB below.
        ASSERT_EQ(s.ask("REF-20"), "OK");
    }
};

TEST_F(SimMeasure, ChannelPowerFindsTheSignalPowerInItsBand) {
    ASSERT_EQ(s.ask("MEASCP"), "OK");
    std::string total = s.ask("MEASRES");
    EXPECT_EQ(total.substr(0, 3), "CP:");
    EXPECT_NEAR(numberAfter(total, "CP:"), -30, 1.0) << total;
    ASSERT_NO_FATAL_FAILURE(
        s.setAll({"CPMODEBAND", "CPCNTR1000000000.0000", "CPWIDTH2000000.0000"}));
    EXPECT_NEAR(numberAfter(s.ask("MEASRES"), "CP:"), -30, 1.0);
    ASSERT_EQ(s.ask("CPCNTR1006000000.0000"), "OK"); // beside the signal: noise only
    EXPECT_LT(numberAfter(s.ask("MEASRES"), "CP:"), -50);
    ASSERT_NO_FATAL_FAILURE(s.setAll({"CPCNTR1000000000.0000", "UNITDBUV"}));
    std::string dbuv = s.ask("MEASRES");
    EXPECT_NEAR(numberAfter(dbuv, "CP:"), 77, 1.0);
    EXPECT_NE(dbuv.find("dBuV"), std::string::npos);
}

TEST_F(SimMeasure, AdjacentChannelsLieFarBelowTheReference) {
    ASSERT_NO_FATAL_FAILURE(s.setAll({"MEASACP", "ACPMODEBAND"}));
    std::string text = s.ask("MEASRES");
    EXPECT_NEAR(numberAfter(text, "REF:"), -30, 1.0) << text;
    EXPECT_LT(numberAfter(text, "L:"), -25) << text;
    EXPECT_LT(numberAfter(text, "U:"), -25) << text;
    // A reference channel beside the signal puts the signal in the upper channel.
    ASSERT_EQ(s.ask("ACPREF995000000.0000"), "OK");
    EXPECT_GT(numberAfter(s.ask("MEASRES"), "U:"), 30);
}

TEST_F(SimMeasure, OccupiedBandwidthGivesCentreAndWidthAsTheProgramReadsThem) {
    ASSERT_EQ(s.ask("MEASOBW"), "OK");
    std::string text = s.ask("MEASRES");
    ASSERT_EQ(text.substr(0, 2), "C:") << text;
    EXPECT_NEAR(numberAfter(text, "C:"), 1.0e9, 50e3) << text;
    double ratioWidth = numberAfter(text, "W:");
    EXPECT_GT(ratioWidth, 100e3) << text; // the 100 kHz filter shape
    EXPECT_LT(ratioWidth, 1e6) << text;
    ASSERT_NO_FATAL_FAILURE(s.setAll({"OBWMODEDB", "OBWDB3.0000"}));
    double threeDb = numberAfter(s.ask("MEASRES"), "W:");
    EXPECT_NEAR(threeDb, 100e3, 60e3); // about one RBW
    EXPECT_LT(threeDb, ratioWidth);
}

TEST_F(SimMeasure, FieldStrengthAddsTheAntennaOrProbeFactor) {
    ASSERT_EQ(s.ask("MEASEF"), "OK");
    std::string ef = s.ask("MEASRES");
    // AT11 at 1 GHz: 20 log10(0.2294 x 1000) + 90 - 0.98 = 136.2 dB over the dBm level.
    EXPECT_NEAR(numberAfter(ef, "E/F:"), -30 + 136.2, 1.0) << ef;
    ASSERT_EQ(s.ask("MEASMF"), "OK");
    std::string mf = s.ask("MEASRES");
    EXPECT_NEAR(numberAfter(mf, "M/F:"), -30 + 107 + 50.7, 1.0) << mf;
}

TEST_F(SimMeasure, FrequencyCounterReadsTheSignal) {
    ASSERT_NO_FATAL_FAILURE(s.setAll({"FREQ1000300000.0000", "MEASFC"}));
    EXPECT_EQ(s.ask("MEASRES"), "FC:1000000000Hz");
}

} // namespace
