#include "view_options.h"

#include "peak_table.h"

#include <QFileInfo>
#include <QSettings>

namespace {

bool ReadBool(const QSettings& ini, const char* key, bool fallback) {
    const QString text = ini.value(QLatin1String(key)).toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

display::LimitLine ReadLine(const QSettings& ini, const char* key) {
    // Points as "frequency,level" joined by ";" (no line breaks inside an INI value).
    // An unquoted value with commas comes back as a list.
    const QVariant value = ini.value(QLatin1String(key));
    QString text = value.typeId() == QMetaType::QStringList
                       ? value.toStringList().join(QLatin1Char(','))
                       : value.toString();
    text.replace(QLatin1Char(';'), QLatin1Char('\n'));
    const display::LimitCleanup line = display::ParseLimitCsv(text.toStdString());
    return line.ok ? line.line : display::LimitLine{};
}

QString LineText(const display::LimitLine& line) {
    QStringList points;
    for (const display::LimitPoint& p : line)
        points << QString::number(p.frequency, 'g', 12) + QLatin1Char(',') +
                      QString::number(p.level, 'g', 12);
    return points.join(QLatin1Char(';'));
}

} // namespace

ViewOptions ReadViewOptions(const QString& path) {
    ViewOptions options;
    if (!QFileInfo(path).isFile())
        return options;
    const QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return options;
    options.waterfall = ReadBool(ini, "Waterfall/Shown", false);
    options.peakTable = ReadBool(ini, "PeakTable/Shown", false);
    bool number = false;
    const int count = ini.value(QStringLiteral("PeakTable/Count")).toString().toInt(&number);
    if (number && count >= 1 && count <= display::kMaxPeakRows)
        options.peakCount = count;
    options.limits = ReadBool(ini, "Limits/Shown", false);
    options.upper = ReadLine(ini, "Limits/Upper");
    options.lower = ReadLine(ini, "Limits/Lower");
    return options;
}

bool WriteViewOptions(const QString& path, const ViewOptions& options) {
    QSettings ini(path, QSettings::IniFormat);
    ini.clear();
    ini.setValue(QStringLiteral("Waterfall/Shown"), options.waterfall);
    ini.setValue(QStringLiteral("PeakTable/Shown"), options.peakTable);
    ini.setValue(QStringLiteral("PeakTable/Count"), options.peakCount);
    ini.setValue(QStringLiteral("Limits/Shown"), options.limits);
    ini.setValue(QStringLiteral("Limits/Upper"), LineText(options.upper));
    ini.setValue(QStringLiteral("Limits/Lower"), LineText(options.lower));
    ini.sync();
    return ini.status() == QSettings::NoError;
}
