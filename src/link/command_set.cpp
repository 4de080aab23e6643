#include "command_set.h"

#include "instrument_settings.h"
#include "link_busy.h"
#include "link_state.h"
#include "link_view.h"
#include "live_link.h"
#include "query_decoding.h"
#include "reply_text.h"
#include "screen_record.h"
#include "serial_port.h"
#include "setting_fields.h"

#include <cstdio>
#include <cstring>

namespace {

// The text of setting row `f` with `value` in place of the record's; -1 when there is none (an
// index outside its table).
int FieldText(const fields::SettingField& f, double value, char* out, size_t size) {
    char format[32];
    if (f.kind == fields::Kind::Number) {
        std::snprintf(format, sizeof format, "%s%s\r\n", f.keyword, f.wireFormat);
        return std::snprintf(out, size, format, value);
    }
    // Only a number row may hold a value an int cannot (a frequency, say).
    if (!(value >= -2147483648.0 && value <= 2147483647.0)) {
        return -1;
    }
    const int index = static_cast<int>(value);
    if (f.kind == fields::Kind::Keyword || f.kind == fields::Kind::Flag) {
        const fields::Words words = fields::wordsOf(f, gSettings.modelIndex);
        const int position = f.kind == fields::Kind::Flag ? (index != 0 ? 1 : 0) : index;
        if (position < 0 || position >= words.count) {
            return -1;
        }
        return std::snprintf(out, size, "%s%s\r\n", f.keyword, words.words[position]);
    }
    std::snprintf(format, sizeof format, "%s%s\r\n", f.keyword, f.wireFormat);
    return std::snprintf(out, size, format, index + f.wireOffset);
}

// The value row `f` holds in the record.
double RecordValue(const fields::SettingField& f) {
    return f.kind == fields::Kind::Number ? gSettings.*f.number
                                          : static_cast<double>(gSettings.*f.integer);
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

int BuildSettingText(int code, double value, char* out, int size) {
    if (out == nullptr || size <= 0) {
        return 0;
    }
    out[0] = '\0';
    const fields::SettingField* f = fields::byCommand(code);
    if (f == nullptr) {
        return 0;
    }
    return Emit(out, size, FieldText(*f, value, out, static_cast<size_t>(size)));
}

int BuildCommandText(int code, char* out, int size) {
    if (out == nullptr || size <= 0) {
        return 0;
    }
    out[0] = '\0';
    if (const char* keywordQuery = QueryKeyword(code)) {
        return Emit(out, size,
                    std::snprintf(out, static_cast<size_t>(size), "%s\r\n", keywordQuery));
    }
    if (const fields::SettingField* f = fields::byCommand(code)) {
        return BuildSettingText(code, RecordValue(*f), out, size);
    }
    if (const char* text = FixedCommand(code)) {
        return Emit(out, size, std::snprintf(out, static_cast<size_t>(size), "%s", text));
    }
    return 0;
}

namespace {

// Writes the text built into txBuffer; on failure reconnects.
int WriteBuilt(int built) {
    if (built == 0) {
        return 0;
    }
    if (WriteTxBuffer() == 0) {
        Reconnect();
        return 0;
    }
    return 1;
}

// One whole transaction for `code` whose text `build` puts into txBuffer.
template <typename Build> int Transact(int code, Build build) {
    // A live-loop transaction in flight ends first: its reply is never taken for this one.
    SettleLiveLoop();
    LinkBusyScope busy;
    WaitCursor cursor;
    if (WriteBuilt(build()) == 0) {
        return 0;
    }
    CommPort(portop::kRead);
    return TakeReply(code);
}

} // namespace

int WriteCommand(int code) {
    return WriteBuilt(BuildCommandText(code, gLink.txBuffer, kTxBufferSize));
}

int TakeReply(int code) {
    const char* reply = gLink.rxBuffer;
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
    return Transact(code, [code] { return BuildCommandText(code, gLink.txBuffer, kTxBufferSize); });
}

namespace {

// How long a command waits after the change before it, and how often it is tried.
struct Settle {
    int code;
    int waitMs;
    int tries;
};
constexpr Settle kSettles[] = {
    {cmd::kEfAntenna, 300, 5},
    {cmd::kMfProbe, 2000, 10},
    {cmd::kMarkerToCenter, 20, 1},
};

} // namespace

int SendSettledCommand(int code) {
    for (const Settle& settle : kSettles) {
        if (settle.code == code) {
            WaitMilliseconds(settle.waitMs);
            int result = 0;
            for (int i = 0; i < settle.tries && result == 0; ++i) {
                result = SendCommand(code);
            }
            return result;
        }
    }
    return SendCommand(code);
}

int SendAutoCoupling(int code) {
    if (code != cmd::kRbw && code != cmd::kVbw && code != cmd::kSweep) {
        return 0;
    }
    std::snprintf(gLink.txBuffer, sizeof gLink.txBuffer, "%sAUTO\r\n",
                  fields::byCommand(code)->keyword);
    CommPort(portop::kWrite);
    CommPort(portop::kRead);
    return std::strcmp(gLink.rxBuffer, "OK") == 0 ? 1 : 0;
}

int SendSetting(int code, double value) {
    return Transact(code, [code, value] {
        return BuildSettingText(code, value, gLink.txBuffer, kTxBufferSize);
    });
}
