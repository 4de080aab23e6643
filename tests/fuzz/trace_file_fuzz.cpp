// Trace file records: the first byte picks the model, the rest is the file's bytes.
#include "fuzz_support.h"
#include "keyword_tables.h"
#include "trace_file.h"
#include "trace_kinds.h"

void FuzzInput(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return;
    const int modelIndex = data[0] & 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
    TraceRecord record;
    std::memset(&record, 0xA5, sizeof record);
    const TraceRecord before = record;
    if (!tracefile::AcceptRecordBytes(bytes, modelIndex, &record)) {
        FuzzRequire(std::memcmp(&record, &before, sizeof record) == 0,
                    "a rejected record changed the target");
        return;
    }
    FuzzRequire(bytes.size() == tracefile::kRecordSize, "a record of another size was taken");
    FuzzRequire(record.modelCode >= 2, "the older layout was kept");
    FuzzRequire(tracekind::isKnownKind(record.recordKind), "kind");
    FuzzCheckTraceIndexes(record, keywords::spanCount(modelIndex));
    // What a bulk save does with it: the export of its 251 points.
    const tracefile::ExportAxis axis = tracefile::MemoryAxis(record, modelIndex);
    FuzzRequire(!tracefile::ExportText(record.tracePoints, axis).isEmpty(), "empty export");
    // Loaded as the program loads it: in place of the last trace, its kind in the active slot.
    gSettings.modelIndex = modelIndex;
    gSettings.traceRecord = record;
    gSettings.traceKind[gSettings.activeTraceSlot] = record.recordKind;
    FuzzExerciseRecord();
    FuzzCheckRecord();
    // Written again, it reads back as the same record.
    TraceRecord again{};
    FuzzRequire(tracefile::DecodeRecord(tracefile::EncodeRecord(record), &again) &&
                    std::memcmp(&again, &record, sizeof record) == 0,
                "the record does not survive a write");
}
