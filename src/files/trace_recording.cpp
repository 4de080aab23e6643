#include "trace_recording.h"

#include "keyword_tables.h"
#include "number_text.h"
#include "trace_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstdio>

namespace {

const char* Keyword(const char* const* table, int count, int index) {
    return index >= 0 && index < count ? table[index] : "?";
}

// The record of the last trace with the settings now, as a saved trace file would hold it.
TraceRecord CurrentRecord(const InstrumentSettings& s) {
    TraceRecord record = s.traceRecord;
    tracefile::FillRecordFromSettings(record, s);
    return record;
}

void AppendNumber(QByteArray& out, double value, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, std::isfinite(value) ? value : 0.0);
    out.append(text);
}

} // namespace

QByteArray RecordingRowFields(const InstrumentSettings& s) {
    const TraceRecord record = CurrentRecord(s);
    const tracefile::ExportAxis axis = tracefile::SaveAxis(record, s);
    QByteArray out;
    out.reserve(64 + axis.points * 8);
    AppendNumber(out, s.centerFreq, "%.0f");
    out.append(',');
    out.append(Keyword(keywords::spanTable(s.modelIndex),
                       s.modelIndex == 1 ? keywords::count(keywords::kSpan420)
                                         : keywords::count(keywords::kSpan410),
                       s.spanIndex));
    out.append(',');
    out.append(Keyword(keywords::kRbw, keywords::count(keywords::kRbw), s.rbwIndex));
    out.append(',');
    out.append(Keyword(keywords::kVbw, keywords::count(keywords::kVbw), s.vbwIndex));
    out.append(',');
    AppendNumber(out, axis.levelTop, "%.1f");
    out.append(',');
    out.append(keywords::kUnit[static_cast<int>(record.recordUnitBits & 0xFu) <= 5
                                   ? static_cast<int>(record.recordUnitBits & 0xFu)
                                   : 0]);
    for (int i = 0; i < axis.points && i < 1024; ++i) {
        out.append(',');
        AppendNumber(out, tracefile::PointLevel(axis, record.tracePoints[i]), "%.2f");
    }
    return out;
}

bool TraceRecorder::Start(const QString& path, const InstrumentSettings& s) {
    Stop();
    error_.clear();
    rows_ = 0;
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = file_.errorString();
        return false;
    }
    const int model = s.modelIndex == 1 ? 1 : 0;
    QByteArray header = "# Orvel trace recording\r\n# Model,";
    header.append(keywords::kModelName[model]);
    header.append("\r\n# Sweep,");
    header.append(Keyword(keywords::kSweep, keywords::count(keywords::kSweep), s.sweepIndex));
    header.append("\r\n# Detector,");
    header.append(
        Keyword(keywords::kDetector, keywords::count(keywords::kDetector), s.detectorIndex));
    header.append("\r\n# Scale,");
    header.append(Keyword(keywords::kScale, keywords::count(keywords::kScale), s.scaleIndex));
    header.append("\r\n# Offset,");
    AppendNumber(header, s.levelOffset, "%.1f");
    header.append("\r\n# Calculation,");
    header.append(Keyword(keywords::kCalc, keywords::count(keywords::kCalc), s.calcIndex));
    header.append("\r\nTime,Center(Hz),Span,RBW,VBW,Reference,Unit,Levels...\r\n");
    if (!WriteWhole(header)) {
        file_.close();
        // Only a file of our own goes; a device (/dev/full) stays.
        if (QFileInfo(path).isFile()) {
            QFile::remove(path);
        }
        return false;
    }
    return true;
}

bool TraceRecorder::Append(const InstrumentSettings& s) {
    if (!file_.isOpen()) {
        return false;
    }
    QByteArray row = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toLatin1();
    row.append(',');
    row.append(RecordingRowFields(s));
    row.append("\r\n");
    if (!WriteWhole(row)) {
        file_.close();
        return false;
    }
    ++rows_;
    return true;
}

bool TraceRecorder::WriteWhole(const QByteArray& bytes) {
    const qint64 before = file_.size();
    if (file_.write(bytes) == bytes.size() && file_.flush()) {
        return true;
    }
    error_ = file_.errorString();
    // A part-written row must not read as a trace.
    file_.resize(before);
    return false;
}

void TraceRecorder::Stop() {
    if (file_.isOpen()) {
        file_.close();
    }
}

int SplitRecording(const QString& path, const QString& dir, QString* error) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + in.errorString();
        return 0;
    }
    if (!QDir().mkpath(dir)) {
        *error = dir + QStringLiteral(": the folder cannot be made");
        return 0;
    }
    int model = 0;
    int sweep = 2;
    int written = 0;
    int lineNumber = 0;
    while (!in.atEnd()) {
        const QByteArray line = in.readLine(1 << 20).trimmed();
        ++lineNumber;
        if (line.startsWith("# Model,")) {
            model = line.endsWith("RVX420") ? 1 : 0;
            continue;
        }
        if (line.startsWith("# Sweep,")) {
            const QByteArray word = line.mid(8);
            for (int i = 0; i < keywords::count(keywords::kSweep); ++i) {
                sweep = word == keywords::kSweep[i] ? i : sweep;
            }
            continue;
        }
        if (line.isEmpty() || line.startsWith('#') || line.startsWith("Time,")) {
            continue;
        }
        const QList<QByteArray> f = line.split(',');
        const int points = static_cast<int>(f.size()) - 7;
        bool ok = points == 251 || points == 1001;
        tracefile::ExportAxis axis{};
        axis.points = points;
        axis.modelIndex = model;
        axis.sweepIndex = sweep;
        axis.centerHz = ok ? f[1].toDouble(&ok) : 0.0;
        axis.spanIndex = -1;
        const char* const* spans = keywords::spanTable(model);
        const int spanCount =
            model == 1 ? keywords::count(keywords::kSpan420) : keywords::count(keywords::kSpan410);
        for (int i = 0; ok && i < spanCount; ++i) {
            axis.spanIndex = f[2] == spans[i] ? i : axis.spanIndex;
        }
        int unit = -1;
        for (int i = 0; ok && i < 6; ++i) {
            unit = f[6] == keywords::kUnit[i] ? i : unit;
        }
        ok = ok && axis.spanIndex >= 0 && unit >= 0 && std::isfinite(axis.centerHz);
        QByteArray out = "Frequency,Reference level(";
        out.append(ok ? keywords::kUnit[unit] : "");
        out.append(")\r\n");
        char frequency[kSITextSize];
        for (int i = 0; ok && i < points; ++i) {
            const double level = f[7 + i].toDouble(&ok);
            out.append(formatSI(frequency, sizeof frequency, tracefile::PointFrequency(axis, i),
                                kReadoutFormat));
            out.append(',');
            AppendNumber(out, level, "%.2f");
            out.append("\r\n");
        }
        if (!ok) {
            *error = QStringLiteral("%1: line %2 is not a whole trace").arg(path).arg(lineNumber);
            return written;
        }
        const QString name = QDir(dir).filePath(
            QStringLiteral("trace%1.csv").arg(written + 1, 4, 10, QLatin1Char('0')));
        if (!tracefile::WriteWhole(name, out)) {
            *error = name + QStringLiteral(": could not be written");
            return written;
        }
        ++written;
    }
    return written;
}
