// The simulated trace over a pseudo-terminal: records, levels, noise, detectors, seed, "MEASRES".

#include "number_text.h"
#include "sim_session.h"

#include "keyword_tables.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

using simtest::SimSession;

namespace {

TEST(SimTrace, RecordDecodesToTheStateThatProducedIt) {
    for (const char* model : {"410", "420"}) {
        SimSession s({"--no-pace", "--model", model});
        ASSERT_TRUE(s.ready()) << s.sim->error();
        const int modelIndex = std::string(model) == "420" ? 1 : 0;
        const int unitConstant[] = {0, 107, 47, -13};
        const char* unitWord[] = {"dBm", "dBuV", "dBmV", "dBV"};
        for (int i = 0; i < keywords::spanCount(modelIndex); ++i) {
            const std::string span = keywords::spanTable(modelIndex)[i];
            const int unit = i % 4;
            // Settings and questions go in batches: one write, the replies in order.
            std::vector<std::string> settings{"SPAN" + span,
                                              std::string("UNIT") + keywords::kUnit[unit],
                                              "REF" + std::to_string(-4 * i),
                                              std::string("RBW") + keywords::kRbw[i % 7],
                                              std::string("VBW") + keywords::kVbw[(i + 3) % 9],
                                              std::string("DET") + keywords::kDetector[i % 3],
                                              std::string("SCALE") + keywords::kScale[i % 2]};
            if (i != keywords::spanCount(modelIndex) - 1)
                settings.push_back("FREQ" + std::to_string(1000000000 + 12345 * i) + ".2500");
            settings.push_back(std::string("SWEEP") + keywords::kSweep[1 + i % 7]);
            ASSERT_EQ(s.port->askAll(settings), std::vector<std::string>(settings.size(), "OK"))
                << span;
            for (bool detailed : {false, true}) {
                simtest::DecodedRecord r = s.screen(detailed);
                ASSERT_TRUE(r.complete) << span;
                const std::vector<std::string> q = s.port->askAll(
                    {"FREQ?", "SPAN?", "REF?", "SWEEP?", "DET?", "RBW?", "VBW?", "SCALE?"});
                EXPECT_EQ(std::stoi(r.ref), std::stoi(q[2]) + unitConstant[unit]) << span;
                const std::vector<std::string> labels{r.center, r.span, r.unit, r.sweepAndDetector,
                                                      r.rbw,    r.vbw,  r.scale};
                EXPECT_EQ(labels, (std::vector<std::string>{q[0] + "Hz", q[1], unitWord[unit],
                                                            q[3] + q[4], q[5], q[6], q[7]}));
                EXPECT_EQ(r.points.size(), detailed ? 1001u : 251u);
            }
        }
    }
}

TEST(SimTrace, LevelBytesFollowReferenceScaleAndNotOffsetAndPeaksBetweenPositions) {
    SimSession s({"--no-pace", "--signal", "1G:-30"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    std::vector<double> peaks;
    for (const char* line : {"SPAN1M", "REF-20", "OFFSET12.5", "SCALE2", "REF-40"}) {
        ASSERT_EQ(s.ask(line), "OK");
        const std::vector<uint8_t> p = s.screen().points;
        peaks.push_back(*std::max_element(p.begin(), p.end()));
    }
    // 0.4 dB a step (0.08 at 2 dB/div); the offset moves reference and level alike; top clipped.
    using ::testing::DoubleNear;
    EXPECT_THAT(peaks, ::testing::ElementsAre(DoubleNear(100, 2), DoubleNear(175, 2),
                                              DoubleNear(175, 2), DoubleNear(75, 2), 255));
    ASSERT_NO_FATAL_FAILURE(s.setAll({"SCALE10", "REF-30"}));
    simtest::DecodedRecord detailed = s.screen(true);
    EXPECT_NEAR(detailed.points[500], 200, 2); // the signal sits at the centre position
    // 2G span: 2 MHz a position, 3 MHz RBW; the peak detector catches the signal 0.8 MHz off one.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"REF-10", "SPAN2G", "FREQ1000800000.0000"}));
    const std::vector<uint8_t> wide = s.screen().points;
    EXPECT_NEAR(*std::max_element(wide.begin(), wide.end()), 150, 2);
}

// Nothing in view: one simulator for the noise cases.
class SimNoise : public simtest::SharedSimTest {
protected:
    static void SetUpTestSuite() { Start({"--no-pace", "--signal", "3G:-100"}); }
};

TEST_F(SimNoise, NoiseFloorFollowsRbwAndReferenceAndTheDetectorsOrderIt) {
    ASSERT_EQ(s.ask("RBW100K"), "OK");
    const double at100k = simtest::median(s.screen().points);
    EXPECT_NEAR(at100k, 200 - 62 / 0.4, 8); // 62 dB below the reference
    ASSERT_EQ(s.ask("RBW3M"), "OK");
    EXPECT_NEAR(simtest::median(s.screen().points) - at100k, 14.8 / 0.4, 8);
    ASSERT_EQ(s.ask("RBW30K"), "OK");
    EXPECT_NEAR(at100k - simtest::median(s.screen().points), 5.2 / 0.4, 8);
    // A low reference level reaches the thermal floor: the noise shows higher on the screen.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"RBW100K", "REF-60"}));
    EXPECT_NEAR(simtest::median(s.screen().points), 200 - 54 / 0.4, 8);
    // The detectors order the noise.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"VBWOFF", "DETPOS"}));
    const double pos = simtest::mean(s.screen(true).points);
    ASSERT_EQ(s.ask("DETSMP"), "OK");
    const double smp = simtest::mean(s.screen(true).points);
    ASSERT_EQ(s.ask("DETNEG"), "OK");
    const double neg = simtest::mean(s.screen(true).points);
    EXPECT_GT(pos, smp + 5);
    EXPECT_GT(smp, neg + 5);
}

TEST(SimTrace, ZeroSpanShowsTheEnvelopeAtTheCentre) {
    SimSession s({"--no-pace", "--signal", "1G:-10", "--signal", "1.00005G:-10"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    // Only the 1 GHz tone passes.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"RBW3K", "SPANZERO", "DETSMP"}));
    auto steady = s.screen(true).points;
    EXPECT_NEAR(*std::min_element(steady.begin(), steady.end()), 150, 3);
    EXPECT_NEAR(*std::max_element(steady.begin(), steady.end()), 150, 3);
    // With both tones inside the filter the envelope beats at 50 kHz: sampled every 10 us it
    // shows their sum (+6 dB) and their cancellation in turn.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"RBW3M", "SWEEP10M"}));
    auto beat = s.screen(true).points;
    EXPECT_NEAR(*std::max_element(beat.begin(), beat.end()), 165, 4);
    EXPECT_LT(*std::min_element(beat.begin(), beat.end()), 100);
    // Away from the tones only noise is left.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"RBW3K", "FREQ1100000000.0000"}));
    EXPECT_LT(simtest::median(s.screen(true).points), 60);
}

TEST(SimTrace, TheSeedMakesTracesRepeatable) {
    auto trace = [](const char* seed) {
        SimSession s({"--no-pace", "--seed", seed});
        EXPECT_TRUE(s.ready());
        s.ask("SPAN100M");
        return s.screen(true).points;
    };
    EXPECT_EQ(trace("7"), trace("7"));
    EXPECT_NE(trace("7"), trace("8"));
}

TEST_F(SimNoise, MaxAndMinHoldAccumulateUpToTheirCountAndAverageSmooths) {
    ASSERT_NO_FATAL_FAILURE(s.setAll({"SWEEP10M", "CALCMAX", "MAXNO4"}));
    std::vector<std::vector<uint8_t>> traces;
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(s.capture());
        traces.push_back(s.screen(true).points);
    }
    for (int i = 1; i < 6; ++i)
        for (int x = 0; x < 1001; ++x)
            ASSERT_GE(traces[i][x], traces[i - 1][x]) << i << " " << x;
    EXPECT_GT(simtest::mean(traces[3]), simtest::mean(traces[0]) + 2);
    EXPECT_EQ(traces[3], traces[5]); // four sweeps held, then the hold is complete

    ASSERT_NO_FATAL_FAILURE(s.setAll({"CALCMIN", "MINNO0"}));
    std::vector<uint8_t> previous;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(s.capture());
        auto now = s.screen(true).points;
        for (size_t x = 0; x < previous.size(); ++x)
            ASSERT_LE(now[x], previous[x]);
        previous = now;
    }
    // Averaging smooths the noise.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"CALCOFF", "VBWOFF"}));
    auto spread = [](const std::vector<uint8_t>& p) {
        double m = simtest::mean(p), sum = 0;
        for (uint8_t v : p)
            sum += (v - m) * (v - m);
        return std::sqrt(sum / p.size());
    };
    ASSERT_TRUE(s.capture());
    const double single = spread(s.screen(true).points);
    ASSERT_NO_FATAL_FAILURE(s.setAll({"CALCAVE", "AVENO16"}));
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(s.capture());
    EXPECT_LT(spread(s.screen(true).points), single / 2);
    // Overwrite shows the last sweep again.
    ASSERT_EQ(s.ask("CALCOVR"), "OK");
    ASSERT_TRUE(s.capture());
    EXPECT_GT(spread(s.screen(true).points), single * 0.7);
}

TEST_F(SimNoise, RunningSweepsContinuously) {
    ASSERT_NO_FATAL_FAILURE(s.setAll({"SWEEP10M", "CALCMAX"}));
    auto first = s.screen(true).points;
    ASSERT_EQ(s.ask("RUN"), "OK");
    // Sweeps pile up in max hold while running; wait until they show.
    EXPECT_TRUE(orvel::test::SimProcess::waitFor(
        [&] { return simtest::mean(s.screen(true).points) > simtest::mean(first) + 2; }));
    ASSERT_EQ(s.ask("HOLD"), "OK");
    auto held = s.screen(true).points;
    EXPECT_EQ(s.screen(true).points, held);
}

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
          "MFUSER1M:1,2M:1,3M:1,4M:1,5M:1,6M:1,7M:1,8M:1,9M:1,10M:1,11M:1", "MFUSER10M:1000"})
        EXPECT_EQ(s.ask(bad), "ERR") << bad;
    // The user antenna uses the table: 10 dB more gain, 10 dB less field strength.
    ASSERT_NO_FATAL_FAILURE(s.setAll({"MEASEF", "EFANTUSER", "EFUSER900M:0,1.1G:0"}));
    const double flat = std::stod(s.ask("MEASRES").substr(4));
    ASSERT_EQ(s.ask("EFUSER900M:10,1.1G:10"), "OK");
    EXPECT_NEAR(std::stod(s.ask("MEASRES").substr(4)), flat - 10, 0.5);
}

} // namespace
