// Recall replies: the text after "PARAM", as the reads leave it in the receive buffer (zero bytes
// already turned into '?').
#include "fuzz_support.h"
#include "memory_operations.h"

void FuzzInput(const uint8_t* data, std::size_t size) {
    const std::size_t length = size < kRxBufferSize - 1 ? size : kRxBufferSize - 1;
    for (std::size_t i = 0; i < length; ++i)
        gLink.rxBuffer[i] = data[i] == 0 ? '?' : static_cast<char>(data[i]);
    gLink.rxLength = static_cast<int>(length);
    const TraceRecord before = gSettings.traceRecord;
    if (memory::ParseRecallReply() == memory::RecallResult::Truncated) {
        FuzzRequire(std::memcmp(&before, &gSettings.traceRecord, sizeof before) == 0 &&
                        !FuzzRecordChanged(),
                    "a short reply stored something");
        return;
    }
    FuzzCheckAndExercise(true);
}
