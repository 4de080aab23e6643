// The hard copy decoder on a heap copy of exactly the reply's size: a read past it is caught.
#include "fuzz_support.h"
#include "hard_copy_decoding.h"

#include <memory>
#include <vector>

void FuzzInput(const uint8_t* data, std::size_t size) {
    const int length = size > 1 << 20 ? 1 << 20 : static_cast<int>(size);
    const std::unique_ptr<char[]> reply(new char[length > 0 ? length : 1]);
    if (length > 0)
        std::memcpy(reply.get(), data, length);
    std::vector<uint8_t> pixels(hardcopy::kPixelBytes);
    std::vector<uint8_t> again(hardcopy::kPixelBytes, 0x5A);
    const int bands = hardcopy::DecodeHardCopy(reply.get(), length, pixels.data());
    FuzzRequire(bands >= 0 && bands <= hardcopy::kBands, "band count");
    FuzzRequire(!hardcopy::HardCopyComplete(reply.get(), length) || bands == hardcopy::kBands,
                "complete with fewer bands");
    FuzzRequire(length >= bands * hardcopy::kMarkerLength, "more bands than markers");
    // Nothing of one reply stays behind for the next: decoding again gives the same picture.
    FuzzRequire(hardcopy::DecodeHardCopy(reply.get(), length, again.data()) == bands &&
                    pixels == again,
                "a second decode differs");
    // A cut reply never has more bands than the whole one.
    FuzzRequire(hardcopy::DecodeHardCopy(reply.get(), length / 2, again.data()) <= bands,
                "a prefix has more bands");
}
