#include "setting_fields.h"

#include "command_codes.h"
#include "keyword_tables.h"
#include "value_limits.h"

#include <iterator>

namespace fields {

namespace {

using IS = InstrumentSettings;
using valuelimits::kFreqMax;

constexpr Range kAnyFreq{-kFreqMax, kFreqMax};
constexpr Range kWidth{0.0, kFreqMax};
// The file reads every model as the RVX410.
constexpr Range kFileFreq{0.0, valuelimits::kCenterFreqMax410};
constexpr Range kCounts{valuelimits::kCountMin, valuelimits::kCountMax};
constexpr Range kLevels{valuelimits::kRefLevelMin, valuelimits::kRefLevelMax};
constexpr Range kOffsets{valuelimits::kOffsetMin, valuelimits::kOffsetMax};
constexpr Range kObwRatios{valuelimits::kObwRatioMin, valuelimits::kObwRatioMax};
constexpr Range kObwDbs{valuelimits::kObwDbMin, valuelimits::kObwDbMax};

template <std::size_t N> constexpr Range Whole(const char* const (&table)[N]) {
    return {0.0, static_cast<double>(keywords::count(table) - 1)};
}

// A frequency: "%.4f" on the wire, whole hertz in the file.
constexpr SettingField Freq(int command, int query, const char* keyword, double IS::*field,
                            Range reply, const char* fileKey, FileRule rule, Range file) {
    return {.command = command,
            .query = query,
            .keyword = keyword,
            .kind = Kind::Number,
            .number = field,
            .wireFormat = "%.4f",
            .reply = reply,
            .fileKey = fileKey,
            .fileRule = rule,
            .file = file,
            .fileFormat = "%.0f"};
}

// A keyword setting; the file holds its index, any position of the table.
template <std::size_t N>
constexpr SettingField Word(int command, int query, const char* keyword, int IS::*field,
                            const char* const (&table)[N], int replyLast, const char* fileKey) {
    return {.command = command,
            .query = query,
            .keyword = keyword,
            .kind = Kind::Keyword,
            .integer = field,
            .words = table,
            .replyLast = replyLast,
            .fileKey = fileKey,
            .fileRule = FileRule::Index,
            .file = Whole(table),
            .fileFormat = "%d"};
}

// A max hold, min hold or average count.
constexpr SettingField Count(int command, int query, const char* keyword, int IS::*field,
                             const char* fileKey) {
    return {.command = command,
            .query = query,
            .keyword = keyword,
            .kind = Kind::Integer,
            .integer = field,
            .wireFormat = "%d",
            .reply = kCounts,
            .fileKey = fileKey,
            .fileRule = FileRule::Index,
            .file = kCounts,
            .fileFormat = "%d"};
}

// A program setting that only the settings file holds.
constexpr SettingField Own(int IS::*field, const char* fileKey, FileRule rule, Range file) {
    return {.kind = Kind::Integer,
            .integer = field,
            .fileKey = fileKey,
            .fileRule = rule,
            .file = file,
            .fileFormat = "%d"};
}

// A field-strength unit is not a display unit of the spectrum: a reply selecting one gives dBm.
void SpectrumUnitOnly(IS& s) {
    if (s.unitIndex > 3) {
        s.unitIndex = 0;
    }
}

constexpr SettingField kFields[] = {
    Own(&IS::comPortIndex, "Com port : ", FileRule::Port, {0, 7}),
    Own(&IS::baudIndex, "Baud rate : ", FileRule::Index, {0, 5}),
    Own(&IS::detailedTrace, "Detailed trace : ", FileRule::Index, {0, 1}),
    {.command = cmd::kFreq,
     .query = query::kFreq,
     .keyword = "FREQ",
     .kind = Kind::Number,
     .number = &IS::centerFreq,
     .wireFormat = "%.4f",
     .reply = {0.0, kFreqMax},
     .replyModelMax = true,
     .fileKey = "Center frequency : ",
     .fileRule = FileRule::Limited,
     .file = kFileFreq,
     .fileFormat = "%.0f"},
    {.command = cmd::kSpan,
     .query = query::kSpan,
     .keyword = "SPAN",
     .kind = Kind::Keyword,
     .integer = &IS::spanIndex,
     .spanRow = true,
     .replyLast = 14,
     .fileKey = "Span : ",
     .fileRule = FileRule::Index,
     .file = Whole(keywords::kSpan410),
     .fileFormat = "%d"},
    {.command = cmd::kRef,
     .query = query::kRef,
     .keyword = "REF",
     .kind = Kind::Integer,
     .integer = &IS::refLevel,
     .wireFormat = "%d",
     .reply = kLevels,
     .fileKey = "Reference level : ",
     .fileRule = FileRule::Clamped,
     .file = kLevels,
     .fileFormat = "%d"},
    {.command = cmd::kUnit,
     .query = query::kUnit,
     .keyword = "UNIT",
     .kind = Kind::Keyword,
     .integer = &IS::unitIndex,
     .words = keywords::kUnit,
     .replyLast = 7,
     .afterReply = SpectrumUnitOnly,
     .fileKey = "Reference unit : ",
     .fileRule = FileRule::Index,
     .file = {0, 5},
     .fileFormat = "%d"},
    {.command = cmd::kOffset,
     .query = query::kOffset,
     .keyword = "OFFSET",
     .kind = Kind::Number,
     .number = &IS::levelOffset,
     .wireFormat = "%2.1f",
     .reply = kOffsets,
     .fileKey = "Reference offset : ",
     .fileRule = FileRule::Limited,
     .file = kOffsets,
     .fileFormat = "%.1f"},
    Word(cmd::kImpedance, query::kImpedance, "IMP", &IS::impedanceIndex, keywords::kImpedance, -1,
         "Impedance : "),
    Word(cmd::kSweep, query::kSweep, "SWEEP", &IS::sweepIndex, keywords::kSweep, -1,
         "Sweep time : "),
    Word(cmd::kDetector, query::kDetector, "DET", &IS::detectorIndex, keywords::kDetector, -1,
         "Detection : "),
    Word(cmd::kRbw, query::kRbw, "RBW", &IS::rbwIndex, keywords::kRbw, 6, "RBW : "),
    Word(cmd::kVbw, query::kVbw, "VBW", &IS::vbwIndex, keywords::kVbw, 8, "VBW : "),
    Word(cmd::kMarkerMode, query::kMarkerMode, "MKR", &IS::markerMode, keywords::kMarkerMode, -1,
         "Marker mode : "),
    Word(cmd::kPeakMode, query::kPeakMode, "PEAK", &IS::peakMode, keywords::kPeakMode, -1,
         "Peak search mode : "),
    Own(&IS::zonePosition, "Zone position : ", FileRule::Clamped, {0, 1001}),
    Own(&IS::zoneWidth, "Zone width : ", FileRule::Clamped, {0, 1001}),
    Freq(cmd::kNormMarker, query::kNormMarker, "NORMMKR", &IS::normMarkerFreq, kAnyFreq,
         "Marker frequency : ", FileRule::Frequency, kAnyFreq),
    Freq(cmd::kPeakCenter, query::kPeakCenter, "PKCNTR", &IS::peakZoneCenter, kAnyFreq,
         "Peak search ZCF : ", FileRule::Frequency, kAnyFreq),
    Freq(cmd::kPeakWidth, query::kPeakWidth, "PKWIDTH", &IS::peakZoneWidth, kWidth,
         "Peak search ZW : ", FileRule::Frequency, kWidth),
    // The analyzer's conversion list has three entries.
    Word(cmd::kConversion, query::kConversion, "CONV", &IS::conversionIndex, keywords::kConversion,
         2, "Conversion : "),
    Word(cmd::kMeas, query::kMeas, "MEAS", &IS::measureIndex, keywords::kMeasure, 5,
         "Measurement mode : "),
    Word(cmd::kCpMode, query::kCpMode, "CPMODE", &IS::cpMode, keywords::kCpMode, -1, "CP mode : "),
    Freq(cmd::kCpCenter, query::kCpCenter, "CPCNTR", &IS::cpCenter, kAnyFreq,
         "CP Center frequency : ", FileRule::Frequency, kAnyFreq),
    Freq(cmd::kCpWidth, query::kCpWidth, "CPWIDTH", &IS::cpWidth, kWidth,
         "CP zone width : ", FileRule::Limited, kFileFreq),
    Word(cmd::kAcpMode, query::kAcpMode, "ACPMODE", &IS::acpMode, keywords::kAcpMode, -1,
         "ACP mode : "),
    Freq(cmd::kAcpRefCenter, query::kAcpRefCenter, "ACPREF", &IS::acpRefCenter, kAnyFreq,
         "ACP reference CF : ", FileRule::Frequency, kAnyFreq),
    Freq(cmd::kAcpRefBw, query::kAcpRefBw, "ACPREFBW", &IS::acpRefBw, kWidth,
         "ACP refeence BW : ", FileRule::Limited, kFileFreq),
    Freq(cmd::kAcpOffset, query::kAcpOffset, "ACPOFS", &IS::acpOffset, kAnyFreq,
         "ACP ADJ CH offset : ", FileRule::Frequency, kAnyFreq),
    Freq(cmd::kAcpChannelBw, query::kAcpChannelBw, "ACPCHBW", &IS::acpChannelBw, kWidth,
         "ACP ADJ CH BW : ", FileRule::Limited, kFileFreq),
    Word(cmd::kObwMode, query::kObwMode, "OBWMODE", &IS::obwMode, keywords::kObwMode, -1,
         "OBW mode : "),
    {.command = cmd::kObwRatio,
     .query = query::kObwRatio,
     .keyword = "OBWRATIO",
     .kind = Kind::Number,
     .number = &IS::obwRatio,
     .wireFormat = "%.4f",
     .reply = kObwRatios,
     .fileKey = "OBW ratio : ",
     .fileRule = FileRule::Limited,
     .file = kObwRatios,
     .fileFormat = "%.1f"},
    {.command = cmd::kObwDb,
     .query = query::kObwDb,
     .keyword = "OBWDB",
     .kind = Kind::Number,
     .number = &IS::obwDb,
     .wireFormat = "%.4f",
     .reply = kObwDbs,
     .fileKey = "OBW down : ",
     .fileRule = FileRule::Limited,
     .file = kObwDbs,
     .fileFormat = "%.1f"},
    Word(cmd::kEfAntenna, query::kEfAntenna, "EFANT", &IS::antennaIndex, keywords::kAntenna, 4,
         "EF mode : "),
    Word(cmd::kMfProbe, query::kMfProbe, "MFPROBE", &IS::probeIndex, keywords::kProbe, -1,
         "MF mode : "),
    Word(cmd::kCalc, query::kCalc, "CALC", &IS::calcIndex, keywords::kCalc, -1, "Calcuration : "),
    Count(cmd::kMaxCount, query::kMaxCount, "MAXNO", &IS::maxCount, "Max hold : "),
    Count(cmd::kMinCount, query::kMinCount, "MINNO", &IS::minCount, "Min hold : "),
    Count(cmd::kAveCount, query::kAveCount, "AVENO", &IS::aveCount, "Average hold : "),
    Word(cmd::kScale, query::kScale, "SCALE", &IS::scaleIndex, keywords::kScale, -1, "Scale : "),
    Own(&IS::startWindowState, "Start window size : ", FileRule::Index, {0, 2}),
    Own(&IS::startSetting, "Start setup : ", FileRule::Index, {0, 1}),
    // Replies are compared byte for byte: anything but "ON" reads as off.
    {.command = cmd::kRemote,
     .query = query::kRemote,
     .keyword = "REMOTE",
     .kind = Kind::Flag,
     .integer = &IS::remoteState,
     .words = keywords::kOffOn,
     .replyOtherwise = 0,
     .fileKey = "Remote : ",
     .fileRule = FileRule::Index,
     .file = {0, 1},
     .fileFormat = "%d"},
    Own(&IS::timeOutSetting, "Timeout : ", FileRule::Clamped, {0, 200}),
    Own(&IS::intervalSetting, "Interval : ", FileRule::Clamped, {50, 150}),
    // The program always starts as an RVX410 without spurious calculation.
    Own(&IS::modelIndex, "Model : ", FileRule::AlwaysZero, {}),
    {.query = query::kCalcSpread,
     .keyword = "CALCSPR",
     .kind = Kind::Flag,
     .integer = &IS::calcSpread,
     .words = keywords::kOffOn,
     .fileKey = "Spurious : ",
     .fileRule = FileRule::AlwaysZero,
     .fileFormat = "%d"},
    // The marker goes to the n-th highest peak, counted from 1 on the wire.
    {.command = cmd::kPeakSearch,
     .keyword = "PKSEARCH",
     .kind = Kind::Integer,
     .integer = &IS::peakSearchNo,
     .wireFormat = "%02d",
     .wireOffset = 1},
};

} // namespace

std::span<const SettingField> all() {
    return kFields;
}

const SettingField* byCommand(int code) {
    for (const SettingField& f : kFields) {
        if (f.command != 0 && f.command == code) {
            return &f;
        }
    }
    return nullptr;
}

const SettingField* byQuery(int code) {
    for (const SettingField& f : kFields) {
        if (f.query != 0 && f.query == code) {
            return &f;
        }
    }
    return nullptr;
}

const SettingField* byKeyword(std::string_view keyword) {
    for (const SettingField& f : kFields) {
        if (f.keyword != nullptr && keyword == f.keyword) {
            return &f;
        }
    }
    return nullptr;
}

Words wordsOf(const SettingField& field, int modelIndex) {
    if (field.spanRow) {
        return {keywords::spanTable(modelIndex), keywords::spanCount(modelIndex)};
    }
    if (field.words == nullptr) {
        return {};
    }
    int count = 0;
    while (field.words[count][0] != '\0') {
        ++count;
    }
    return {field.words, count};
}

} // namespace fields
