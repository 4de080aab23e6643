#pragma once
// The analyzer's hard copy: the "PRT" reply is a stream of band records ("l0370" and 740 bytes,
// 370 print columns of 16 dots); decoded, it is a 352 x 250 one-bit picture.

#include <cstdint>

namespace hardcopy {

inline constexpr int kWidth = 352;
inline constexpr int kHeight = 250;
inline constexpr int kRowBytes = 44; // 352 dots, one bit each
inline constexpr int kPixelBytes = kRowBytes * kHeight;
inline constexpr int kBands = 22;
inline constexpr int kPrintColumns = 370;
inline constexpr int kBandBytes = 2 * kPrintColumns;
inline constexpr int kMarkerLength = 5;
inline constexpr int kRecordBytes = kMarkerLength + kBandBytes;
inline constexpr int kPictureBytes = kBands * kRecordBytes; // a clean reply: 16390 bytes

// True for the print columns that repeat a neighbour and are dropped (6, 9, ..., 363).
constexpr bool IsFillerColumn(int column) {
    return column % 3 == 0 && column > 5 && column < 365;
}

// Decodes the first `length` bytes of a reply into `pixels` (kPixelBytes: 250 rows of 44 bytes,
// row 0 at the bottom, most significant bit leftmost, bit 1 black). Only the exact marker
// "l0370" starts a band; other bytes between records are skipped. A band whose data has not all
// arrived keeps its missing part white, as do missing bands. Never reads past `length`.
// Returns the number of band records begun (0..22).
int DecodeHardCopy(const char* data, int length, uint8_t* pixels);

// True when the first `length` bytes hold 22 complete band records.
bool HardCopyComplete(const char* data, int length);

} // namespace hardcopy
