#include "settings_file.h"

#include "instrument_settings.h"
#include "settings_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

namespace {

QString SettingsPath(const char* directory) {
    return QDir(QString::fromLocal8Bit(directory)).filePath(QString::fromLatin1(kSettingsFileName));
}

// Opens the existing settings file for reading and writing. A file without its owner's write
// permission counts as read-only even for a user whom the system would let write it anyway.
SettingsFileStatus OpenExisting(QFile& file, const char* directory) {
    file.setFileName(SettingsPath(directory));
    const QFileInfo info(file.fileName());
    if (!info.exists() || !info.isFile()) {
        return SettingsFileStatus::NotFound;
    }
    if (!(info.permissions() & QFileDevice::WriteOwner)) {
        return SettingsFileStatus::NotWritable;
    }
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        return SettingsFileStatus::NotWritable;
    }
    return SettingsFileStatus::Done;
}

} // namespace

std::string ProgramDirectory() {
    if (QCoreApplication::instance() == nullptr) {
        return QDir::currentPath().toStdString();
    }
    return QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
}

SettingsFileStatus ReadSettingsFile(const char* directory) {
    const std::size_t length = directory != nullptr ? std::strlen(directory) : 0;
    if (length == 0 || length >= sizeof gSettings.moduleDirectory) {
        // A directory that does not fit would name some other file.
        gSettings.moduleDirectory[0] = '\0';
        gSettings.requiredFileFound = 0;
        return SettingsFileStatus::NotFound;
    }
    std::memcpy(gSettings.moduleDirectory, directory, length + 1);

    QFile file;
    const SettingsFileStatus status = OpenExisting(file, gSettings.moduleDirectory);
    if (status != SettingsFileStatus::Done) {
        gSettings.requiredFileFound = 0;
        return status;
    }
    const QByteArray text = file.read(static_cast<qint64>(kSettingsReadLimit));
    file.close();
    if (!text.isEmpty()) {
        settingstext::ApplySettingsText(text.constData(), static_cast<std::size_t>(text.size()));
    }
    return SettingsFileStatus::Done;
}

SettingsFileStatus WriteSettingsFile() {
    if (gSettings.moduleDirectory[0] == '\0' ||
        std::memchr(gSettings.moduleDirectory, '\0', sizeof gSettings.moduleDirectory) == nullptr) {
        return SettingsFileStatus::NotFound;
    }
    {
        // Only a file that is there and may be written; nothing is ever created.
        QFile existing;
        const SettingsFileStatus status = OpenExisting(existing, gSettings.moduleDirectory);
        if (status != SettingsFileStatus::Done) {
            return status;
        }
    }
    // The new text replaces the old one whole or not at all: a full disk or a failing write
    // leaves the old file as it was instead of half old, half new.
    QSaveFile file(SettingsPath(gSettings.moduleDirectory));
    file.setDirectWriteFallback(true); // a folder where no new file can go: write in place
    if (!file.open(QIODevice::WriteOnly)) {
        return SettingsFileStatus::WriteFailed;
    }
    const std::string text = settingstext::FormatSettingsText();
    const qint64 size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size) {
        file.cancelWriting();
        file.commit();
        return SettingsFileStatus::WriteFailed;
    }
    return file.commit() ? SettingsFileStatus::Done : SettingsFileStatus::WriteFailed;
}

void ReadWriteSettings(int write) {
    if (write == 0) {
        const std::string directory = ProgramDirectory();
        ReadSettingsFile(directory.c_str());
    } else if (gSettings.requiredFileFound == 0) {
        return;
    }
    // File dialogs may have moved the current directory elsewhere since start-up.
    if (gSettings.moduleDirectory[0] != '\0') {
        QDir::setCurrent(QString::fromLocal8Bit(gSettings.moduleDirectory));
    }
    if (write != 0) {
        WriteSettingsFile();
    }
}
