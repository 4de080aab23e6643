#pragma once
// The one table of the record's settings: for each its wire command and query, its kind, where it
// lives in the settings record, its keyword table, the values a reply may store, and its line in
// the settings file. The command builder, the reply decoder, the settings file and the simulator
// all read it, so a new setting is one row here.

#include "instrument_settings.h"

#include <span>
#include <string_view>

namespace fields {

enum class Kind {
    Number,  // a double; on the wire with `wireFormat`
    Keyword, // an index into the keyword table; on the wire its keyword
    Integer, // an int; on the wire with `wireFormat` after adding `wireOffset`
    Flag,    // an int sent as the second keyword when set, the first when clear
};

// How the settings file reads a line back.
enum class FileRule {
    None,       // not in the file
    Index,      // integer; outside lo..hi keeps the current value
    Clamped,    // integer clamped into lo..hi
    Port,       // port index; outside lo..hi leaves the port closed
    Frequency,  // number; outside lo..hi keeps the current value
    Limited,    // number clamped into lo..hi
    AlwaysZero, // the field is set to 0 whatever the value
};

struct Range {
    double lo = 0.0;
    double hi = 0.0;
};

struct SettingField {
    int command = 0;               // SendCommand code of the setting command; 0 for none
    int query = 0;                 // query code ("keyword?"); 0 for none
    const char* keyword = nullptr; // wire keyword: the command is the keyword and its value
    Kind kind = Kind::Integer;
    double InstrumentSettings::*number = nullptr; // Number
    int InstrumentSettings::*integer = nullptr;   // Keyword, Integer, Flag
    const char* wireFormat = nullptr;             // Number and Integer
    int wireOffset = 0;
    const char* const* words = nullptr; // keyword table (Keyword, Flag); the span row by model
    bool spanRow = false;
    int replyLast = -1;         // last keyword position a reply may select; -1: the whole table
    Range reply{};              // numbers and integers a reply may store
    bool replyModelMax = false; // a reply's upper limit is the model's highest centre frequency
    int replyOtherwise = -1;    // Flag: the value an unmatched reply stores; -1 keeps the field
    void (*afterReply)(InstrumentSettings&) = nullptr;
    const char* fileKey = nullptr; // settings-file key, nullptr when not in the file
    FileRule fileRule = FileRule::None;
    Range file{};
    const char* fileFormat = nullptr; // printf format of the file value
};

// Every row, in the order of the settings file.
std::span<const SettingField> all();

// The row of a setting command code, a query code or a wire keyword (letters as sent); nullptr
// when there is none.
const SettingField* byCommand(int code);
const SettingField* byQuery(int code);
const SettingField* byKeyword(std::string_view keyword);

// The keyword table of a row for a model: its words and their count (0 for rows without one).
struct Words {
    const char* const* words = nullptr;
    int count = 0;
};
Words wordsOf(const SettingField& field, int modelIndex);

} // namespace fields
