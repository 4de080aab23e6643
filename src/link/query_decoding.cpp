#include "query_decoding.h"

#include "command_codes.h"
#include "instrument_settings.h"
#include "keyword_match.h"
#include "keyword_tables.h"
#include "reply_text.h"
#include "setting_fields.h"
#include "value_limits.h"

#include <array>
#include <string>

namespace {

// The query keywords by code ("FREQ?" for 200): a setting's keyword and "?", or the queries
// that read no setting.
struct QueryTexts {
    std::array<std::string, query::kLast - query::kFirst + 1> texts;
    QueryTexts() {
        texts[query::kAutoTune - query::kFirst] = "AUTO?";
        texts[query::kHold - query::kFirst] = "HOLD?";
        for (const fields::SettingField& f : fields::all()) {
            if (f.query != 0) {
                texts[static_cast<std::size_t>(f.query - query::kFirst)] =
                    std::string(f.keyword) + "?";
            }
        }
    }
};

const QueryTexts& Queries() {
    static const QueryTexts queries;
    return queries;
}

void DecodeField(const fields::SettingField& f, const char* reply) {
    InstrumentSettings& s = gSettings;
    switch (f.kind) {
    case fields::Kind::Number: {
        const double hi = f.replyModelMax ? valuelimits::centerFreqMax(s.modelIndex) : f.reply.hi;
        double value = 0.0;
        if (ReplyNumber(reply, &value)) {
            valuelimits::storeInRange(&(s.*f.number), value, f.reply.lo, hi);
        }
        break;
    }
    case fields::Kind::Integer: {
        int value = 0;
        if (ReplyInteger(reply, &value)) {
            valuelimits::storeInRange(&(s.*f.integer), value, static_cast<int>(f.reply.lo),
                                      static_cast<int>(f.reply.hi));
        }
        break;
    }
    case fields::Kind::Keyword: {
        const fields::Words words = fields::wordsOf(f, s.modelIndex);
        const int last = f.replyLast >= 0 ? f.replyLast : words.count - 1;
        const int position = keywords::matchKeyword(reply, words.words, words.count, 0, last);
        if (position >= 0) {
            s.*f.integer = position;
        }
        break;
    }
    case fields::Kind::Flag:
        // Byte for byte: "ON" or "OFF".
        if (BeginsWithExact(reply, f.words[1])) {
            s.*f.integer = 1;
        } else if (BeginsWithExact(reply, f.words[0])) {
            s.*f.integer = 0;
        } else if (f.replyOtherwise >= 0) {
            s.*f.integer = f.replyOtherwise;
        }
        break;
    }
    if (f.afterReply != nullptr) {
        f.afterReply(s);
    }
}

} // namespace

const char* QueryKeyword(int code) {
    if (code < query::kFirst || code > query::kLast) {
        return nullptr;
    }
    const std::string& text = Queries().texts[static_cast<std::size_t>(code - query::kFirst)];
    return text.empty() ? nullptr : text.c_str();
}

int DecodeQueryReply(int code, const char* reply) {
    if (const fields::SettingField* f = fields::byQuery(code)) {
        DecodeField(*f, reply);
        return 1;
    }
    switch (code) {
    case query::kAutoTune:
        return 1;
    case query::kHold:
        return BeginsWithNoCase(reply, "OK") ? 1 : 0;
    default:
        return 0;
    }
}
