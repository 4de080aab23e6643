// Query replies: the first byte picks the query (200..238) and the model, the rest is the reply.
#include "fuzz_support.h"
#include "query_decoding.h"

void FuzzInput(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return;
    gSettings.modelIndex = data[0] & 0x80 ? 1 : 0;
    const int code = 200 + (data[0] & 0x7F) % 39;
    const std::string reply = FuzzText(data + 1, size - 1, kRxBufferSize - 1);
    DecodeQueryReply(code, reply.c_str());
    FuzzCheckAndExercise();
}
