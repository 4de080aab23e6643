// Hard copy and memories over a real pseudo-terminal.

#include "hard_copy.h"
#include "hard_copy_decoding.h"
#include "sim_session.h"

#include "analyzer_state.h"

#include <gtest/gtest.h>
#include <tuple>

using simtest::SimSession;

namespace {

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
    int black = 0, mismatches = 0;
    for (int y = 0; y < 250; ++y)
        for (int x = 0; x < 352; ++x) {
            black += picture.black(x, y);
            mismatches += picture.black(x, y) != expected.at(x, y);
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(black, 2000); // graticule, trace and text are there
    // The signal 20 dB below the reference: byte 150, 150 pixels above the graticule's bottom.
    EXPECT_TRUE(picture.black(40 + 150, 20 + 200 - 150) ||
                picture.black(40 + 150, 20 + 200 - 151) || picture.black(40 + 150, 20 + 200 - 149));

    // The same picture with garbage before and between the records.
    std::string noisy = "\r\nXYZl037";
    for (int b = 0; b < 22; ++b)
        noisy += stream.substr(b * 745, 745) + "\x00l0\xff";
    EXPECT_EQ(HardCopyPicture(noisy).pixels, picture.pixels);
}

TEST(SimMemory, StoredRecordsDifferAndClearingEmptiesThem) {
    SimSession s({"--no-pace", "--memories", "3"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    const auto memory = [&s](const char* command) {
        return simtest::decodeRecord(s.recordText(command, 251), 252);
    };
    const std::vector<uint8_t> none(251, 0);
    std::vector<std::vector<uint8_t>> traces;
    // The memory number in each record ("PARAM") is judged by MemorySim's recall.
    for (int n = 0; n < 3; ++n) {
        simtest::DecodedRecord r = memory(("SRS0" + std::to_string(n)).c_str());
        ASSERT_EQ(std::tuple(r.complete, r.points.size()), std::tuple(true, 251u));
        EXPECT_GT(simtest::mean(r.points), 10);
        traces.push_back(r.points);
    }
    EXPECT_NE(traces[0], traces[1]);
    EXPECT_NE(traces[1], traces[2]);
    EXPECT_EQ(memory("SRS99").points, none);
    // Memory n is cleared by number n + 1; clearing the settings keeps the trace.
    ASSERT_EQ(s.ask("MCLRW1"), "OK");
    EXPECT_EQ(memory("SRS00").points, none);
    ASSERT_EQ(s.ask("MCLRS2"), "OK");
    simtest::DecodedRecord paramsCleared = memory("SRS01");
    EXPECT_EQ(std::tuple(paramsCleared.span, paramsCleared.points), std::tuple("20M", traces[1]));
    ASSERT_NO_FATAL_FAILURE(s.setAll({"MCLRWALL", "MCLRSALL"}));
    EXPECT_EQ(memory("SRS02").points, none);
}

} // namespace
