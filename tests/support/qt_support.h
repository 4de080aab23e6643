#pragma once
// Test support with Qt (header only): the one QApplication of a test process (offscreen unless
// QT_QPA_PLATFORM says otherwise), and a temporary folder with real files in it.

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace orvel::test {

inline void EnsureQtApplication() {
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "orvel-test";
        static char* argv[] = {name, nullptr};
        // Never destroyed: tearing Qt down during static destruction crashes.
        new QApplication(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Quillon"));
    }
}

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the bytes whole; false when the file cannot be written.
inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Removed with everything in it at the end.
class TempFolder {
public:
    bool valid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // Writes a file in the folder and returns its path ("" when it could not be written).
    QString write(const QString& name, const QByteArray& bytes) const {
        return WriteFile(path(name), bytes) ? path(name) : QString();
    }
    QByteArray read(const QString& name) const { return ReadFile(path(name)); }

private:
    QTemporaryDir dir_;
};

} // namespace orvel::test
