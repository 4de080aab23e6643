#pragma once
// Test support with Qt: the one QApplication of a test process, and real files.

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

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

class TempFolder {
public:
    bool valid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // The file's path, "" when it could not be written.
    QString write(const QString& name, const QByteArray& bytes) const {
        return WriteFile(path(name), bytes) ? path(name) : QString();
    }
    QByteArray read(const QString& name) const { return ReadFile(path(name)); }

private:
    QTemporaryDir dir_;
};

} // namespace orvel::test
