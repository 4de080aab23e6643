#include "trace_operations.h"

#include "acquisition.h"
#include "instrument_settings.h"
#include "memory_operations.h"
#include "message_dialog.h"
#include "number_select_dialog.h"
#include "trace_file.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

#include <algorithm>

namespace traceops {

namespace {

constexpr int kLoadRvx = 32811;
constexpr int kLoadRvxParamOnly = 32813;
constexpr int kLoadPc = 32814;
constexpr int kLoadPcParamOnly = 32816;

void Warn(QWidget* parent, const char* caption, const char* text) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(caption), QString::fromLatin1(text),
                    QMessageBox::Ok, parent);
    box.exec();
}

void SaveWentWrong(QWidget* parent) {
    Warn(parent, "Write error", "Save went wrong.");
}

QString ChooseSaveFile(QWidget* parent, bool confirmOverwrite) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("*.dat"), QStringLiteral("*.csv")});
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    if (!confirmOverwrite) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return WithDefaultSuffix(dialog.selectedFiles().constFirst());
}

QString ChooseOpenFile(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("*.dat"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

// Opens the number-select dialog in a form; false on Cancel.
bool SelectNumbers(QWidget* parent, int form) {
    gSettings.memorySelectKind = form;
    CNumberSelectDlg dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

// The remembered range as it was before a load or delete dialog.
struct RangeKeeper {
    int start = gSettings.memoryRangeStart;
    int end = gSettings.memoryRangeEnd;
    ~RangeKeeper() {
        gSettings.memoryRangeStart = start;
        gSettings.memoryRangeEnd = end;
    }
};

struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};

// The progress form of the message window, modeless over the main window.
struct Progress {
    explicit Progress(QWidget* parent) : dialog(parent) {
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
    }
    ~Progress() { dialog.close(); }
    CMessageDlg dialog;
};

} // namespace

void SaveTraceFile(Host& host) {
    QWidget* parent = host.DialogParent();
    const QString path = ChooseSaveFile(parent, true);
    if (path.isEmpty()) {
        return;
    }
    if (SaveTraceTo(path) != SaveResult::Saved) {
        SaveWentWrong(parent);
    }
}

void LoadTrace(Host& host, int commandId) {
    const bool fromAnalyzer = commandId >= kLoadRvx && commandId <= kLoadRvxParamOnly;
    if (!fromAnalyzer && (commandId < kLoadPc || commandId > kLoadPcParamOnly)) {
        return;
    }
    if (host.RefuseInCompactMode()) {
        return;
    }
    QWidget* parent = host.DialogParent();
    const int mode = commandId - (fromAnalyzer ? kLoadRvx : kLoadPc);
    // Quiet a capture in flight before the loop is held; the program stays held afterwards.
    PauseAcquisition();
    host.SetHeld();
    struct ResumeAtEnd {
        ~ResumeAtEnd() { ResumeAcquisition(); }
    } resume;
    if (fromAnalyzer) {
        {
            RangeKeeper keep;
            if (!SelectNumbers(parent, CNumberSelectDlg::kFormLoad)) {
                return;
            }
            const int n = gSettings.memoryRangeStart;
            BusyCursor busy;
            if (memory::RecallMemory(n, memory::ReadForm::Recall) !=
                memory::RecallResult::Recalled) {
                memory::ShowRecallError();
                return;
            }
        }
        host.ApplyTraceRecord(mode, true);
        return;
    }
    const QString path = ChooseOpenFile(parent);
    if (path.isEmpty()) {
        return;
    }
    TraceRecord loaded = gSettings.traceRecord;
    switch (tracefile::LoadRecordFile(path, gSettings.modelIndex, &loaded)) {
    case tracefile::LoadResult::NotADatName:
        Warn(parent, "Read error", "This file can not be opened.");
        return;
    case tracefile::LoadResult::ReadFailed:
        Warn(parent, "Read error", "Load went wrong.");
        return;
    case tracefile::LoadResult::Loaded:
        break;
    }
    gSettings.traceRecord = loaded;
    host.ApplyTraceRecord(mode, false);
}

void SaveMemoriesToFiles(Host& host) {
    InstrumentSettings& s = gSettings;
    QWidget* parent = host.DialogParent();
    const int runState = s.runState;
    // Quiet the loop while it still runs; the run state comes back on every way out.
    PauseAcquisition();
    s.runState = 0;
    struct RunStateKeeper {
        int value;
        ~RunStateKeeper() {
            gSettings.runState = value;
            ResumeAcquisition();
        }
    } keeper{runState};
    if (!SelectNumbers(parent, CNumberSelectDlg::kFormSave)) {
        return;
    }
    const QString path = ChooseSaveFile(parent, false);
    if (path.isEmpty()) {
        return;
    }
    if (tracefile::TypeOfName(path, Qt::CaseInsensitive) == tracefile::FileType::Other) {
        SaveWentWrong(parent);
        return;
    }
    const int start = s.memoryRangeStart;
    const int end = s.memoryRangeEnd;
    BulkResult result;
    {
        s.memorySelectKind = 1;
        Progress progress(parent);
        progress.dialog.setProgressRange(start, end);
        progress.dialog.setProgressPosition(start);
        BusyCursor busy;
        result = SaveMemoryRange(start, end, path, [&progress](int n, const QString& name) {
            progress.dialog.setProgressPosition(n);
            progress.dialog.setMessage(name);
            progress.dialog.refreshNow();
        });
    }
    if (result.end == BulkResult::End::NoAnswer) {
        memory::ShowRecallError();
    } else if (result.end != BulkResult::End::Completed) {
        SaveWentWrong(parent);
    }
}

void DeleteMemories(Host& host) {
    QWidget* parent = host.DialogParent();
    RangeKeeper keep;
    if (!SelectNumbers(parent, CNumberSelectDlg::kFormDelete) || gSettings.memorySelectKind == 0) {
        return;
    }
    const int kind = gSettings.memorySelectKind;
    const int start = gSettings.memoryRangeStart;
    const int end = gSettings.memoryRangeEnd;
    PauseAcquisition();
    {
        Progress progress(parent);
        progress.dialog.setWindowTitle(QStringLiteral("Message window"));
        progress.dialog.setMessage(QStringLiteral("Please wait..."));
        progress.dialog.setProgressRange(start, end + 1);
        progress.dialog.setProgressPosition(start);
        progress.dialog.refreshNow();
        BusyCursor busy;
        memory::EraseMemories(start, end, kind, [&progress](int position, const char* text) {
            progress.dialog.setProgressPosition(position);
            if (text[0] != '\0') {
                progress.dialog.setMessage(QString::fromLatin1(text));
            }
            progress.dialog.refreshNow();
        });
    }
    ResumeAcquisition();
}

} // namespace traceops
