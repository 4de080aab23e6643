// Trace file records: the first byte picks the model whose span row the record is checked
// against; the rest is the file's bytes. A rejected record leaves the target record as it was; an
// accepted one has every index inside its table and exports without fault.
#include "fuzz_support.h"
#include "keyword_tables.h"
#include "trace_file.h"
#include "trace_kinds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int modelIndex = data[0] & 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
    TraceRecord record;
    std::memset(&record, 0xA5, sizeof record);
    const TraceRecord before = record;
    if (!tracefile::AcceptRecordBytes(bytes, modelIndex, &record)) {
        FuzzRequire(std::memcmp(&record, &before, sizeof record) == 0,
                    "a rejected record changed the target");
        return 0;
    }
    FuzzRequire(bytes.size() == tracefile::kRecordSize, "a record of another size was taken");
    FuzzRequire(record.modelCode >= 2, "the older layout was kept");
    FuzzRequire(tracekind::isKnownKind(record.recordKind), "kind");
    FuzzCheckTraceIndexes(record, keywords::spanCount(modelIndex));
    // What a bulk save does with it: the export of its 251 points.
    const tracefile::ExportAxis axis = tracefile::MemoryAxis(record, modelIndex);
    const QByteArray text = tracefile::ExportText(record.tracePoints, axis);
    FuzzRequire(!text.isEmpty(), "empty export");
    // Loaded as the program loads it: the record in place of the last trace, its kind in the
    // active slot, and every computation that reads the record's reference.
    FuzzResetRecord();
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
    return 0;
}
