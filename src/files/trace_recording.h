#pragma once
// A recording of live traces: a CSV file with a header naming the settings and the columns, then
// one row per trace (ISO-8601 UTC time in milliseconds, centre, span, RBW, VBW, reference, unit
// and the level of every point). Each row is written and flushed whole, so a crash or a pulled
// cable loses at most the trace being written; a row that could not be written whole is cut off
// again and the recording stops.

#include "instrument_settings.h"

#include <QFile>
#include <QString>

class TraceRecorder {
public:
    // Creates (or replaces) `path` and writes the header from the settings now. False, with a
    // reason in error(), when the file cannot be made.
    bool Start(const QString& path, const InstrumentSettings& s);
    // Appends the last trace received (traceRecord.tracePoints of `s`, the kind of its active
    // slot). False once a row could not be written; the recording is then over.
    bool Append(const InstrumentSettings& s);
    void Stop();

    bool active() const { return file_.isOpen(); }
    int rows() const { return rows_; }
    const QString& error() const { return error_; }
    QString path() const { return file_.fileName(); }

private:
    bool WriteWhole(const QByteArray& bytes);

    QFile file_;
    int rows_ = 0;
    QString error_;
};

// One row of a recording, without its time-stamp and end of line (for tests and tools).
QByteArray RecordingRowFields(const InstrumentSettings& s);

// A recording back as a series of trace files: row n becomes `dir`/traceNNNN.csv in the trace
// export's form (frequency or, in zero span, time, and level), numbered from 1. Stops at the
// first row that is not a whole trace or a file that cannot be written; `error` says which.
// Returns the number of files written.
int SplitRecording(const QString& path, const QString& dir, QString* error);
