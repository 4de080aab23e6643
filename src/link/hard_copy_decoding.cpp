#include "hard_copy_decoding.h"

#include <cstring>

namespace hardcopy {

namespace {

constexpr char kMarker[] = "l0370";

// Calls take(bandIndex, bandData, bytesPresent) for each band record found, in order.
template <typename Take> int ScanBands(const char* data, int length, Take take) {
    int bands = 0;
    int in = 0;
    while (bands < kBands && in + kMarkerLength <= length) {
        if (std::memcmp(data + in, kMarker, kMarkerLength) != 0) {
            ++in;
            continue;
        }
        const int start = in + kMarkerLength;
        const int present = length - start < kBandBytes ? length - start : kBandBytes;
        take(bands, data + start, present);
        ++bands;
        in = start + kBandBytes;
    }
    return bands;
}

} // namespace

int DecodeHardCopy(const char* data, int length, uint8_t* pixels) {
    // The band store holds each band's 370 two-byte columns; what has not arrived stays zero.
    static thread_local uint8_t bands[kBands * kBandBytes];
    std::memset(bands, 0, sizeof bands);
    const int found =
        ScanBands(data, length < 0 ? 0 : length, [](int band, const char* bytes, int present) {
            std::memcpy(bands + band * kBandBytes, bytes, present);
        });
    // Transpose and thin: each kept print column becomes one picture row, band 0 leftmost, in
    // increasing column order from the bottom row up.
    uint8_t* row = pixels;
    for (int column = 0; column < kPrintColumns; ++column) {
        if (IsFillerColumn(column)) {
            continue;
        }
        for (int band = 0; band < kBands; ++band) {
            row[2 * band] = bands[band * kBandBytes + 2 * column];
            row[2 * band + 1] = bands[band * kBandBytes + 2 * column + 1];
        }
        row += kRowBytes;
    }
    return found;
}

bool HardCopyComplete(const char* data, int length) {
    int whole = 0;
    ScanBands(data, length < 0 ? 0 : length,
              [&whole](int, const char*, int present) { whole += present == kBandBytes ? 1 : 0; });
    return whole == kBands;
}

} // namespace hardcopy
