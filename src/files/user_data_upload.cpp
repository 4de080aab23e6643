#include "user_data_upload.h"

#include "instrument_settings.h"
#include "keyword_tables.h"
#include "link_state.h"
#include "number_text.h"
#include "user_correction.h"
#include "user_data_link.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace userdata {

namespace {

Link& CurrentLink() {
    static Link link = DefaultLink();
    return link;
}

Presenter& CurrentPresenter() {
    static Presenter presenter;
    return presenter;
}

FileChooser& CurrentChooser() {
    static FileChooser chooser;
    return chooser;
}

char* UserText(int kind) {
    return kind == kAntenna ? gSettings.efUserText : gSettings.mfUserText;
}

bool HasTableExtension(const QString& path) {
    const QString ending = path.right(3);
    return ending.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0 ||
           ending.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
}

// A correction table is plain ASCII text: no zero bytes, no control characters but tab and the
// line ends, nothing above 0x7E.
bool IsPlainText(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b >= 0x20 && b < 0x7F) || b == '\t' || b == '\r' || b == '\n';
    });
}

// The content less its final line end: CR LF or LF. Without a line end the last two characters
// go, as they always have.
QByteArray WithoutLineEnd(const QByteArray& bytes) {
    if (bytes.endsWith('\n') && !bytes.endsWith("\r\n")) {
        return bytes.left(bytes.size() - 1);
    }
    return bytes.left(std::max<qsizetype>(0, bytes.size() - 2));
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    return compareNoCase(text, prefix, std::strlen(prefix)) == 0;
}

} // namespace

Message MessageFor(Result result, int modelIndex) {
    switch (result) {
    case Result::Completed:
        return {QStringLiteral("Setting completion."), QStringLiteral("Message"),
                QMessageBox::Information};
    case Result::Cancelled:
        return {};
    case Result::BadFileName:
    case Result::NotText:
        return {QStringLiteral("This file can not be opened."), QStringLiteral("Read error"),
                QMessageBox::Warning};
    case Result::LoadFailed:
    case Result::TooLong:
        return {QStringLiteral("Load went wrong."), QStringLiteral("Read error"),
                QMessageBox::Warning};
    case Result::CommunicationError:
        break;
    }
    const char* model = keywords::kModelName[modelIndex == 1 ? 1 : 0];
    return {QStringLiteral("Please check connection with %1.").arg(QLatin1String(model)),
            QStringLiteral("Communication error"), QMessageBox::Warning};
}

QString FileFilter(int kind) {
    return kind == kAntenna ? QStringLiteral("EF Data(*.txt);;EF Data(*.csv)")
                            : QStringLiteral("MF Data(*.txt);;MF Data(*.csv)");
}

Result LoadUserDataFile(int kind, const QString& path) {
    if (kind != kAntenna && kind != kProbe) {
        return Result::Cancelled;
    }
    if (!HasTableExtension(path)) {
        return Result::BadFileName;
    }
    // Only plain files: reading a device or a pipe could block for ever.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return Result::LoadFailed;
    }
    QByteArray bytes = file.read(kFileReadLimit + 1);
    file.close();
    if (bytes.isEmpty()) {
        return Result::LoadFailed;
    }
    if (bytes.size() > kFileReadLimit) {
        return Result::TooLong;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) { // byte order mark of editors that save UTF-8
        bytes.remove(0, 3);
    }
    if (!IsPlainText(bytes)) {
        return Result::NotText;
    }
    QByteArray text = WithoutLineEnd(bytes);
    // One table is one line: a further line would reach the analyzer as a command of its own.
    const auto lineEnd =
        std::find_if(text.cbegin(), text.cend(), [](char c) { return c == '\r' || c == '\n'; });
    text.truncate(lineEnd - text.cbegin());
    if (text.size() > kUserTextSize - 1 || text.count(':') > kMaxEntries) {
        return Result::TooLong;
    }
    char* field = UserText(kind);
    std::memcpy(field, text.constData(), static_cast<std::size_t>(text.size()));
    field[text.size()] = '\0';
    ParseUserCorrection(kind);
    return Result::Completed;
}

void SetLink(Link link) {
    if (!link.pause || !link.resume || !link.write || !link.read) {
        link = DefaultLink();
    }
    CurrentLink() = std::move(link);
}

Result UploadUserData(int kind) {
    if (kind != kAntenna && kind != kProbe) {
        return Result::Cancelled;
    }
    Link& link = CurrentLink();
    link.pause();
    std::snprintf(gLink.txBuffer, sizeof gLink.txBuffer, "%s%s\r\n",
                  kind == kAntenna ? "EFUSER" : "MFUSER", UserText(kind));
    // A failed write leaves its mark in the reply buffer; clear an old one first.
    gLink.rxBuffer[0] = '\0';
    link.write();
    if (StartsWithNoCase(gLink.rxBuffer, "Write error")) {
        return Result::CommunicationError;
    }
    link.read();
    if (StartsWithNoCase(gLink.rxBuffer, "Read error") || StartsWithNoCase(gLink.rxBuffer, "ERR")) {
        return Result::CommunicationError;
    }
    return Result::Completed;
}

void SetPresenter(Presenter presenter) {
    CurrentPresenter() = std::move(presenter);
}

Result WriteUserDataFile(int kind, const QString& path, QWidget* parent) {
    Result result = LoadUserDataFile(kind, path);
    if (result == Result::Completed) {
        result = UploadUserData(kind);
    }
    const Message message = MessageFor(result, gSettings.modelIndex);
    if (!message.text.isEmpty()) {
        if (CurrentPresenter()) {
            CurrentPresenter()(message, parent);
        } else {
            QMessageBox box(message.icon, message.caption, message.text, QMessageBox::Ok, parent);
            box.exec();
        }
    }
    if (result == Result::Completed) {
        CurrentLink().resume();
    }
    return result;
}

void SetFileChooser(FileChooser chooser) {
    CurrentChooser() = std::move(chooser);
}

namespace {
void WriteUserData(int kind, QWidget* parent) {
    const QString path =
        CurrentChooser()
            ? CurrentChooser()(kind, parent)
            : QFileDialog::getOpenFileName(parent, QString(), QString(), FileFilter(kind));
    if (path.isEmpty()) {
        return;
    }
    WriteUserDataFile(kind, path, parent);
}
} // namespace

} // namespace userdata

void WriteEfUserData(QWidget* parent) {
    userdata::WriteUserData(userdata::kAntenna, parent);
}
void WriteMfUserData(QWidget* parent) {
    userdata::WriteUserData(userdata::kProbe, parent);
}
