// The simulated analyzer over a pseudo-terminal: settings, bad lines, hard copy and memories.

#include "analyzer_state.h"
#include "hard_copy.h"
#include "hard_copy_decoding.h"
#include "sim_session.h"

#include <gtest/gtest.h>
#include <map>
#include <tuple>

using simtest::SimSession;

namespace {

class SimSettings : public simtest::SharedSimTest {
protected:
    static void SetUpTestSuite() { Start({"--no-pace"}); }
};

// The settings of the field table are in its own test; here the others, letter case, couplings.
TEST_F(SimSettings, EverySettingShowsInItsQueryInAnyLetterCaseAndAutoOnesFollowTheSpan) {
    // Power-on: all three automatic, giving 100K / 10K / 0.1 at 20M. A chosen value ends its
    // coupling; its AUTO command brings it back.
    s.expectReplies(
        {"RBW? -> 100K",  "SPAN200K -> OK", "RBW? -> 3K",    "VBW? -> 300",     "SPAN2G -> OK",
         "RBW? -> 3M",    "VBW? -> 300K",   "RBW10K -> OK",  "SPAN20M -> OK",   "RBW? -> 10K",
         "VBW? -> 1K",    "SWEEP? -> 10",   "RBWAUTO -> OK", "RBW? -> 100K",    "SWEEP? -> 0.1",
         "VBW300 -> OK",  "SPAN5M -> OK",   "VBW? -> 300",   "VBWAUTO -> OK",   "VBW? -> 3K",
         "SWEEP10 -> OK", "SPAN1M -> OK",   "SWEEP? -> 10",  "SWEEPAUTO -> OK", "SWEEP? -> 0.3"});
    s.expectReplies({"CALCSPRON -> OK", "CALCSPR? -> ON", "HOLD -> OK", "HOLD? -> OK",
                     "REMOTEON -> OK", "REMOTEOFF -> OK", "REMOTE? -> OFF", "RUN -> OK",
                     "HOLD? -> RUN", "IMP75 -> OK", "IMP50 -> OK", "IMP? -> 50", "span200k -> OK",
                     "Span? -> 200K", "unitdbuv -> OK", "UNIT? -> DBUV", "freq2.5e8 -> OK",
                     "FREQ? -> 250000000.0000"});
}

// Preset brings back the power-on state (but the remote state), and bad lines change nothing.
TEST_F(SimSettings, PresetRestoresThePowerOnStateAndBadLinesAnswerErrAndChangeNothing) {
    ASSERT_NO_FATAL_FAILURE(s.setAll({"FREQ2000000000.0000", "SPAN1G", "REF-40", "UNITDBV", "RBW3K",
                                      "CALCMAX", "MEASCP", "SCALE2", "REMOTEON", "PRESET"}));
    for (const char* bad :
         {"",           "XYZZY",    "SPAN7M",  "SPAN",      "FREQabc", "FREQ1.2.3", "FREQ-5",
          "FREQ4G",     "REF11",    "REF-61",  "REF1.5",    "RBW100",  "RBWALL",    "VBW3M",
          "UNITdBuV/m", "SWEEP0.2", "DETPEAK", "MAXNO3",    "AVENO0",  "AVENO512",  "OBWRATIO79",
          "OBWDB0",     "OFFSET51", "IMP60",   "EFANTAT16", "CAPTX",   "PRESET1",   "PKSEARCH1",
          "SRS100",     "SRS5",     "MCLRS0",  "MCLRW101",  "FREQ?X",  "NOSUCH?"})
        EXPECT_EQ(ask(bad).substr(0, 3), "ERR") << '"' << bad << '"';
    s.expectReplies({"FREQ? -> 1000000000.0000", "SPAN? -> 20M", "REF? -> 10", "UNIT? -> DBM",
                     "RBW? -> 100K", "VBW? -> 10K", "SWEEP? -> 0.1", "CALC? -> OFF", "MEAS? -> OFF",
                     "SCALE? -> 10", "AVENO? -> 256", "REMOTE? -> ON"});
}

TEST_F(SimSettings, FieldUnitsShowAndFastSweepsForceSampleAndTheFullSpanHasNone) {
    // The other labels meet their queries in the trace test; here the field units.
    ASSERT_EQ(ask("MEASEF"), "OK");
    EXPECT_EQ(s.screen().unit, "dBuV/m");
    EXPECT_EQ(ask("UNIT?"), "dBuV/m");
    ASSERT_EQ(ask("MEASMF"), "OK");
    EXPECT_EQ(s.screen().unit, "dBuA/m");
    s.expectReplies({"DETNEG -> OK", "SWEEP10M -> OK", "DET? -> SMP"});
    EXPECT_EQ(s.screen().sweepAndDetector, "10MSMP");
    // DETPOS is kept for later; sample stays in force while the sweep is fast.
    s.expectReplies(
        {"DETPOS -> OK", "SWEEP30M -> OK", "DET? -> SMP", "SWEEP1 -> OK", "DET? -> POS"});
    // The full span fixes the centre, has no 10 ms sweep, and restores the centre afterwards.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"FREQ900000000.0000", "SWEEP10M", "SPANFULL"}));
    s.expectReplies({"FREQ? -> 1650000000.0000", "SWEEP? -> 30M", "SWEEP10M -> ERR"});
    s.expectReplies({"SPAN10M -> OK", "FREQ? -> 900000000.0000"});
}

TEST_F(SimSettings, MarkerToCentreAndPeakSearch) {
    ASSERT_EQ(ask("PKSEARCH01"), "OK");
    EXPECT_NEAR(std::stod(ask("NORMMKR?")), 1.0e9, 2 * 20e3); // the carrier
    ASSERT_EQ(ask("PKSEARCH02"), "OK");
    double second = std::stod(ask("NORMMKR?"));
    EXPECT_TRUE(std::abs(second - 0.998e9) < 40e3 || std::abs(second - 1.002e9) < 40e3) << second;
    s.expectReplies({"NORMMKR1003000000.0000 -> OK", "FREQSETMKR -> OK", "FREQ? -> 1003000000.0000",
                     "SPANZERO -> OK", "FREQSETMKR -> ERR"});
}

TEST_F(SimSettings, CaptureAnswersCompWhenTheSweepIsDone) {
    ASSERT_EQ(ask("SWEEP1"), "OK");
    // One write, so that a busy machine cannot hold the empty line ("ERR") back past the sweep.
    ASSERT_TRUE(s.port->write("CAPT\r\n\r\n"));
    std::string reply;
    ASSERT_TRUE(s.port->readUntil("COMP\r\n", reply));
    EXPECT_EQ(reply, "ERR\r\nCOMP\r\n");
    ASSERT_TRUE(s.sim->waitForLogLine("> COMP\\r\\n"));
    // "COMP" waits for the sweep (the margin only allows for the log's own time stamps).
    std::map<std::string, double> seconds; // the last time of each line in the log
    for (const orvel::test::SimLogEntry& e : s.sim->logEntries())
        seconds[e.mark + e.text] = e.seconds;
    ASSERT_EQ(seconds.count("<CAPT"), 1u);
    EXPECT_GE(seconds[">COMP\\r\\n"] - seconds["<CAPT"], 0.5) << "a 1 s sweep";
}

TEST(SimModel420, AutoTunesToTheStrongestSignalAndHasTheWiderSpansAndLimits) {
    SimSession s({"--no-pace", "--model", "420", "--auto-ms", "300", "--signal", "700M:-25",
                  "--signal", "2.1G:-35"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    ASSERT_EQ(s.ask("REF-60"), "OK");
    // One write, so that a busy machine cannot hold the question back past the tuning.
    ASSERT_TRUE(s.port->write("AUTO\r\nAUTO?\r\n"));
    std::string reply;
    ASSERT_TRUE(s.port->readUntil("OK\r\n", reply));
    EXPECT_EQ(reply, "BUSY\r\nOK\r\n");
    s.expectReplies({"FREQ? -> 700000000.0000", "REF? -> -20", "AUTO? -> OK"});
    s.expectReplies({"FREQ8000000000.0000 -> OK", "SPAN5G -> OK", "SWEEP10M -> ERR",
                     "EFANTAT16 -> OK", "SPANFULL -> OK", "FREQ? -> 4250000000.0000"});
}

// The program's own decoding of the band stream; the picture's rows counted from the top.
struct HardCopyPicture {
    explicit HardCopyPicture(const std::string& stream) : pixels(hardcopy::kPixelBytes, 0) {
        bands = hardcopy::DecodeHardCopy(stream.data(), int(stream.size()), pixels.data());
    }
    bool black(int x, int y) const {
        const int row = hardcopy::kHeight - 1 - y;
        return pixels[row * hardcopy::kRowBytes + x / 8] & (0x80 >> x % 8);
    }
    int bands = 0;
    std::vector<uint8_t> pixels;
};

TEST(SimHardCopy, DecodesToThePictureTheAnalyzerDrew) {
    SimSession s({"--no-pace", "--signal", "1G:-30"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    ASSERT_EQ(s.ask("REF-10"), "OK");
    simtest::DecodedRecord shown = s.screen(); // held: the hard copy shows this very trace
    ASSERT_EQ(shown.points.size(), 251u);
    ASSERT_TRUE(s.port->sendLine("PRT"));
    std::string stream;
    ASSERT_TRUE(s.port->readCount(22 * 745, stream)) << stream.size();
    EXPECT_EQ(s.ask("VER"), "VER1.05 RVX410"); // nothing more came with the picture

    sim::AnalyzerState state = sim::presetState(0);
    state.refLevel = -10;
    sim::applyCouplings(state);
    sim::Picture expected = sim::renderScreen(state, shown.points);
    EXPECT_TRUE(hardcopy::HardCopyComplete(stream.data(), int(stream.size())));
    HardCopyPicture picture(stream);
    EXPECT_EQ(picture.bands, 22);
    int mismatches = 0;
    for (int y = 0; y < 250; ++y)
        for (int x = 0; x < 352; ++x)
            mismatches += picture.black(x, y) != expected.at(x, y);
    EXPECT_EQ(mismatches, 0);
    // The signal 20 dB below the reference: byte 150, 150 pixels above the graticule's bottom.
    EXPECT_TRUE(picture.black(40 + 150, 20 + 200 - 150) ||
                picture.black(40 + 150, 20 + 200 - 151) || picture.black(40 + 150, 20 + 200 - 149));

    // The same picture with garbage before and between the records.
    std::string noisy = "\r\nXYZl037";
    for (int b = 0; b < 22; ++b)
        noisy += stream.substr(b * 745, 745) + "\x00l0\xff";
    EXPECT_EQ(HardCopyPicture(noisy).pixels, picture.pixels);
}

// Memory n is cleared by number n + 1; clearing the settings keeps the trace (recall: MemorySim).
TEST(SimMemory, StoredRecordsDifferAndClearingEmptiesThem) {
    SimSession s({"--no-pace", "--memories", "3"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    const auto memory = [&s](int n) {
        return simtest::decodeRecord(s.recordText(("SRS0" + std::to_string(n)).c_str(), 251), 252);
    };
    const std::vector<uint8_t> none(251, 0);
    std::vector<std::vector<uint8_t>> traces;
    for (int n = 0; n < 3; ++n) {
        const simtest::DecodedRecord r = memory(n);
        ASSERT_EQ(std::tuple(r.complete, r.points.size()), std::tuple(true, 251u));
        EXPECT_GT(simtest::mean(r.points), 10);
        traces.push_back(r.points);
    }
    EXPECT_NE(traces[0], traces[1]);
    EXPECT_NE(traces[1], traces[2]);
    ASSERT_EQ(s.ask("MCLRW1"), "OK");
    EXPECT_EQ(memory(0).points, none);
    ASSERT_EQ(s.ask("MCLRS2"), "OK");
    const simtest::DecodedRecord kept = memory(1);
    EXPECT_EQ(std::tuple(kept.span, kept.points), std::tuple("20M", traces[1]));
    ASSERT_NO_FATAL_FAILURE(s.setAll({"MCLRWALL", "MCLRSALL"}));
    EXPECT_EQ(memory(2).points, none);
}

} // namespace
