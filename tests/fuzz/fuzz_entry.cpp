// Every target's entry point: each input starts from the record the program starts with.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzResetRecord();
    FuzzSnapshot();
    FuzzInput(data, size);
    return 0;
}
