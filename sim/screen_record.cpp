#include "screen_record.h"

#include "field_strength.h"
#include "keyword_tables.h"
#include "value_text.h"

namespace sim {

namespace {
constexpr int kUnitConstant[] = {0, 107, 47, -13};
constexpr const char* kUnitWord[] = {"dBm", "dBuV", "dBmV", "dBV"};
} // namespace

const char* recordUnitWord(const AnalyzerState& state) {
    if (state.measureIndex == 4)
        return "dBuV/m";
    if (state.measureIndex == 5)
        return "dBuA/m";
    return kUnitWord[state.unitIndex >= 0 && state.unitIndex <= 3 ? state.unitIndex : 0];
}

int recordReference(const AnalyzerState& state, const UserTables& user) {
    if (state.measureIndex == 4 || state.measureIndex == 5)
        return fieldReference(state, user);
    return state.refLevel +
           kUnitConstant[state.unitIndex >= 0 && state.unitIndex <= 3 ? state.unitIndex : 0];
}

std::string formatScreenRecord(const AnalyzerState& state, const std::vector<uint8_t>& points,
                               int memoryNumber, int reference) {
    std::string text;
    text.reserve(200 + points.size() * 3 + points.size() / kPointsPerLine * 2);
    text += format("MODEL %s\r\n", keywords::kModelName[state.modelIndex]);
    if (memoryNumber >= 0)
        text += format("PARAM %02d\r\n", memoryNumber);
    else
        text += "CURR\r\n";
    text += format("CF %.4fHz\r\n", state.centerFreq);
    text += format("SP %s\r\n", keywords::spanTable(state.modelIndex)[state.spanIndex]);
    text += format("RF %d\r\n", reference);
    text += format("UNIT %s\r\n", recordUnitWord(state));
    text += format("ST %s %s\r\n", keywords::kSweep[state.sweepIndex],
                   keywords::kDetector[effectiveDetector(state)]);
    text += format("RB %s\r\n", keywords::kRbw[state.rbwIndex]);
    text += format("VB %s\r\n", keywords::kVbw[state.vbwIndex]);
    text += format("SC %s\r\n", keywords::kScale[state.scaleIndex]);
    text += "TRACE\r\n";
    static const char kHex[] = "0123456789ABCDEF";
    for (size_t i = 0; i < points.size(); ++i) {
        text += kHex[points[i] >> 4];
        text += kHex[points[i] & 15];
        bool lineEnd = (i + 1) % kPointsPerLine == 0 || i + 1 == points.size();
        text += lineEnd ? "\r\n" : ",";
    }
    return text;
}

} // namespace sim
