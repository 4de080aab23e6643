#include "query_decoding.h"

#include "command_codes.h"
#include "instrument_settings.h"
#include "keyword_match.h"
#include "keyword_tables.h"
#include "reply_text.h"
#include "value_limits.h"

#include <cstring>
#include <iterator>

namespace {

constexpr const char* kQueryKeywords[] = {
    "FREQ?",     "SPAN?",    "REF?",     "UNIT?",    "RBW?",     "VBW?",    "MEAS?",     "CPMODE?",
    "CPCNTR?",   "CPWIDTH?", "ACPMODE?", "ACPOFS?",  "ACPCHBW?", "ACPREF?", "ACPREFBW?", "OBWMODE?",
    "OBWRATIO?", "OBWDB?",   "EFANT?",   "MFPROBE?", "CALC?",    "MAXNO?",  "MINNO?",    "AVENO?",
    "SCALE?",    "SWEEP?",   "DET?",     "AUTO?",    "HOLD?",    "MKR?",    "NORMMKR?",  "PEAK?",
    "PKCNTR?",   "PKWIDTH?", "CONV?",    "REMOTE?",  "OFFSET?",  "IMP?",    "CALCSPR?"};
static_assert(std::size(kQueryKeywords) == query::kLast - query::kFirst + 1);

void DecodeKeyword(const char* reply, const char* const* table, int first, int last, int* field) {
    const int position = MatchKeywordPrefix(reply, table, first, last);
    if (position >= 0) {
        *field = position;
    }
}

template <std::size_t N>
void DecodeWholeTable(const char* reply, const char* const (&table)[N], int* field) {
    DecodeKeyword(reply, table, 0, keywords::count(table) - 1, field);
}

using valuelimits::kFreqMax;

// A number stored only when it lies within lo..hi; a reply without one, or outside, leaves the
// field as it was.
void DecodeNumber(const char* reply, double* field, double lo = -kFreqMax, double hi = kFreqMax) {
    double value = 0.0;
    if (ReplyNumber(reply, &value)) {
        valuelimits::storeInRange(field, value, lo, hi);
    }
}
void DecodeInteger(const char* reply, int* field, int lo, int hi) {
    int value = 0;
    if (ReplyInteger(reply, &value)) {
        valuelimits::storeInRange(field, value, lo, hi);
    }
}
void DecodeCount(const char* reply, int* field) {
    DecodeInteger(reply, field, valuelimits::kCountMin, valuelimits::kCountMax);
}

} // namespace

const char* QueryKeyword(int code) {
    if (code < query::kFirst || code > query::kLast) {
        return nullptr;
    }
    return kQueryKeywords[code - query::kFirst];
}

int MatchKeywordPrefix(const char* reply, const char* const* table, int first, int last) {
    int count = 0;
    while (table[count][0] != '\0') {
        ++count;
    }
    return keywords::matchKeyword(reply, table, count, first, last);
}

int DecodeQueryReply(int code, const char* reply) {
    InstrumentSettings& s = gSettings;
    switch (code) {
    case query::kFreq:
        DecodeNumber(reply, &s.centerFreq, 0.0, valuelimits::centerFreqMax(s.modelIndex));
        break;
    case query::kSpan:
        DecodeKeyword(reply, keywords::spanTable(s.modelIndex), 0, 14, &s.spanIndex);
        break;
    case query::kRef:
        DecodeInteger(reply, &s.refLevel, valuelimits::kRefLevelMin, valuelimits::kRefLevelMax);
        break;
    case query::kUnit:
        DecodeKeyword(reply, keywords::kUnit, 0, 7, &s.unitIndex);
        // A field-strength unit is not a display unit of the spectrum: it selects dBm.
        if (s.unitIndex > 3) {
            s.unitIndex = 0;
        }
        break;
    case query::kRbw:
        DecodeKeyword(reply, keywords::kRbw, 0, 6, &s.rbwIndex);
        break;
    case query::kVbw:
        DecodeKeyword(reply, keywords::kVbw, 0, 8, &s.vbwIndex);
        break;
    case query::kMeas:
        DecodeKeyword(reply, keywords::kMeasure, 0, 5, &s.measureIndex);
        break;
    case query::kCpMode:
        DecodeWholeTable(reply, keywords::kCpMode, &s.cpMode);
        break;
    case query::kCpCenter:
        DecodeNumber(reply, &s.cpCenter);
        break;
    case query::kCpWidth:
        DecodeNumber(reply, &s.cpWidth, 0.0, kFreqMax);
        break;
    case query::kAcpMode:
        DecodeWholeTable(reply, keywords::kAcpMode, &s.acpMode);
        break;
    case query::kAcpOffset:
        DecodeNumber(reply, &s.acpOffset);
        break;
    case query::kAcpChannelBw:
        DecodeNumber(reply, &s.acpChannelBw, 0.0, kFreqMax);
        break;
    case query::kAcpRefCenter:
        DecodeNumber(reply, &s.acpRefCenter);
        break;
    case query::kAcpRefBw:
        DecodeNumber(reply, &s.acpRefBw, 0.0, kFreqMax);
        break;
    case query::kObwMode:
        DecodeWholeTable(reply, keywords::kObwMode, &s.obwMode);
        break;
    case query::kObwRatio:
        DecodeNumber(reply, &s.obwRatio, valuelimits::kObwRatioMin, valuelimits::kObwRatioMax);
        break;
    case query::kObwDb:
        DecodeNumber(reply, &s.obwDb, valuelimits::kObwDbMin, valuelimits::kObwDbMax);
        break;
    case query::kEfAntenna:
        DecodeKeyword(reply, keywords::kAntenna, 0, 4, &s.antennaIndex);
        break;
    case query::kMfProbe:
        DecodeWholeTable(reply, keywords::kProbe, &s.probeIndex);
        break;
    case query::kCalc:
        DecodeWholeTable(reply, keywords::kCalc, &s.calcIndex);
        break;
    case query::kMaxCount:
        DecodeCount(reply, &s.maxCount);
        break;
    case query::kMinCount:
        DecodeCount(reply, &s.minCount);
        break;
    case query::kAveCount:
        DecodeCount(reply, &s.aveCount);
        break;
    case query::kScale:
        DecodeWholeTable(reply, keywords::kScale, &s.scaleIndex);
        break;
    case query::kSweep:
        DecodeWholeTable(reply, keywords::kSweep, &s.sweepIndex);
        break;
    case query::kDetector:
        DecodeWholeTable(reply, keywords::kDetector, &s.detectorIndex);
        break;
    case query::kAutoTune:
        break;
    case query::kHold:
        return BeginsWithNoCase(reply, "OK") ? 1 : 0;
    case query::kMarkerMode:
        DecodeWholeTable(reply, keywords::kMarkerMode, &s.markerMode);
        break;
    case query::kNormMarker:
        DecodeNumber(reply, &s.normMarkerFreq);
        break;
    case query::kPeakMode:
        DecodeWholeTable(reply, keywords::kPeakMode, &s.peakMode);
        break;
    case query::kPeakCenter:
        DecodeNumber(reply, &s.peakZoneCenter);
        break;
    case query::kPeakWidth:
        DecodeNumber(reply, &s.peakZoneWidth, 0.0, kFreqMax);
        break;
    case query::kConversion:
        // The analyzer's conversion list has three entries.
        DecodeKeyword(reply, keywords::kConversion, 0, 2, &s.conversionIndex);
        break;
    case query::kRemote:
        s.remoteState = BeginsWithExact(reply, "ON") ? 1 : 0;
        break;
    case query::kOffset:
        DecodeNumber(reply, &s.levelOffset, valuelimits::kOffsetMin, valuelimits::kOffsetMax);
        break;
    case query::kImpedance:
        if (BeginsWithExact(reply, "50")) {
            s.impedanceIndex = 0;
        } else if (BeginsWithExact(reply, "75")) {
            s.impedanceIndex = 1;
        }
        break;
    case query::kCalcSpread:
        if (BeginsWithExact(reply, "ON")) {
            s.calcSpread = 1;
        } else if (BeginsWithExact(reply, "OFF")) {
            s.calcSpread = 0;
        }
        break;
    default:
        return 0;
    }
    return 1;
}
