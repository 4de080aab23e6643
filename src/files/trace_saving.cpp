#include "trace_operations.h"

// The saves themselves, without dialogs: shared by the window and the command-line tool.

#include "instrument_settings.h"
#include "memory_operations.h"
#include "trace_file.h"

#include <QFileInfo>

#include <algorithm>

namespace traceops {

namespace {

bool AllZero(const uint8_t* points, int count) {
    return std::all_of(points, points + count, [](uint8_t b) { return b == 0; });
}

} // namespace

QString WithDefaultSuffix(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() && !path.isEmpty() ? path + QStringLiteral(".dat")
                                                                 : path;
}

SaveResult SaveTraceTo(const QString& chosen) {
    const QString path = WithDefaultSuffix(chosen);
    const tracefile::FileType type = tracefile::TypeOfName(path, Qt::CaseSensitive);
    if (type == tracefile::FileType::Other) {
        return SaveResult::BadName;
    }
    InstrumentSettings& s = gSettings;
    tracefile::FillRecordFromSettings(s.traceRecord, s);
    const QByteArray bytes = type == tracefile::FileType::Dat
                                 ? tracefile::EncodeRecord(s.traceRecord)
                                 : tracefile::ExportText(s.traceRecord.tracePoints,
                                                         tracefile::SaveAxis(s.traceRecord, s));
    return tracefile::WriteWhole(path, bytes) ? SaveResult::Saved : SaveResult::WriteFailed;
}

BulkResult SaveMemoryRange(int start, int end, const QString& path,
                           const std::function<void(int n, const QString& name)>& progress) {
    BulkResult result;
    const tracefile::FileType type = tracefile::TypeOfName(path, Qt::CaseInsensitive);
    if (type == tracefile::FileType::Other) {
        result.end = BulkResult::End::BadName;
        return result;
    }
    InstrumentSettings& s = gSettings;
    for (int n = start; n <= end; ++n) {
        const QString name = tracefile::MemoryFileName(path, n);
        if (progress) {
            progress(n, name);
        }
        tracefile::SetRecordModel(s.traceRecord, s.modelIndex);
        if (memory::RecallMemory(n, memory::ReadForm::Bulk) != memory::RecallResult::Recalled) {
            result.end = BulkResult::End::NoAnswer;
            return result;
        }
        TraceRecord& r = s.traceRecord;
        if (AllZero(r.tracePoints, 251)) {
            ++result.skipped;
            continue;
        }
        const QByteArray bytes =
            type == tracefile::FileType::Dat
                ? tracefile::EncodeRecord(r)
                : tracefile::ExportText(r.tracePoints, tracefile::MemoryAxis(r, s.modelIndex));
        if (!tracefile::WriteWhole(name, bytes)) {
            result.end = BulkResult::End::WriteFailed;
            return result;
        }
        ++result.written;
    }
    return result;
}

} // namespace traceops
