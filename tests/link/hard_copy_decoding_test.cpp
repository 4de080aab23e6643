// Band decoding of damaged hard-copy streams (clean and noisy ones are decoded in tests/sim).

#include "analyzer_state.h"
#include "hard_copy.h"
#include "hard_copy_decoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pixels = std::vector<uint8_t>;

// Decoded rows run bottom-up; picture rows top-down.
bool Black(const Pixels& pixels, int x, int y) {
    const uint8_t byte = pixels[(hardcopy::kHeight - 1 - y) * hardcopy::kRowBytes + x / 8];
    return (byte & (0x80 >> (x % 8))) != 0;
}

// The pixels and the number of bands found.
std::pair<Pixels, int> Decode(const std::string& stream) {
    Pixels pixels(hardcopy::kPixelBytes, 0xAA); // decoding writes every byte
    const int bands =
        hardcopy::DecodeHardCopy(stream.data(), static_cast<int>(stream.size()), pixels.data());
    return {pixels, bands};
}

// The analyzer's own screen: graticule, trace and text reach every band. A capital marker starts no
// band; a band cut short shows its missing part white.
TEST(HardCopyDecoding, CapitalMarkerStartsNoBandAndAPartialBandShowsItsMissingPartWhite) {
    const sim::Picture picture =
        sim::renderScreen(sim::presetState(0), std::vector<uint8_t>(251, 120));
    const std::string clean = sim::encodeHardCopy(picture);
    const auto [decoded, bands] = Decode(sim::shapeHardCopy(clean, "", 0, 0));
    EXPECT_EQ(bands, 21);
    // Band 1 is now the first band found: it lands leftmost, and the last 16 columns stay white.
    for (int y = 0; y < hardcopy::kHeight; ++y) {
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(Black(decoded, x, y), picture.at(x + 16, y)) << x << "," << y;
            ASSERT_FALSE(Black(decoded, hardcopy::kWidth - 16 + x, y));
        }
    }
    // Band 3 cut after 100 of its 370 print columns.
    const int cut = 3 * hardcopy::kRecordBytes + hardcopy::kMarkerLength + 200;
    const Pixels partial = Decode(clean.substr(0, cut)).first;
    EXPECT_FALSE(hardcopy::HardCopyComplete(clean.data(), cut));
    for (int y = 0; y < hardcopy::kHeight; ++y) {
        for (int x = 0; x < hardcopy::kWidth; ++x) {
            // Bands 0-2 whole; print column c < 100 of band 3 carries a row near the bottom; the
            // rest is still white.
            const bool arrived = x < 48 || (x < 64 && y >= hardcopy::kHeight - 68);
            ASSERT_EQ(Black(partial, x, y), arrived && picture.at(x, y)) << x << "," << y;
        }
    }
}

} // namespace
