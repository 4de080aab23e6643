#pragma once
// The File menu's trace operations: Save (Ctrl+S), the three Load PC and three Load RVX entries,
// RVX Data Save (the memories into numbered files) and RVX Data Delete (Ctrl+D). The dialogs and
// message boxes are here; the record and export formats are in trace_file.h, the wire protocol of
// the memories in memory_operations.h.

#include <QString>

#include <functional>

class QWidget;

namespace traceops {

// What the operations need from the window.
class Host {
public:
    virtual ~Host() = default;
    virtual QWidget* DialogParent() = 0;
    // Shows the compact-layout refusal and returns true while the window is too small.
    virtual bool RefuseInCompactMode() = 0;
    // Stops the live loop: runState 0, the Hold button unchecked and captioned "Hold".
    virtual void SetHeld() = 0;
    // mode 0 whole, 1 trace only, 2 settings only.
    virtual void ApplyTraceRecord(int mode, bool fromAnalyzer) = 0;
};

enum class SaveResult { Saved, BadName, WriteFailed };
// Save after the file dialog: the record's settings from the settings record, then the 1104-byte
// record for a name ending in "dat" or the export for "csv". A name without an extension gets
// ".dat". Nothing is written for any other name.
SaveResult SaveTraceTo(const QString& path);
// The name Save uses for a chosen name: ".dat" added when it has no extension.
QString WithDefaultSuffix(const QString& path);

struct BulkResult {
    enum class End { Completed, BadName, NoAnswer, WriteFailed } end = End::Completed;
    int written = 0;
    int skipped = 0; // empty memories
};
// The bulk save's loop after its dialogs: recalls start..end and writes "%s%02d%s" files (the
// record unchanged for "dat", the export from the record's own settings for "csv"), skipping empty
// memories. `progress` is called with each number and its file name before the recall. Stops at
// the first recall without an answer or failed write. The caller pauses acquisition around it.
BulkResult SaveMemoryRange(int start, int end, const QString& path,
                           const std::function<void(int n, const QString& name)>& progress = {});

// The menu commands.
void SaveTraceFile(Host& host);
void LoadTrace(Host& host, int commandId);
void SaveMemoriesToFiles(Host& host);
void DeleteMemories(Host& host);

} // namespace traceops
