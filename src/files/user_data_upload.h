#pragma once
// "Write E/F User Data" and "Write M/F User Data": the user picks a correction table file, the
// program keeps its text in the settings record, parses it into the antenna or probe table and
// uploads it to the analyzer ("EFUSER%s\r\n" / "MFUSER%s\r\n").

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace userdata {

inline constexpr int kAntenna = 1; // E/F
inline constexpr int kProbe = 2;   // M/F

// Bytes of a correction file that are read at most; a longer file is refused.
inline constexpr int kFileReadLimit = 1024;
// Most entries the analyzer's table (and ours) holds; a text with more is refused.
inline constexpr int kMaxEntries = 10;

enum class Result {
    Completed,          // stored, parsed, uploaded and accepted: "Setting completion."
    Cancelled,          // no file chosen; no message
    BadFileName,        // not "txt" / "csv": "This file can not be opened."
    NotText,            // binary content: "This file can not be opened."
    LoadFailed,         // empty or unreadable file: "Load went wrong."
    TooLong,            // more than 1024 bytes, 511 characters or 10 entries: "Load went wrong."
    CommunicationError, // write or read failed, or "ERR": "Please check connection with %s."
};

struct Message {
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};
// The message box a result shows; Cancelled shows none (empty text).
Message MessageFor(Result result, int modelIndex);

// The open-file dialog's filter: "EF Data(*.txt);;EF Data(*.csv)" or the "MF Data" form.
QString FileFilter(int kind);

// Steps after the file dialog, without the upload: checks the name and the content, stores the
// text in efUserText / mfUserText and parses it into the kind's table. Completed on success.
Result LoadUserDataFile(int kind, const QString& path);

// The serial exchange the upload needs; tests may replace it. The default is the analyzer link.
struct Link {
    std::function<void()> pause;  // PauseAcquisition
    std::function<void()> resume; // ResumeAcquisition
    std::function<void()> write;  // write txBuffer; "Write error" in rxBuffer on failure
    std::function<void()> read;   // read one reply into rxBuffer; "Read error" on failure
};
// Replaces the link used by UploadUserData; a Link with any empty member restores the default.
void SetLink(Link link);

// Pauses acquisition and sends the kind's stored text. Completed when the analyzer accepted it,
// CommunicationError otherwise. Acquisition stays paused either way: after Completed the caller
// resumes it once the user has seen the message.
Result UploadUserData(int kind);

// Shows a message box for the result. Tests may replace the presenter; an empty one restores it.
using Presenter = std::function<void(const Message&, QWidget* parent)>;
void SetPresenter(Presenter presenter);

// Everything after the file dialog: load, upload, and the one message box. Returns the result.
Result WriteUserDataFile(int kind, const QString& path, QWidget* parent);

// The file-choosing step; returns an empty path on cancel. Tests may replace it; an empty
// function restores the open-file dialog.
using FileChooser = std::function<QString(int kind, QWidget* parent)>;
void SetFileChooser(FileChooser chooser);

} // namespace userdata

// The menu commands (File > "Write E/F User Data(&E)..." and "Write M/F User Data(&M)...").
void WriteEfUserData(QWidget* parent = nullptr);
void WriteMfUserData(QWidget* parent = nullptr);
