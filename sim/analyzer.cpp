#include "analyzer.h"

#include "command_codes.h"
#include "hard_copy.h"
#include "keyword_tables.h"
#include "measurement_result.h"
#include "screen_record.h"
#include "setting_fields.h"
#include "value_text.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace sim {

namespace {

// The commands that set no one field of the table, or by a rule of their own.
constexpr const char* kOwnCommands[] = {
    "MEASRES", "AUTO",     "RUN",       "HOLD",  "SRSCURR", "SRSF",    "VER",       "FREQSETMKR",
    "PRESET",  "REMOTEON", "REMOTEOFF", "CAPT",  "RBWAUTO", "VBWAUTO", "SWEEPAUTO", "PRT",
    "SRS",     "MCLRSALL", "MCLRWALL",  "MCLRS", "MCLRW",   "EFUSER",  "MFUSER",    "CALCSPR"};

using S = AnalyzerState;
const FieldBinding kBindings[] = {
    {cmd::kFreq, nullptr, &S::centerFreq},
    {cmd::kSpan, &S::spanIndex},
    {cmd::kRef, &S::refLevel, nullptr, -60, 10},
    {cmd::kUnit, &S::unitIndex, nullptr, 0, 3},
    {cmd::kOffset, nullptr, &S::levelOffset, -50.0, 50.0},
    {cmd::kImpedance, &S::impedanceIndex, nullptr, 0, 1},
    {cmd::kSweep, &S::sweepIndex},
    {cmd::kDetector, &S::wantedDetector, nullptr, 0, 2},
    {cmd::kRbw, &S::rbwIndex},
    {cmd::kVbw, &S::vbwIndex},
    {cmd::kMarkerMode, &S::markerMode, nullptr, 0, 1},
    {cmd::kPeakMode, &S::peakMode, nullptr, 0, 1, false},
    {cmd::kNormMarker, nullptr, &S::normMarkerFreq, 0, 0, false},
    {cmd::kPeakCenter, nullptr, &S::peakZoneCenter, 0, 0, false},
    {cmd::kPeakWidth, nullptr, &S::peakZoneWidth, 0, 0, false},
    {cmd::kConversion, &S::conversionIndex, nullptr, 0, 3, false},
    {cmd::kMeas, &S::measureIndex, nullptr, 0, 6},
    {cmd::kCpMode, &S::cpMode, nullptr, 0, 1},
    {cmd::kCpCenter, nullptr, &S::cpCenter},
    {cmd::kCpWidth, nullptr, &S::cpWidth},
    {cmd::kAcpMode, &S::acpMode, nullptr, 0, 2},
    {cmd::kAcpRefCenter, nullptr, &S::acpRefCenter},
    {cmd::kAcpRefBw, nullptr, &S::acpRefBw},
    {cmd::kAcpOffset, nullptr, &S::acpOffset},
    {cmd::kAcpChannelBw, nullptr, &S::acpChannelBw},
    {cmd::kObwMode, &S::obwMode, nullptr, 0, 1},
    {cmd::kObwRatio, nullptr, &S::obwRatio, 80.0, 99.9},
    {cmd::kObwDb, nullptr, &S::obwDb, 0.1, 80.0},
    {cmd::kEfAntenna, &S::antennaIndex},
    {cmd::kMfProbe, &S::probeIndex, nullptr, 0, 1},
    {cmd::kCalc, &S::calcIndex, nullptr, 0, 4},
    {cmd::kMaxCount, &S::maxCount},
    {cmd::kMinCount, &S::minCount},
    {cmd::kAveCount, &S::aveCount},
    {cmd::kScale, &S::scaleIndex, nullptr, 0, 1},
};

const std::string kOk = "OK\r\n";
const std::string kErr = "ERR\r\n";

// Position of a keyword in a table, the whole value compared without regard to case.
template <size_t N>
int keywordIndex(const char* const (&table)[N], const std::string& value, int last) {
    for (int i = 0; i <= last && i < static_cast<int>(N) - 1; ++i)
        if (equalsNoCase(value, table[i]))
            return i;
    return -1;
}

int spanKeywordIndex(int model, const std::string& value) {
    const char* const* table = keywords::spanTable(model);
    for (int i = 0; i < keywords::spanCount(model); ++i)
        if (equalsNoCase(value, table[i]))
            return i;
    return -1;
}

bool isPowerOfTwo(long n) {
    return n > 0 && (n & (n - 1)) == 0;
}

std::string line(const std::string& text) {
    return text + "\r\n";
}

} // namespace

const FieldBinding* fieldBinding(const fields::SettingField* field) {
    if (field == nullptr)
        return nullptr;
    for (const FieldBinding& b : kBindings)
        if (b.command == field->command)
            return &b;
    return nullptr;
}

Analyzer::Analyzer(const SimOptions& options)
    : options_(options), state_(presetState(options.modelIndex)),
      spectrum_(options.signals.empty() ? defaultSignals() : options.signals, options.seed) {
    fillMemories(options.memories);
}

void Analyzer::fillMemories(int count) {
    // Distinct stored screens: the same scene seen at different centres and spans.
    for (int n = 0; n < count && n < kMemoryCount; ++n) {
        AnalyzerState s = presetState(state_.modelIndex);
        s.spanIndex = 4 + n % 8;
        s.centerFreq = 1.0e9 + (n % 5 - 2) * 1.0e6 * (n + 1);
        s.refLevel = -(n % 4) * 10;
        applyCouplings(s);
        SweepLevels levels = spectrum_.sweep(s);
        memories_[n].params = s;
        memories_[n].points = screenPoints(s, levels, 251);
        memories_[n].hasParams = true;
        memories_[n].hasTrace = true;
    }
}

void Analyzer::settingsChanged() {
    applyCouplings(state_);
    trace_.restart();
}

void Analyzer::doSweep() {
    trace_.addSweep(state_, spectrum_.sweep(state_));
}

void Analyzer::catchUpSweeps(Clock::time_point now) {
    if (!state_.running) {
        if (!trace_.valid())
            doSweep();
        return;
    }
    auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(keywords::kSweepSeconds[state_.sweepIndex]));
    if (!trace_.valid()) {
        doSweep();
        lastSweep_ = now;
        return;
    }
    // Sweeps that finished since the last look. Only the last one shows without a calculation;
    // with one, a long absence counts as a few sweeps so that the reply is not held up.
    long done = period.count() > 0 ? static_cast<long>((now - lastSweep_) / period) : 0;
    const long worth = state_.calcIndex == 0 || state_.calcIndex == 4 ? 1 : 8;
    for (long i = 0; i < std::min(done, worth); ++i)
        doSweep();
    if (done > 0)
        lastSweep_ += period * done;
}

std::string Analyzer::screenRecord(int points, Clock::time_point now) {
    catchUpSweeps(now);
    return formatScreenRecord(state_, screenPoints(state_, trace_.levels(), points), -1,
                              recordReference(state_, userTables_));
}

std::string Analyzer::memoryRecord(int number) const {
    const StoredMemory& m = memories_[number];
    AnalyzerState params = m.hasParams ? m.params : presetState(state_.modelIndex);
    std::vector<uint8_t> points = m.hasTrace ? m.points : std::vector<uint8_t>(251, 0);
    return formatScreenRecord(params, points, number, recordReference(params, userTables_));
}

std::optional<Clock::time_point> Analyzer::nextEvent() const {
    std::optional<Clock::time_point> next = captureDone_;
    if (autoTuneDone_ && (!next || *autoTuneDone_ < *next))
        next = autoTuneDone_;
    return next;
}

std::vector<Reply> Analyzer::runDueEvents(Clock::time_point now) {
    std::vector<Reply> replies;
    if (captureDone_ && *captureDone_ <= now) {
        captureDone_.reset();
        doSweep();
        lastSweep_ = now;
        replies.push_back({"CAPT", "COMP\r\n"});
    }
    if (autoTuneDone_ && *autoTuneDone_ <= now) {
        autoTuneDone_.reset();
        autoTune();
        replies.push_back({"AUTO", kOk});
    }
    return replies;
}

void Analyzer::autoTune() {
    // Centre on the strongest signal the model can receive, with a span that shows its
    // neighbourhood and a reference just above it.
    const SignalSpec* best = nullptr;
    for (const SignalSpec& s : spectrum_.signals())
        if (s.frequency <= maxFrequency(state_.modelIndex) && (!best || s.level > best->level))
            best = &s;
    if (best) {
        state_.centerFreq = best->frequency;
        int ref = static_cast<int>(std::ceil((best->level + 5.0) / 10.0) * 10.0);
        state_.refLevel = std::clamp(ref, -60, 10);
    }
    state_.spanIndex = 7;
    state_.rbwAuto = state_.vbwAuto = state_.sweepAuto = true;
    settingsChanged();
}

std::vector<Reply> Analyzer::handleLine(const std::string& rawLine, Clock::time_point now) {
    if (rawLine.empty())
        return {{"EMPTY", kErr}};
    const std::string upper = toUpper(rawLine);
    if (upper.back() == '?') {
        std::string name = upper.substr(0, upper.size() - 1);
        const fields::SettingField* field = fields::byKeyword(name);
        if ((field && field->query != 0) || name == "AUTO" || name == "HOLD")
            return {{name + "?", query(name)}};
        return {{"UNKNOWN", kErr}};
    }
    std::string name;
    auto consider = [&](const char* c) {
        if (upper.rfind(c, 0) == 0 && std::string(c).size() > name.size())
            name = c;
    };
    for (const fields::SettingField& f : fields::all())
        if (f.command != 0 && f.kind != fields::Kind::Flag)
            consider(f.keyword);
    for (const char* c : kOwnCommands)
        consider(c);
    if (name.empty())
        return {{"UNKNOWN", kErr}};
    return {settingCommand(name, rawLine.substr(name.size()), now)};
}

Reply Analyzer::settingCommand(const std::string& name, const std::string& value,
                               Clock::time_point now) {
    AnalyzerState& s = state_;
    const int model = s.modelIndex;
    auto ok = [&] { return Reply{name, kOk}; };
    auto err = [&] { return Reply{name, kErr}; };
    auto changed = [&] {
        settingsChanged();
        return ok();
    };
    // Commands without a value refuse anything after the name.
    static const char* const kNoValue[] = {
        "MEASRES", "AUTO",       "RUN",       "HOLD",     "SRSCURR",   "SRSF",
        "VER",     "FREQSETMKR", "PRESET",    "REMOTEON", "REMOTEOFF", "CAPT",
        "RBWAUTO", "VBWAUTO",    "SWEEPAUTO", "PRT",      "MCLRSALL",  "MCLRWALL"};
    for (const char* n : kNoValue)
        if (name == n && !value.empty())
            return err();

    if (name == "FREQ") {
        double v = 0;
        if (!parseDecimal(value, v) || v < 0 || v > maxFrequency(model))
            return err();
        // In the full span the centre is fixed; the value waits for the span to narrow.
        if (isFullSpan(s))
            s.centerBeforeFullSpan = v;
        else
            s.centerFreq = v;
        return changed();
    }
    if (name == "SPAN") {
        int i = spanKeywordIndex(model, value);
        if (i < 0)
            return err();
        bool wasFull = isFullSpan(s);
        s.spanIndex = i;
        if (isFullSpan(s) && !wasFull) {
            s.centerBeforeFullSpan = s.centerFreq;
            s.centerFreq = maxFrequency(model) / 2;
        } else if (wasFull && !isFullSpan(s)) {
            s.centerFreq = s.centerBeforeFullSpan;
        }
        if (spanExcludesFastestSweep(s) && s.sweepIndex == 0)
            s.sweepIndex = 1;
        return changed();
    }
    if (name == "RBW") {
        int i = keywordIndex(keywords::kRbw, value, 6);
        if (i < 0)
            return err();
        s.rbwIndex = i;
        s.rbwAuto = false;
        return changed();
    }
    if (name == "VBW") {
        int i = keywordIndex(keywords::kVbw, value, 10);
        if (i < 0 || i == 9)
            return err();
        s.vbwIndex = i;
        s.vbwAuto = false;
        return changed();
    }
    if (name == "MEASRES") {
        catchUpSweeps(now);
        return {name,
                line(measurementResult(s, trace_.levels(), spectrum_.signals(), userTables_))};
    }
    if (name == "EFANT") {
        int i = keywordIndex(keywords::kAntenna, value, 6);
        if (i < 0 || (i == 6 && model == 0)) // AT16 exists on the RVX420 only
            return err();
        s.antennaIndex = i;
        return changed();
    }
    if (name == "MAXNO" || name == "MINNO" || name == "AVENO") {
        long v = 0;
        bool average = name == "AVENO";
        if (!parseInteger(value, v) || (v == 0 && average) ||
            (v != 0 && (!isPowerOfTwo(v) || v < 2 || v > (average ? 256 : 1024))))
            return err();
        (name == "MAXNO"   ? s.maxCount
         : name == "MINNO" ? s.minCount
                           : s.aveCount) = static_cast<int>(v);
        return changed();
    }
    if (name == "SWEEP") {
        int i = keywordIndex(keywords::kSweep, value, 7);
        if (i < 0 || (i == 0 && spanExcludesFastestSweep(s)))
            return err();
        s.sweepAuto = false;
        s.sweepIndex = i;
        return changed();
    }
    if (name == "AUTO") {
        autoTuneDone_ = now + std::chrono::milliseconds(options_.autoTuneMs);
        return {name, ""}; // the "OK" follows when tuning is done
    }
    if (name == "RUN" || name == "HOLD") {
        s.running = name == "RUN";
        lastSweep_ = now;
        return ok();
    }
    if (name == "PKSEARCH") {
        long v = 0;
        if (value.size() < 2 || !parseInteger(value, v) || v < 1 || v > 99)
            return err();
        s.peakSearchNo = static_cast<int>(v - 1);
        // The marker goes to the n-th highest peak of the displayed trace.
        catchUpSweeps(now);
        const SweepLevels& levels = trace_.levels();
        std::vector<std::pair<double, int>> peaks;
        for (int x = 0; x < kPositions; ++x) {
            bool peak = true;
            for (int d = -4; d <= 4 && peak; ++d)
                if (d != 0 && x + d >= 0 && x + d < kPositions && levels[x + d] > levels[x])
                    peak = false;
            if (peak)
                peaks.emplace_back(levels[x], x);
        }
        std::sort(peaks.begin(), peaks.end(), [](auto& a, auto& b) { return a.first > b.first; });
        if (s.peakSearchNo < static_cast<int>(peaks.size()))
            s.normMarkerFreq = positionFrequency(s, peaks[s.peakSearchNo].second);
        return ok();
    }
    if (name == "SRSCURR")
        return {name, screenRecord(251, now)};
    if (name == "SRSF")
        return {name, screenRecord(1001, now)};
    if (name == "VER")
        return {name, format("VER1.05 %s\r\n", keywords::kModelName[model])};
    if (name == "FREQSETMKR") {
        if (isFullSpan(s) || isZeroSpan(s))
            return err();
        s.centerFreq = s.normMarkerFreq;
        return changed();
    }
    if (name == "PRESET") {
        bool remote = s.remote;
        state_ = presetState(model);
        state_.remote = remote;
        captureDone_.reset();
        autoTuneDone_.reset();
        settingsChanged();
        return ok();
    }
    if (name == "REMOTEON" || name == "REMOTEOFF") {
        s.remote = name == "REMOTEON";
        return ok();
    }
    if (name == "CAPT") {
        captureDone_ =
            now + std::chrono::duration_cast<Clock::duration>(
                      std::chrono::duration<double>(keywords::kSweepSeconds[s.sweepIndex]));
        return {name, ""}; // "COMP" follows when the sweep is done
    }
    if (name == "RBWAUTO" || name == "VBWAUTO" || name == "SWEEPAUTO") {
        (name == "RBWAUTO" ? s.rbwAuto : name == "VBWAUTO" ? s.vbwAuto : s.sweepAuto) = true;
        return changed();
    }
    if (name == "PRT") {
        catchUpSweeps(now);
        const Picture picture = renderScreen(s, screenPoints(s, trace_.levels(), 251));
        if (!options_.picturePath.empty()) {
            std::ofstream(options_.picturePath, std::ios::binary | std::ios::trunc)
                << pictureAsPbm(picture);
        }
        return {name, shapeHardCopy(encodeHardCopy(picture),
                                    options_.prtNoise ? options_.garbage : std::string(),
                                    static_cast<int>(options_.prtCapitalBand), options_.prtTail)};
    }
    if (name == "SRS") {
        long n = 0;
        if (value.size() != 2 || !parseInteger(value, n) || n < 0 || n >= kMemoryCount)
            return err();
        return {name, memoryRecord(static_cast<int>(n))};
    }
    if (name == "MCLRSALL" || name == "MCLRWALL") {
        for (StoredMemory& m : memories_)
            (name == "MCLRSALL" ? m.hasParams : m.hasTrace) = false;
        return ok();
    }
    if (name == "MCLRS" || name == "MCLRW") {
        long n = 0;
        if (!parseInteger(value, n) || n < 1 || n > kMemoryCount)
            return err();
        (name == "MCLRS" ? memories_[n - 1].hasParams : memories_[n - 1].hasTrace) = false;
        return ok();
    }
    if (name == "EFUSER" || name == "MFUSER") {
        CorrectionTable table;
        if (!parseUserTable(value, table))
            return err();
        (name == "EFUSER" ? userTables_.antenna : userTables_.probe) = table;
        return changed();
    }
    if (name == "CALCSPR") {
        if (equalsNoCase(value, "ON") || equalsNoCase(value, "OFF")) {
            s.calcSpread = equalsNoCase(value, "ON") ? 1 : 0;
            return ok();
        }
        return err();
    }
    if (const fields::SettingField* field = fields::byKeyword(name))
        if (const FieldBinding* b = fieldBinding(field))
            return tableSetting(*field, *b, value);
    return err();
}

Reply Analyzer::tableSetting(const fields::SettingField& field, const FieldBinding& binding,
                             const std::string& value) {
    AnalyzerState& s = state_;
    Reply err{field.keyword, kErr};
    if (binding.number) {
        const double hi = binding.hi != 0.0 ? binding.hi : maxFrequency(s.modelIndex);
        double v = 0;
        if (!parseDecimal(value, v) || v < binding.lo || v > hi)
            return err;
        // The level offset is kept to a tenth of a decibel.
        s.*binding.number = field.command == cmd::kOffset ? std::round(v * 10.0) / 10.0 : v;
    } else if (field.kind == fields::Kind::Integer) {
        long v = 0;
        if (!parseInteger(value, v) || v < binding.lo || v > binding.hi)
            return err;
        s.*binding.index = static_cast<int>(v);
    } else {
        const fields::Words words = fields::wordsOf(field, s.modelIndex);
        int i = -1;
        for (int k = 0; k <= static_cast<int>(binding.hi) && k < words.count && i < 0; ++k)
            if (equalsNoCase(value, words.words[k]))
                i = k;
        if (i < 0)
            return err;
        s.*binding.index = i;
    }
    if (binding.coupled)
        settingsChanged();
    return {field.keyword, kOk};
}

} // namespace sim
