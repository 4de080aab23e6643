#pragma once
// The trace files: the 1104-byte binary record, the comma-separated export, the point and
// frequency arithmetic of the export and the file names of the memory bulk save. Plain functions
// that need no window.

#include "instrument_settings.h"

#include <QByteArray>
#include <QString>

namespace tracefile {

inline constexpr int kRecordSize = 1104;

// Points a record of this kind carries in a file: 251 or 1001; the empty kind 2 exports 1001.
// 0 for a code that is no trace kind.
int PointCount(int kind);
// Unit code (0 dBm .. 5 dBuA/m) a kind implies; 0 for the kinds that follow the selection.
int UnitCodeOfKind(int kind);

// The record as the file holds it: 1104 bytes, little-endian, no padding.
QByteArray EncodeRecord(const TraceRecord& record);
// The first 1104 bytes back into a record; false (record untouched) when fewer are given.
bool DecodeRecord(const QByteArray& bytes, TraceRecord* record);

// A model code below 2 marks the older layout: it becomes 2 (RVX410), the model bits are cleared
// and the unit comes from the kind.
void ConvertOlderLayout(TraceRecord& record);

// True when every index of the record lies inside its table (span by the row of `modelIndex`),
// the unit is 0..5, the kind a known code, and the centre and the reference inside the ranges the
// record can hold (a file's huge reference would overflow the level arithmetic).
bool RecordIsValid(const TraceRecord& record, int modelIndex);

// The settings fields of a record about to be saved, from the settings record: unit and kind from
// the active slot or the measuring function, centre, reference (dBm), the indexes, the model.
void FillRecordFromSettings(TraceRecord& record, const InstrumentSettings& s);
// Model bits 4..8 of the unit word and the model code (2 RVX410, 3 RVX420).
void SetRecordModel(TraceRecord& record, int modelIndex);

// What the export needs besides the level bytes.
struct ExportAxis {
    int points;      // 251 or 1001
    double centerHz; // frequency of the middle point
    int modelIndex;  // span row
    int spanIndex;   // step of the span row; 0 puts time on the axis
    int sweepIndex;  // the time axis's length
    double levelTop; // level of byte `topByte`
    int topByte;     // 200, or 201 for the save's 1001-point levels
    int scaleIndex;  // 0 = 2 dB/div, anything else 10 dB/div
    int unitCode;    // header's unit keyword (0..5)
};
// Axis of a Save: the settings record's centre, span, sweep, scale, reference and offset.
ExportAxis SaveAxis(const TraceRecord& record, const InstrumentSettings& s);
// Axis of a bulk save: everything from the record itself, 251 points.
ExportAxis MemoryAxis(const TraceRecord& record, int modelIndex);

// Frequency (Hz) or, in zero span, time (s) of point i.
double PointFrequency(const ExportAxis& axis, int i);
// Level of a level byte.
double PointLevel(const ExportAxis& axis, int byte);
// Header and one "frequency,level" line per point, CR LF, "." as the decimal point always.
QByteArray ExportText(const uint8_t* points, const ExportAxis& axis);

// The kind of a file by the last three characters of its name.
enum class FileType { Dat, Csv, Other };
FileType TypeOfName(const QString& path, Qt::CaseSensitivity cs);

// The bulk save's name for memory n: "trace.dat" and 5 give "trace05.dat". A path of fewer than
// four characters gets the number appended.
QString MemoryFileName(const QString& path, int n);

// Writes the whole content or nothing: an old file of that name stays as it was on failure.
bool WriteWhole(const QString& path, const QByteArray& bytes);

// The bytes of a trace file into `record`: only exactly 1104 bytes whose indexes are in their
// tables (after the older-layout rule) are taken; otherwise false and `record` is untouched.
bool AcceptRecordBytes(const QByteArray& bytes, int modelIndex, TraceRecord* record);

enum class LoadResult { Loaded, NotADatName, ReadFailed };
// Reads a trace file into `record`: only an exactly 1104-byte plain file whose indexes are in
// their tables (after the older-layout rule) is taken; otherwise `record` is untouched.
LoadResult LoadRecordFile(const QString& path, int modelIndex, TraceRecord* record);

} // namespace tracefile
