#include "command_set.h"

#include "instrument_settings.h"
#include "keyword_tables.h"
#include "link_busy.h"
#include "link_view.h"
#include "live_link.h"
#include "query_decoding.h"
#include "reply_text.h"
#include "screen_record.h"
#include "serial_port.h"

#include <cstdio>
#include <cstring>

namespace {

// Keyword `index` of `table`, or nullptr when the index lies outside it.
template <std::size_t N> const char* KeywordAt(const char* const (&table)[N], int index) {
    return index >= 0 && index < keywords::count(table) ? table[index] : nullptr;
}

const char* SpanKeyword() {
    const int index = gSettings.spanIndex;
    if (index < 0 || index >= keywords::spanCount(gSettings.modelIndex)) {
        return nullptr;
    }
    return keywords::spanTable(gSettings.modelIndex)[index];
}

// The keyword argument of a keyword command, or nullptr for other codes.
const char* KeywordCommand(int code, const char** keyword) {
    const InstrumentSettings& s = gSettings;
    switch (code) {
    case cmd::kSpan:
        *keyword = SpanKeyword();
        return "SPAN%s\r\n";
    case cmd::kUnit:
        *keyword = KeywordAt(keywords::kUnit, s.unitIndex);
        return "UNIT%s\r\n";
    case cmd::kRbw:
        *keyword = KeywordAt(keywords::kRbw, s.rbwIndex);
        return "RBW%s\r\n";
    case cmd::kVbw:
        *keyword = KeywordAt(keywords::kVbw, s.vbwIndex);
        return "VBW%s\r\n";
    case cmd::kMeas:
        *keyword = KeywordAt(keywords::kMeasure, s.measureIndex);
        return "MEAS%s\r\n";
    case cmd::kCpMode:
        *keyword = KeywordAt(keywords::kCpMode, s.cpMode);
        return "CPMODE%s\r\n";
    case cmd::kAcpMode:
        *keyword = KeywordAt(keywords::kAcpMode, s.acpMode);
        return "ACPMODE%s\r\n";
    case cmd::kObwMode:
        *keyword = KeywordAt(keywords::kObwMode, s.obwMode);
        return "OBWMODE%s\r\n";
    case cmd::kEfAntenna:
        *keyword = KeywordAt(keywords::kAntenna, s.antennaIndex);
        return "EFANT%s\r\n";
    case cmd::kMfProbe:
        *keyword = KeywordAt(keywords::kProbe, s.probeIndex);
        return "MFPROBE%s\r\n";
    case cmd::kCalc:
        *keyword = KeywordAt(keywords::kCalc, s.calcIndex);
        return "CALC%s\r\n";
    case cmd::kScale:
        *keyword = KeywordAt(keywords::kScale, s.scaleIndex);
        return "SCALE%s\r\n";
    case cmd::kSweep:
        *keyword = KeywordAt(keywords::kSweep, s.sweepIndex);
        return "SWEEP%s\r\n";
    case cmd::kDetector:
        *keyword = KeywordAt(keywords::kDetector, s.detectorIndex);
        return "DET%s\r\n";
    case cmd::kMarkerMode:
        *keyword = KeywordAt(keywords::kMarkerMode, s.markerMode);
        return "MKR%s\r\n";
    case cmd::kPeakMode:
        *keyword = KeywordAt(keywords::kPeakMode, s.peakMode);
        return "PEAK%s\r\n";
    case cmd::kConversion:
        *keyword = KeywordAt(keywords::kConversion, s.conversionIndex);
        return "CONV%s\r\n";
    default:
        return nullptr;
    }
}

// The value of a "%.4f" command, or nullptr for other codes.
const char* FrequencyCommand(int code, double* value) {
    const InstrumentSettings& s = gSettings;
    switch (code) {
    case cmd::kFreq:
        *value = s.centerFreq;
        return "FREQ%.4f\r\n";
    case cmd::kCpCenter:
        *value = s.cpCenter;
        return "CPCNTR%.4f\r\n";
    case cmd::kCpWidth:
        *value = s.cpWidth;
        return "CPWIDTH%.4f\r\n";
    case cmd::kAcpOffset:
        *value = s.acpOffset;
        return "ACPOFS%.4f\r\n";
    case cmd::kAcpChannelBw:
        *value = s.acpChannelBw;
        return "ACPCHBW%.4f\r\n";
    case cmd::kAcpRefCenter:
        *value = s.acpRefCenter;
        return "ACPREF%.4f\r\n";
    case cmd::kAcpRefBw:
        *value = s.acpRefBw;
        return "ACPREFBW%.4f\r\n";
    case cmd::kObwRatio:
        *value = s.obwRatio;
        return "OBWRATIO%.4f\r\n";
    case cmd::kObwDb:
        *value = s.obwDb;
        return "OBWDB%.4f\r\n";
    case cmd::kNormMarker:
        *value = s.normMarkerFreq;
        return "NORMMKR%.4f\r\n";
    case cmd::kPeakCenter:
        *value = s.peakZoneCenter;
        return "PKCNTR%.4f\r\n";
    case cmd::kPeakWidth:
        *value = s.peakZoneWidth;
        return "PKWIDTH%.4f\r\n";
    default:
        return nullptr;
    }
}

// The text of the commands without a value.
const char* FixedCommand(int code) {
    const InstrumentSettings& s = gSettings;
    switch (code) {
    case cmd::kMeasRes:
        return "MEASRES\r\n";
    case cmd::kAutoTune:
        return "AUTO\r\n";
    case cmd::kRunHold:
        return s.runState != 0 ? "RUN\r\n" : "HOLD\r\n";
    case cmd::kScreenCurrent:
        return "SRSCURR\r\n";
    case cmd::kScreenFull:
        return "SRSF\r\n";
    case cmd::kVersion:
        return "VER\r\n";
    case cmd::kMarkerToCenter:
        return "FREQSETMKR\r\n";
    case cmd::kPreset:
        return "PRESET\r\n";
    case cmd::kRemote:
        return s.remoteState != 0 ? "REMOTEON\r\n" : "REMOTEOFF\r\n";
    case cmd::kImpedance:
        return s.impedanceIndex == 0 ? "IMP50\r\n"
                                     : (s.impedanceIndex == 1 ? "IMP75\r\n" : nullptr);
    default:
        return nullptr;
    }
}

// Puts `text` into `out` only when it fits whole.
int Emit(char* out, int size, int written) {
    if (written < 0 || written >= size) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}

// Firmware version from the "VER" reply: after "V" from its 4th character, after "M" from its
// 17th, otherwise from its 19th; a reply shorter than that gives an empty text.
void StoreVersion(const char* reply) {
    const size_t skip = reply[0] == 'V' ? 3 : (reply[0] == 'M' ? 16 : 18);
    const size_t length = std::strlen(reply);
    const char* from = length > skip ? reply + skip : reply + length;
    std::snprintf(gSettings.versionText, sizeof gSettings.versionText, "%s", from);
}

bool IsOkCheckedCommand(int code) {
    return code != cmd::kMeasRes && code != cmd::kScreenCurrent && code != cmd::kScreenFull &&
           code != cmd::kVersion;
}

class WaitCursor {
public:
    WaitCursor() { LinkViewRef().SetWaitCursor(true); }
    ~WaitCursor() { LinkViewRef().SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

int BuildCommandText(int code, char* out, int size) {
    if (out == nullptr || size <= 0) {
        return 0;
    }
    out[0] = '\0';
    const InstrumentSettings& s = gSettings;
    if (const char* keywordQuery = QueryKeyword(code)) {
        return Emit(out, size,
                    std::snprintf(out, static_cast<size_t>(size), "%s\r\n", keywordQuery));
    }
    const char* keyword = nullptr;
    if (const char* format = KeywordCommand(code, &keyword)) {
        if (keyword == nullptr) {
            return 0;
        }
        return Emit(out, size, std::snprintf(out, static_cast<size_t>(size), format, keyword));
    }
    double value = 0.0;
    if (const char* format = FrequencyCommand(code, &value)) {
        return Emit(out, size, std::snprintf(out, static_cast<size_t>(size), format, value));
    }
    if (const char* text = FixedCommand(code)) {
        return Emit(out, size, std::snprintf(out, static_cast<size_t>(size), "%s", text));
    }
    int written = -1;
    switch (code) {
    case cmd::kRef:
        written = std::snprintf(out, static_cast<size_t>(size), "REF%d\r\n", s.refLevel);
        break;
    case cmd::kMaxCount:
        written = std::snprintf(out, static_cast<size_t>(size), "MAXNO%d\r\n", s.maxCount);
        break;
    case cmd::kMinCount:
        written = std::snprintf(out, static_cast<size_t>(size), "MINNO%d\r\n", s.minCount);
        break;
    case cmd::kAveCount:
        written = std::snprintf(out, static_cast<size_t>(size), "AVENO%d\r\n", s.aveCount);
        break;
    case cmd::kPeakSearch:
        written =
            std::snprintf(out, static_cast<size_t>(size), "PKSEARCH%02d\r\n", s.peakSearchNo + 1);
        break;
    case cmd::kOffset:
        written = std::snprintf(out, static_cast<size_t>(size), "OFFSET%2.1f\r\n", s.levelOffset);
        break;
    default:
        return 0;
    }
    return Emit(out, size, written);
}

int WriteCommand(int code) {
    if (BuildCommandText(code, gSettings.txBuffer, kTxBufferSize) == 0) {
        return 0;
    }
    if (WriteTxBuffer() == 0) {
        Reconnect();
        return 0;
    }
    return 1;
}

int TakeReply(int code) {
    const char* reply = gSettings.rxBuffer;
    if (BeginsWithNoCase(reply, "Read error") || BeginsWithNoCase(reply, "ERR")) {
        return 0;
    }
    if (QueryKeyword(code) != nullptr) {
        return DecodeQueryReply(code, reply);
    }
    switch (code) {
    case cmd::kScreenCurrent:
        ParseScreenRecord(250);
        return 1;
    case cmd::kScreenFull:
        ParseScreenRecord(1000);
        return 1;
    case cmd::kVersion:
        StoreVersion(reply);
        return 1;
    default:
        break;
    }
    if (!IsOkCheckedCommand(code)) {
        return 1;
    }
    return BeginsWithNoCase(reply, "OK") ? 1 : 0;
}

int SendCommand(int code) {
    // A live-loop transaction in flight ends first: its reply is never taken for this one.
    SettleLiveLoop();
    LinkBusyScope busy;
    WaitCursor cursor;
    if (WriteCommand(code) == 0) {
        return 0;
    }
    CommPort(portop::kRead);
    return TakeReply(code);
}
