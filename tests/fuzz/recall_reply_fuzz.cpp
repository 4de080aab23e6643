// Recall replies: the text after "PARAM" has come, as the reads leave it in the receive buffer
// (zero bytes already turned into '?'). A short reply stores nothing; a taken one leaves every
// field of the record in its range.
#include "fuzz_support.h"
#include "memory_operations.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzResetRecord();
    const std::size_t length = size < kRxBufferSize - 1 ? size : kRxBufferSize - 1;
    for (std::size_t i = 0; i < length; ++i)
        gLink.rxBuffer[i] = data[i] == 0 ? '?' : static_cast<char>(data[i]);
    gLink.rxBuffer[length] = '\0';
    gLink.rxLength = static_cast<int>(length);
    FuzzSnapshot();
    const TraceRecord before = gSettings.traceRecord;
    if (memory::ParseRecallReply() == memory::RecallResult::Truncated) {
        FuzzRequire(std::memcmp(&before, &gSettings.traceRecord, sizeof before) == 0 &&
                        !FuzzRecordChanged(),
                    "a short reply stored something");
        return 0;
    }
    FuzzCheckAndExercise(true);
    return 0;
}
