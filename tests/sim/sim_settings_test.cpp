// The simulated analyzer's settings over a real pseudo-terminal: each setting answers "OK" and
// shows in its query and in the screen record; bad lines answer "ERR"; coupled settings follow.

#include "raw_pty.h"
#include "record_reader.h"
#include "sim_process.h"
#include "sim_session.h"

#include <gtest/gtest.h>

using orvel::test::SerialClient;
using orvel::test::SimProcess;

namespace {

class SimSettings : public ::testing::Test {
protected:
    void SetUp() override { start({"--no-pace"}); }

    void TearDown() override {
        port.reset();
        if (sim) {
            sim->stop();
            simtest::SimSession::expectCleanExit(*sim);
        }
    }

    void start(std::vector<std::string> args) {
        port.reset();
        sim = std::make_unique<SimProcess>(std::move(args));
        ASSERT_TRUE(sim->started()) << sim->error();
        port = std::make_unique<SerialClient>(sim->devicePath());
        ASSERT_TRUE(port->isOpen());
    }

    std::string ask(const std::string& line) { return port->ask(line); }

    simtest::DecodedRecord screen(bool detailed = false) {
        port->sendLine(detailed ? "SRSF" : "SRSCURR");
        std::string text = port->readRecord(detailed ? 1001 : 251);
        return simtest::decodeRecord(text, detailed ? 1005 : 252);
    }

    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<SerialClient> port;
};

struct SettingCase {
    const char* command;
    const char* query;
    const char* expected;
};

TEST_F(SimSettings, EverySettingAnswersOkAndShowsInItsQuery) {
    const SettingCase cases[] = {
        {"FREQ1500000000.0000", "FREQ?", "1500000000.0000"},
        {"SPAN5M", "SPAN?", "5M"},
        {"REF-20", "REF?", "-20"},
        {"UNITDBMV", "UNIT?", "DBMV"},
        {"OFFSET-3.5", "OFFSET?", "-3.5"},
        {"IMP75", "IMP?", "75"},
        {"RBW30K", "RBW?", "30K"},
        {"VBW1K", "VBW?", "1K"},
        {"SWEEP3", "SWEEP?", "3"},
        {"DETNEG", "DET?", "NEG"},
        {"SCALE2", "SCALE?", "2"},
        {"CALCAVE", "CALC?", "AVE"},
        {"MAXNO16", "MAXNO?", "16"},
        {"MINNO0", "MINNO?", "0"},
        {"AVENO64", "AVENO?", "64"},
        {"MEASACP", "MEAS?", "ACP"},
        {"CPMODEBAND", "CPMODE?", "BAND"},
        {"CPCNTR1001000000.0000", "CPCNTR?", "1001000000.0000"},
        {"CPWIDTH2000000.0000", "CPWIDTH?", "2000000.0000"},
        {"ACPMODEPEAK", "ACPMODE?", "PEAK"},
        {"ACPOFS3000000.0000", "ACPOFS?", "3000000.0000"},
        {"ACPCHBW500000.0000", "ACPCHBW?", "500000.0000"},
        {"ACPREF999000000.0000", "ACPREF?", "999000000.0000"},
        {"ACPREFBW700000.0000", "ACPREFBW?", "700000.0000"},
        {"OBWMODEDB", "OBWMODE?", "DB"},
        {"OBWRATIO95.5000", "OBWRATIO?", "95.5000"},
        {"OBWDB20.0000", "OBWDB?", "20.0000"},
        {"EFANTUSER", "EFANT?", "USER"},
        {"MFPROBEUSER", "MFPROBE?", "USER"},
        {"MKRDELTA", "MKR?", "DELTA"},
        {"NORMMKR1002000000.0000", "NORMMKR?", "1002000000.0000"},
        {"PEAKZONE", "PEAK?", "ZONE"},
        {"PKCNTR1003000000.0000", "PKCNTR?", "1003000000.0000"},
        {"PKWIDTH4000000.0000", "PKWIDTH?", "4000000.0000"},
        {"CONVW", "CONV?", "W"},
        {"REMOTEON", "REMOTE?", "ON"},
        {"CALCSPRON", "CALCSPR?", "ON"},
        {"HOLD", "HOLD?", "OK"},
    };
    for (const SettingCase& c : cases) {
        EXPECT_EQ(ask(c.command), "OK") << c.command;
        EXPECT_EQ(ask(c.query), c.expected) << c.command;
    }
    EXPECT_EQ(ask("REMOTEOFF"), "OK");
    EXPECT_EQ(ask("REMOTE?"), "OFF");
    EXPECT_EQ(ask("RUN"), "OK");
    EXPECT_EQ(ask("HOLD?"), "RUN");
    EXPECT_EQ(ask("IMP50"), "OK");
    EXPECT_EQ(ask("IMP?"), "50");
}

TEST_F(SimSettings, KeywordsAndCommandsIgnoreLetterCase) {
    EXPECT_EQ(ask("span200k"), "OK");
    EXPECT_EQ(ask("Span?"), "200K");
    EXPECT_EQ(ask("unitdbuv"), "OK");
    EXPECT_EQ(ask("UNIT?"), "DBUV");
    EXPECT_EQ(ask("freq2.5e8"), "OK");
    EXPECT_EQ(ask("FREQ?"), "250000000.0000");
}

TEST_F(SimSettings, BadLinesAnswerErrAndChangeNothing) {
    for (const char* bad :
         {"",           "XYZZY",    "SPAN7M",  "SPAN",      "FREQabc", "FREQ1.2.3", "FREQ-5",
          "FREQ4G",     "REF11",    "REF-61",  "REF1.5",    "RBW100",  "RBWALL",    "VBW3M",
          "UNITdBuV/m", "SWEEP0.2", "DETPEAK", "MAXNO3",    "AVENO0",  "AVENO512",  "OBWRATIO79",
          "OBWDB0",     "OFFSET51", "IMP60",   "EFANTAT16", "CAPTX",   "PRESET1",   "PKSEARCH1",
          "SRS100",     "SRS5",     "MCLRS0",  "MCLRW101",  "FREQ?X",  "NOSUCH?"}) {
        EXPECT_EQ(ask(bad).substr(0, 3), "ERR") << '"' << bad << '"';
    }
    EXPECT_EQ(ask("FREQ?"), "1000000000.0000");
    EXPECT_EQ(ask("SPAN?"), "20M");
    EXPECT_EQ(ask("REF?"), "10");
    EXPECT_EQ(ask("RBW?"), "100K");
    EXPECT_EQ(ask("AVENO?"), "256");
}

TEST_F(SimSettings, SettingsShowInTheScreenRecord) {
    ASSERT_EQ(ask("FREQ1234567890.5000"), "OK");
    ASSERT_EQ(ask("SPAN50M"), "OK");
    ASSERT_EQ(ask("REF-30"), "OK");
    ASSERT_EQ(ask("UNITDBUV"), "OK");
    ASSERT_EQ(ask("RBW300K"), "OK");
    ASSERT_EQ(ask("VBW3K"), "OK");
    ASSERT_EQ(ask("SWEEP0.3"), "OK");
    ASSERT_EQ(ask("DETNEG"), "OK");
    ASSERT_EQ(ask("SCALE2"), "OK");
    for (bool detailed : {false, true}) {
        simtest::DecodedRecord r = screen(detailed);
        ASSERT_TRUE(r.complete);
        EXPECT_EQ(r.center, "1234567890.5000Hz");
        EXPECT_EQ(r.span, "50M");
        EXPECT_EQ(r.ref, "77"); // -30 dBm in dBuV
        EXPECT_EQ(r.unit, "dBuV");
        EXPECT_EQ(r.sweepAndDetector, "0.3NEG");
        EXPECT_EQ(r.rbw, "300K");
        EXPECT_EQ(r.vbw, "3K");
        EXPECT_EQ(r.scale, "2");
        EXPECT_EQ(r.points.size(), detailed ? 1001u : 251u);
    }
    ASSERT_EQ(ask("UNITDBM"), "OK");
    EXPECT_EQ(screen().unit, "dBm");
    ASSERT_EQ(ask("UNITDBV"), "OK");
    simtest::DecodedRecord dbv = screen();
    EXPECT_EQ(dbv.unit, "dBV");
    EXPECT_EQ(dbv.ref, "-43");
    ASSERT_EQ(ask("MEASEF"), "OK");
    EXPECT_EQ(screen().unit, "dBuV/m");
    EXPECT_EQ(ask("UNIT?"), "dBuV/m");
    ASSERT_EQ(ask("MEASMF"), "OK");
    EXPECT_EQ(screen().unit, "dBuA/m");
}

TEST_F(SimSettings, AutoCouplingsFollowTheSpan) {
    // Power-on: all three automatic, giving 100K / 10K / 0.1 at 20M.
    EXPECT_EQ(ask("RBW?"), "100K");
    ASSERT_EQ(ask("SPAN200K"), "OK");
    EXPECT_EQ(ask("RBW?"), "3K");
    EXPECT_EQ(ask("VBW?"), "300");
    ASSERT_EQ(ask("SPAN2G"), "OK");
    EXPECT_EQ(ask("RBW?"), "3M");
    EXPECT_EQ(ask("VBW?"), "300K");
    // A chosen RBW ends the RBW coupling; RBWAUTO brings it back.
    ASSERT_EQ(ask("RBW10K"), "OK");
    ASSERT_EQ(ask("SPAN20M"), "OK");
    EXPECT_EQ(ask("RBW?"), "10K");
    EXPECT_EQ(ask("VBW?"), "1K");
    EXPECT_EQ(ask("SWEEP?"), "10");
    ASSERT_EQ(ask("RBWAUTO"), "OK");
    EXPECT_EQ(ask("RBW?"), "100K");
    EXPECT_EQ(ask("SWEEP?"), "0.1");
    ASSERT_EQ(ask("VBW300"), "OK");
    ASSERT_EQ(ask("SPAN5M"), "OK");
    EXPECT_EQ(ask("VBW?"), "300");
    ASSERT_EQ(ask("VBWAUTO"), "OK");
    EXPECT_EQ(ask("VBW?"), "3K");
    ASSERT_EQ(ask("SWEEP10"), "OK");
    ASSERT_EQ(ask("SPAN1M"), "OK");
    EXPECT_EQ(ask("SWEEP?"), "10");
    ASSERT_EQ(ask("SWEEPAUTO"), "OK");
    EXPECT_EQ(ask("SWEEP?"), "0.3");
}

TEST_F(SimSettings, FastSweepsForceSampleDetection) {
    ASSERT_EQ(ask("DETNEG"), "OK");
    ASSERT_EQ(ask("SWEEP10M"), "OK");
    EXPECT_EQ(ask("DET?"), "SMP");
    EXPECT_EQ(screen().sweepAndDetector, "10MSMP");
    ASSERT_EQ(ask("DETPOS"), "OK"); // kept for later, sample stays in force
    ASSERT_EQ(ask("SWEEP30M"), "OK");
    EXPECT_EQ(ask("DET?"), "SMP");
    ASSERT_EQ(ask("SWEEP1"), "OK");
    EXPECT_EQ(ask("DET?"), "POS");
}

TEST_F(SimSettings, FullSpanFixesTheCentreAndRestoresItAfterwards) {
    ASSERT_EQ(ask("FREQ900000000.0000"), "OK");
    ASSERT_EQ(ask("SWEEP10M"), "OK");
    ASSERT_EQ(ask("SPANFULL"), "OK");
    EXPECT_EQ(ask("FREQ?"), "1650000000.0000");
    EXPECT_EQ(ask("SWEEP?"), "30M"); // no 10 ms sweep in the full span
    EXPECT_EQ(ask("SWEEP10M"), "ERR");
    EXPECT_EQ(screen().center, "1650000000.0000Hz");
    ASSERT_EQ(ask("SPAN10M"), "OK");
    EXPECT_EQ(ask("FREQ?"), "900000000.0000");
}

TEST(SimModel420, HasTheWiderSpansAndLimits) {
    SimProcess sim({"--no-pace", "--model", "420"});
    ASSERT_TRUE(sim.started()) << sim.error();
    SerialClient port(sim.devicePath());
    EXPECT_EQ(port.ask("FREQ8000000000.0000"), "OK");
    EXPECT_EQ(port.ask("SPAN5G"), "OK");
    EXPECT_EQ(port.ask("SPAN?"), "5G");
    EXPECT_EQ(port.ask("SWEEP10M"), "ERR");
    EXPECT_EQ(port.ask("EFANTAT16"), "OK");
    EXPECT_EQ(port.ask("SPANFULL"), "OK");
    EXPECT_EQ(port.ask("FREQ?"), "4250000000.0000");
    EXPECT_EQ(port.ask("VER"), "VER1.05 RVX420");
}

TEST_F(SimSettings, MarkerToCentreAndPeakSearch) {
    ASSERT_EQ(ask("PKSEARCH01"), "OK");
    EXPECT_NEAR(std::stod(ask("NORMMKR?")), 1.0e9, 2 * 20e3); // the carrier
    ASSERT_EQ(ask("PKSEARCH02"), "OK");
    double second = std::stod(ask("NORMMKR?"));
    EXPECT_TRUE(std::abs(second - 0.998e9) < 40e3 || std::abs(second - 1.002e9) < 40e3) << second;
    ASSERT_EQ(ask("NORMMKR1003000000.0000"), "OK");
    ASSERT_EQ(ask("FREQSETMKR"), "OK");
    EXPECT_EQ(ask("FREQ?"), "1003000000.0000");
    ASSERT_EQ(ask("SPANZERO"), "OK");
    EXPECT_EQ(ask("FREQSETMKR"), "ERR");
}

TEST_F(SimSettings, PresetRestoresThePowerOnState) {
    for (const char* c : {"FREQ2000000000.0000", "SPAN1G", "REF-40", "UNITDBV", "RBW3K", "CALCMAX",
                          "MEASCP", "SCALE2", "REMOTEON"})
        ASSERT_EQ(ask(c), "OK") << c;
    ASSERT_EQ(ask("PRESET"), "OK");
    EXPECT_EQ(ask("FREQ?"), "1000000000.0000");
    EXPECT_EQ(ask("SPAN?"), "20M");
    EXPECT_EQ(ask("REF?"), "10");
    EXPECT_EQ(ask("UNIT?"), "DBM");
    EXPECT_EQ(ask("RBW?"), "100K");
    EXPECT_EQ(ask("VBW?"), "10K");
    EXPECT_EQ(ask("SWEEP?"), "0.1");
    EXPECT_EQ(ask("CALC?"), "OFF");
    EXPECT_EQ(ask("MEAS?"), "OFF");
    EXPECT_EQ(ask("SCALE?"), "10");
    EXPECT_EQ(ask("AVENO?"), "256");
    EXPECT_EQ(ask("REMOTE?"), "ON"); // the remote state survives
}

TEST_F(SimSettings, CaptureAnswersCompWhenTheSweepIsDone) {
    ASSERT_EQ(ask("SWEEP1"), "OK");
    ASSERT_TRUE(port->sendLine("CAPT"));
    // While the sweep runs the analyzer keeps answering; an empty line gets "ERR" first.
    EXPECT_EQ(ask(""), "ERR");
    std::string comp;
    ASSERT_TRUE(port->readUntil("\r\n", comp));
    EXPECT_EQ(comp, "COMP\r\n");
    EXPECT_TRUE(sim->waitForLogLine("> COMP\\r\\n"));
}

TEST_F(SimSettings, AutoTuneAnswersOkLaterAndTunesToTheStrongestSignal) {
    start({"--no-pace", "--auto-ms", "300", "--signal", "700M:-25", "--signal", "2.1G:-35"});
    ASSERT_EQ(ask("REF-60"), "OK");
    ASSERT_TRUE(port->sendLine("AUTO"));
    EXPECT_EQ(ask("AUTO?"), "BUSY");
    std::string ok;
    ASSERT_TRUE(port->readUntil("\r\n", ok));
    EXPECT_EQ(ok, "OK\r\n");
    EXPECT_EQ(ask("FREQ?"), "700000000.0000");
    EXPECT_EQ(ask("REF?"), "-20");
    EXPECT_EQ(ask("AUTO?"), "OK");
}

} // namespace
