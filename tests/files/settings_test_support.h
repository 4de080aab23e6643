#pragma once
// A temporary program directory with its settings file, for the settings file tests.

#include "instrument_settings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class SettingsDirectory {
public:
    SettingsDirectory() { SetDefaultSettings(); }

    bool valid() const { return dir_.isValid(); }
    QByteArray path() const { return dir_.path().toLocal8Bit(); }
    QString filePath() const { return dir_.filePath(QStringLiteral("Orvel.ini")); }

    void write(const QByteArray& bytes) const {
        QFile file(filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray read() const {
        QFile file(filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool exists() const { return QFile::exists(filePath()); }

private:
    QTemporaryDir dir_;
};
