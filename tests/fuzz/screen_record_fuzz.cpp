// Screen records: the first byte picks the point count, the model and the active slot.
#include "fuzz_support.h"
#include "screen_record.h"

void FuzzInput(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return;
    const int points = data[0] & 1 ? 1000 : 250;
    gSettings.modelIndex = data[0] & 2 ? 1 : 0;
    gSettings.activeTraceSlot = (data[0] >> 2) % kTraceSlots;
    const std::string text = FuzzText(data + 1, size - 1, kRxBufferSize - 1);
    std::memcpy(gLink.rxBuffer, text.c_str(), text.size() + 1);
    ParseScreenRecord(points);
    // The parse twice over: the second compares with the first one's points.
    ParseScreenRecord(points);
    FuzzCheckAndExercise(true);
}
