#pragma once
// The analyzer's own screen as a hard copy: a 352 x 250 one-bit picture (graticule, trace, a few
// annotations) and its transfer form, 22 band records of "l0370" and 740 bytes.

#include "analyzer_state.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

inline constexpr int kPictureWidth = 352;
inline constexpr int kPictureHeight = 250;
inline constexpr int kBands = 22;
inline constexpr int kPrintColumns = 370;

// Pixel (x, y) with y = 0 the top row; true = black.
struct Picture {
    std::array<uint8_t, kPictureWidth * kPictureHeight> pixels{};
    bool at(int x, int y) const { return pixels[y * kPictureWidth + x] != 0; }
    void set(int x, int y) {
        if (x >= 0 && x < kPictureWidth && y >= 0 && y < kPictureHeight)
            pixels[y * kPictureWidth + x] = 1;
    }
};

// The screen the analyzer shows for a state and its 251 level bytes.
Picture renderScreen(const AnalyzerState& state, const std::vector<uint8_t>& points);

// The print column that carries picture row y, counted from the top (the columns 6, 9, ..., 363
// are fillers that a receiver drops).
int printColumnOfRow(int y);

// The band records of a picture.
std::string encodeHardCopy(const Picture& picture);

// The reply as the --prt-* options shape it: `noise` before every record and after the last
// (empty: none), band `capitalBand` marked "L0370" (-1: none), `tail` garbage bytes at the end.
std::string shapeHardCopy(const std::string& records, const std::string& noise, int capitalBand,
                          long tail);

// The picture as a binary PBM file (P4: rows top down, most significant bit leftmost, 1 black).
std::string pictureAsPbm(const Picture& picture);

// Both together: the reply to "PRT".
std::string hardCopyStream(const AnalyzerState& state, const std::vector<uint8_t>& points);

// Draws text in the built-in 5 x 7 font (letters are drawn upper case); returns the width used.
int drawText(Picture& picture, int x, int y, const std::string& text);

} // namespace sim
