#pragma once
// The simulated analyzer: reads one command line at a time and answers as the instrument does.
// Replies that come later (the "COMP" of a capture, the "OK" of auto tuning) are timed events.

#include "analyzer_state.h"
#include "field_strength.h"
#include "setting_fields.h"
#include "sim_options.h"
#include "spectrum_model.h"
#include "trace_memory.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

using Clock = std::chrono::steady_clock;

struct Reply {
    std::string command; // canonical name of the command answered ("FREQ?", "CAPT", ...)
    std::string text;    // bytes to send, line end included
};

struct StoredMemory {
    bool hasParams = false;
    bool hasTrace = false;
    AnalyzerState params;
    std::vector<uint8_t> points; // 251 level bytes
};

inline constexpr int kMemoryCount = 100;

// Where the analyzer keeps a setting of the field table and the values it takes: a number within
// lo..hi (hi 0: up to the model's highest frequency), an integer within lo..hi, a keyword of the
// table up to position hi.
struct FieldBinding {
    int command; // the row's command code
    int AnalyzerState::*index = nullptr;
    double AnalyzerState::*number = nullptr;
    double lo = 0.0;
    double hi = 0.0;
    bool coupled = true; // a change restarts the trace and applies the couplings
};
// The binding of a row, or nullptr when the analyzer keeps that setting by a rule of its own.
const FieldBinding* fieldBinding(const fields::SettingField* field);

class Analyzer {
public:
    explicit Analyzer(const SimOptions& options);

    // One received line without its line end. Returns the replies to send at once.
    std::vector<Reply> handleLine(const std::string& line, Clock::time_point now);

    // When the next timed reply is due, if any.
    std::optional<Clock::time_point> nextEvent() const;

    // The timed replies due at now.
    std::vector<Reply> runDueEvents(Clock::time_point now);

    const AnalyzerState& state() const { return state_; }

private:
    Reply settingCommand(const std::string& name, const std::string& value, Clock::time_point now);
    Reply tableSetting(const fields::SettingField& field, const FieldBinding& binding,
                       const std::string& value);
    std::string query(const std::string& name) const;
    std::string screenRecord(int points, Clock::time_point now);
    std::string memoryRecord(int number) const;
    void settingsChanged();
    void catchUpSweeps(Clock::time_point now);
    void doSweep();
    void autoTune();
    void fillMemories(int count);

    SimOptions options_;
    AnalyzerState state_;
    SpectrumModel spectrum_;
    TraceMemory trace_;
    UserTables userTables_;
    std::array<StoredMemory, kMemoryCount> memories_;
    std::optional<Clock::time_point> captureDone_;
    std::optional<Clock::time_point> autoTuneDone_;
    Clock::time_point lastSweep_{};
};

} // namespace sim
