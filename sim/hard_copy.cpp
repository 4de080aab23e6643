#include "hard_copy.h"

#include "keyword_tables.h"
#include "measurement_result.h"
#include "value_text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace sim {

namespace {

struct Glyph {
    char c;
    uint8_t rows[7]; // bit 4 = leftmost dot
};

// A small 5 x 7 font: digits, capitals and the signs the annotations use.
constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
    {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
    {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
};

// The graticule: 10 x 8 divisions.
constexpr int kPlotLeft = 40;
constexpr int kPlotTop = 20;
constexpr int kPlotWidth = 300;
constexpr int kPlotHeight = 200;

void line(Picture& p, int x0, int y0, int x1, int y1) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int e = dx + dy;
    for (;;) {
        p.set(x0, y0);
        if (x0 == x1 && y0 == y1)
            break;
        int e2 = 2 * e;
        if (e2 >= dy) {
            e += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            e += dx;
            y0 += sy;
        }
    }
}

} // namespace

int drawText(Picture& picture, int x, int y, const std::string& text) {
    int start = x;
    for (char raw : text) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
        for (const Glyph& g : kFont) {
            if (g.c != c)
                continue;
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g.rows[row] & (0x10 >> col))
                        picture.set(x + col, y + row);
        }
        x += 6;
    }
    return x - start;
}

Picture renderScreen(const AnalyzerState& state, const std::vector<uint8_t>& points) {
    Picture p;
    // Frame, and a dotted line for every division.
    for (int i = 0; i <= 10; ++i) {
        int x = kPlotLeft + i * kPlotWidth / 10;
        for (int y = kPlotTop; y <= kPlotTop + kPlotHeight; ++y)
            if (i == 0 || i == 10 || y % 4 == 0)
                p.set(x, y);
    }
    for (int j = 0; j <= 8; ++j) {
        int y = kPlotTop + j * kPlotHeight / 8;
        for (int x = kPlotLeft; x <= kPlotLeft + kPlotWidth; ++x)
            if (j == 0 || j == 8 || x % 4 == 0)
                p.set(x, y);
    }
    // The trace: byte 200 on the top line, byte 0 on the bottom line.
    const int n = static_cast<int>(points.size());
    int prevX = 0, prevY = 0;
    for (int j = 0; j < n; ++j) {
        int x = kPlotLeft + (n > 1 ? j * kPlotWidth / (n - 1) : 0);
        int y = kPlotTop + kPlotHeight - std::min<int>(points[j], 200);
        if (j > 0)
            line(p, prevX, prevY, x, y);
        prevX = x;
        prevY = y;
    }
    // Annotations.
    static const int kUnitConstant[] = {0, 107, 47, -13};
    static const char* const kUnitWord[] = {"DBM", "DBUV", "DBMV", "DBV"};
    int unit = state.unitIndex >= 0 && state.unitIndex <= 3 ? state.unitIndex : 0;
    drawText(p, 2, 4, keywords::kModelName[state.modelIndex]);
    drawText(p, 60, 4, format("REF %d%s", state.refLevel + kUnitConstant[unit], kUnitWord[unit]));
    drawText(p, 180, 4, format("%sDB/", keywords::kScale[state.scaleIndex]));
    drawText(p, 240, 4, format("RBW %s", keywords::kRbw[state.rbwIndex]));
    drawText(p, 2, 228, "CF " + frequencyText(state.centerFreq));
    drawText(p, 150, 228,
             format("SPAN %s", keywords::spanTable(state.modelIndex)[state.spanIndex]));
    drawText(p, 240, 228, format("SWP %s", keywords::kSweep[state.sweepIndex]));
    drawText(p, 2, 240, format("VBW %s", keywords::kVbw[state.vbwIndex]));
    drawText(p, 90, 240, format("DET %s", keywords::kDetector[effectiveDetector(state)]));
    return p;
}

int printColumnOfRow(int y) {
    // Kept columns in increasing order fill the picture from the bottom row up.
    int keptRow = kPictureHeight - 1 - y;
    int kept = -1;
    for (int c = 0; c < kPrintColumns; ++c) {
        bool filler = c % 3 == 0 && c > 5 && c < 365;
        if (!filler && ++kept == keptRow)
            return c;
    }
    return -1;
}

std::string encodeHardCopy(const Picture& picture) {
    // Picture row of every print column; a filler repeats the row of the next kept column.
    int rowOfColumn[kPrintColumns];
    for (int c = 0; c < kPrintColumns; ++c)
        rowOfColumn[c] = -1;
    for (int y = 0; y < kPictureHeight; ++y)
        rowOfColumn[printColumnOfRow(y)] = y;
    for (int c = kPrintColumns - 2; c >= 0; --c)
        if (rowOfColumn[c] < 0)
            rowOfColumn[c] = rowOfColumn[c + 1];

    std::string out;
    out.reserve(kBands * (5 + 2 * kPrintColumns));
    for (int band = 0; band < kBands; ++band) {
        out += "l0370";
        for (int c = 0; c < kPrintColumns; ++c) {
            int y = rowOfColumn[c];
            unsigned dots = 0;
            for (int i = 0; i < 16; ++i)
                if (picture.at(band * 16 + i, y))
                    dots |= 0x8000u >> i;
            out += static_cast<char>(dots >> 8);
            out += static_cast<char>(dots & 0xFF);
        }
    }
    return out;
}

std::string shapeHardCopy(const std::string& records, const std::string& noise, int capitalBand,
                          long tail) {
    constexpr size_t kRecord = 5 + 2 * kPrintColumns;
    std::string out;
    for (size_t at = 0; at < records.size(); at += kRecord) {
        out += noise;
        std::string record = records.substr(at, kRecord);
        if (static_cast<long>(at / kRecord) == capitalBand)
            record[0] = 'L';
        out += record;
    }
    out += noise;
    for (long i = 0; i < tail; ++i)
        out += static_cast<char>("xl037\x80\xff"[i % 7]);
    return out;
}

std::string pictureAsPbm(const Picture& picture) {
    std::string out =
        "P4\n" + std::to_string(kPictureWidth) + " " + std::to_string(kPictureHeight) + "\n";
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; x += 8) {
            unsigned byte = 0;
            for (int i = 0; i < 8; ++i)
                if (picture.at(x + i, y))
                    byte |= 0x80u >> i;
            out += static_cast<char>(byte);
        }
    return out;
}

std::string hardCopyStream(const AnalyzerState& state, const std::vector<uint8_t>& points) {
    return encodeHardCopy(renderScreen(state, points));
}

} // namespace sim
