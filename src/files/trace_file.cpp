#include "trace_file.h"

#include "keyword_tables.h"
#include "level_units.h"
#include "modes.h"
#include "number_text.h"
#include "span_steps.h"
#include "trace_kinds.h"
#include "value_limits.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <charconv>
#include <cmath>
#include <cstring>

namespace tracefile {

namespace {

constexpr int kFieldKind251[] = {20, 21, 22, 23, 25, 24, 39};
constexpr int kFieldKind1001[] = {10, 11, 12, 13, 15, 14, 38};
constexpr int kUnitCodes = 6;

template <typename T> void Put(char* at, T value) {
    qToLittleEndian(value, at);
}
template <typename T> T Get(const char* at) {
    return qFromLittleEndian<T>(at);
}
void PutDouble(char* at, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Put(at, bits);
}
double GetDouble(const char* at) {
    const uint64_t bits = Get<uint64_t>(at);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool InTable(int index, int count) {
    return index >= 0 && index < count;
}

void AppendFixed2(QByteArray& out, double value) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value + 0.0, std::chars_format::fixed, 2);
    out.append(text, static_cast<qsizetype>(result.ptr - text));
}

} // namespace

int PointCount(int kind) {
    if (kind == tracekind::kEmpty) {
        return 1001;
    }
    return tracekind::pointCount(kind);
}

int UnitCodeOfKind(int kind) {
    const int unit = tracekind::unitOfKind(kind);
    return unit < 0 ? 0 : unit;
}

QByteArray EncodeRecord(const TraceRecord& r) {
    QByteArray bytes(kRecordSize, '\0');
    char* p = bytes.data();
    Put(p + 0, r.memoryNumber);
    Put(p + 2, r.modelCode);
    Put(p + 3, r.reserved0);
    Put(p + 4, r.recordUnitBits);
    PutDouble(p + 8, r.recordCenterFreq);
    const int32_t ints[] = {r.recordSpanIndex,  r.recordRefLevel,   r.recordRbwIndex,
                            r.recordVbwIndex,   r.recordSweepIndex, r.recordDetectorIndex,
                            r.recordScaleIndex, r.recordKind};
    for (int i = 0; i < 8; ++i) {
        Put(p + 16 + 4 * i, ints[i]);
    }
    std::memcpy(p + 48, r.tracePoints, sizeof r.tracePoints);
    std::memcpy(p + 1072, r.reserved1, sizeof r.reserved1);
    return bytes;
}

bool DecodeRecord(const QByteArray& bytes, TraceRecord* record) {
    if (record == nullptr || bytes.size() < kRecordSize) {
        return false;
    }
    const char* p = bytes.constData();
    TraceRecord& r = *record;
    r.memoryNumber = Get<int16_t>(p + 0);
    r.modelCode = Get<int8_t>(p + 2);
    r.reserved0 = Get<uint8_t>(p + 3);
    r.recordUnitBits = Get<uint32_t>(p + 4);
    r.recordCenterFreq = GetDouble(p + 8);
    int32_t* ints[] = {&r.recordSpanIndex,  &r.recordRefLevel,   &r.recordRbwIndex,
                       &r.recordVbwIndex,   &r.recordSweepIndex, &r.recordDetectorIndex,
                       &r.recordScaleIndex, &r.recordKind};
    for (int i = 0; i < 8; ++i) {
        *ints[i] = Get<int32_t>(p + 16 + 4 * i);
    }
    std::memcpy(r.tracePoints, p + 48, sizeof r.tracePoints);
    std::memcpy(r.reserved1, p + 1072, sizeof r.reserved1);
    return true;
}

void ConvertOlderLayout(TraceRecord& r) {
    if (r.modelCode >= 2) {
        return;
    }
    r.modelCode = 2;
    r.recordUnitBits &= ~(0x1Fu << 4);
    r.recordUnitBits =
        (r.recordUnitBits & ~0xFu) | static_cast<uint32_t>(UnitCodeOfKind(r.recordKind));
}

bool RecordIsValid(const TraceRecord& r, int modelIndex) {
    return tracekind::isKnownKind(r.recordKind) &&
           InTable(static_cast<int>(r.recordUnitBits & 0xFu), kUnitCodes) &&
           InTable(r.recordSpanIndex, keywords::spanCount(modelIndex)) &&
           InTable(r.recordRbwIndex, keywords::count(keywords::kRbw)) &&
           InTable(r.recordVbwIndex, keywords::count(keywords::kVbw)) &&
           InTable(r.recordSweepIndex, keywords::count(keywords::kSweep)) &&
           InTable(r.recordDetectorIndex, keywords::count(keywords::kDetector)) &&
           InTable(r.recordScaleIndex, keywords::count(keywords::kScale)) &&
           valuelimits::isFrequency(r.recordCenterFreq) &&
           valuelimits::inRange(r.recordRefLevel, valuelimits::kRecordRefLevelMin,
                                valuelimits::kRecordRefLevelMax);
}

void SetRecordModel(TraceRecord& r, int modelIndex) {
    const uint32_t model = modelIndex == 1 ? 1u : 0u;
    r.recordUnitBits = (r.recordUnitBits & ~(0x1Fu << 4)) | (model << 4);
    r.modelCode = modelIndex == 1 ? 3 : 2;
}

void FillRecordFromSettings(TraceRecord& r, const InstrumentSettings& s) {
    const int slot =
        s.activeTraceSlot >= 0 && s.activeTraceSlot < kTraceSlots ? s.activeTraceSlot : 1;
    const int slotKind = s.traceKind[slot];
    const bool detailed = s.detailedTrace == 1;
    auto setUnit = [&r](int unit) {
        r.recordUnitBits = (r.recordUnitBits & ~0xFu) | (static_cast<uint32_t>(unit) & 0xFu);
    };
    if (slotKind == 28 || slotKind == 29 || slotKind == 30 || slotKind == 32 || slotKind == 34 ||
        slotKind == 36) {
        setUnit(slotKind == 28 ? 4 : slotKind == 29 ? 5 : s.unitIndex);
        r.recordKind = slotKind;
    } else if (modes::Measure(s) == MeasureFunction::ElectricField) {
        setUnit(4);
        const int a = InTable(s.antennaIndex, 7) ? s.antennaIndex : 0;
        r.recordKind = detailed ? kFieldKind1001[a] : kFieldKind251[a];
    } else if (modes::Measure(s) == MeasureFunction::MagneticField) {
        setUnit(5);
        r.recordKind = s.probeIndex == 0 ? (detailed ? 16 : 26) : (detailed ? 17 : 27);
    } else {
        r.recordKind = detailed ? 1 : 0;
    }
    r.recordCenterFreq = s.centerFreq;
    r.recordRefLevel = s.refLevel;
    r.recordRbwIndex = s.rbwIndex;
    r.recordVbwIndex = s.vbwIndex;
    r.recordScaleIndex = s.scaleIndex;
    r.recordSpanIndex = s.spanIndex;
    r.recordSweepIndex = s.sweepIndex;
    r.recordDetectorIndex = s.detectorIndex;
    SetRecordModel(r, s.modelIndex);
}

ExportAxis SaveAxis(const TraceRecord& r, const InstrumentSettings& s) {
    ExportAxis axis{};
    axis.points = PointCount(r.recordKind);
    axis.centerHz = s.centerFreq;
    axis.modelIndex = s.modelIndex;
    axis.spanIndex = s.spanIndex;
    axis.sweepIndex = s.sweepIndex;
    axis.scaleIndex = s.scaleIndex;
    axis.unitCode = static_cast<int>(r.recordUnitBits & 0xFu);
    const double top = s.refLevel + s.levelOffset;
    if (axis.points == 1001) {
        axis.levelTop = levelunits::roundReference(s.refLevel, s.levelOffset);
        axis.topByte = 201;
    } else {
        axis.levelTop = std::isfinite(top) ? std::trunc(top) : 0.0;
        axis.topByte = 200;
    }
    return axis;
}

ExportAxis MemoryAxis(const TraceRecord& r, int modelIndex) {
    ExportAxis axis{};
    axis.points = 251;
    axis.centerHz = r.recordCenterFreq;
    axis.modelIndex = modelIndex;
    axis.spanIndex = r.recordSpanIndex;
    axis.sweepIndex = r.recordSweepIndex;
    axis.scaleIndex = r.recordScaleIndex;
    axis.unitCode = static_cast<int>(r.recordUnitBits & 0xFu);
    axis.levelTop = r.recordRefLevel;
    axis.topByte = 200;
    return axis;
}

double PointFrequency(const ExportAxis& axis, int i) {
    const bool full = axis.points == 1001;
    const int middle = full ? 500 : 125;
    if (axis.spanIndex == 0) {
        const int sweep = InTable(axis.sweepIndex, 8) ? axis.sweepIndex : 2;
        const double t = keywords::kSweepSeconds[sweep];
        return t / 2.0 + (t / (full ? 1000.0 : 250.0)) * (i - middle);
    }
    const double step = spansteps::spanStepValue(axis.modelIndex, axis.spanIndex);
    return axis.centerHz + step * (full ? 100.0 : 400.0) * (i - middle);
}

double PointLevel(const ExportAxis& axis, int byte) {
    const int range = axis.scaleIndex == 0 ? 160 : 800;
    return axis.levelTop - (axis.topByte - byte) * range / 200.0 / 10.0;
}

QByteArray ExportText(const uint8_t* points, const ExportAxis& axis) {
    static const char* const kUnitKeyword[kUnitCodes] = {"DBM", "DBUV",   "DBMV",
                                                         "DBV", "dBuV/m", "dBuA/m"};
    const int unit = InTable(axis.unitCode, kUnitCodes) ? axis.unitCode : 0;
    QByteArray out;
    out.reserve(32 + axis.points * 24);
    out.append("Frequency,Reference level(");
    out.append(kUnitKeyword[unit]);
    out.append(")\r\n");
    char frequency[kSITextSize];
    for (int i = 0; i < axis.points && i < 1024; ++i) {
        out.append(formatSI(frequency, sizeof frequency, PointFrequency(axis, i), kReadoutFormat));
        out.append(',');
        AppendFixed2(out, PointLevel(axis, points[i]));
        out.append("\r\n");
    }
    return out;
}

FileType TypeOfName(const QString& path, Qt::CaseSensitivity cs) {
    const QString ending = path.right(3);
    if (ending.compare(QLatin1String("dat"), cs) == 0) {
        return FileType::Dat;
    }
    if (ending.compare(QLatin1String("csv"), cs) == 0) {
        return FileType::Csv;
    }
    return FileType::Other;
}

QString MemoryFileName(const QString& path, int n) {
    const QString number = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    if (path.size() < 4) {
        return path + number;
    }
    return path.left(path.size() - 4) + number + path.right(4);
}

bool WriteWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool AcceptRecordBytes(const QByteArray& bytes, int modelIndex, TraceRecord* record) {
    TraceRecord loaded{};
    if (record == nullptr || bytes.size() != kRecordSize || !DecodeRecord(bytes, &loaded)) {
        return false;
    }
    ConvertOlderLayout(loaded);
    if (!RecordIsValid(loaded, modelIndex)) {
        return false;
    }
    *record = loaded;
    return true;
}

LoadResult LoadRecordFile(const QString& path, int modelIndex, TraceRecord* record) {
    if (TypeOfName(path, Qt::CaseInsensitive) != FileType::Dat) {
        return LoadResult::NotADatName;
    }
    // Only plain files of the record's size: a device or a pipe could block for ever.
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.size() != kRecordSize || !file.open(QIODevice::ReadOnly)) {
        return LoadResult::ReadFailed;
    }
    const QByteArray bytes = file.read(kRecordSize + 1);
    file.close();
    return AcceptRecordBytes(bytes, modelIndex, record) ? LoadResult::Loaded
                                                        : LoadResult::ReadFailed;
}

} // namespace tracefile
