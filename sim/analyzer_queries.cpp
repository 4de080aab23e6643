// The analyzer's answers to queries ("NAME?"): each setting in the analyzer's own form.

#include "analyzer.h"

#include "keyword_tables.h"
#include "value_text.h"

namespace sim {

std::string Analyzer::query(const std::string& name) const {
    const AnalyzerState& s = state_;
    auto kw = [](const char* k) { return std::string(k) + "\r\n"; };
    if (name == "UNIT" && (s.measureIndex == 4 || s.measureIndex == 5))
        return kw(keywords::kUnit[s.measureIndex]); // the field-strength unit in force
    if (name == "DET")
        return kw(keywords::kDetector[effectiveDetector(s)]);
    if (name == "AUTO")
        return autoTuneDone_ ? kw("BUSY") : std::string("OK\r\n");
    if (name == "HOLD")
        return s.running ? kw("RUN") : std::string("OK\r\n");
    if (name == "REMOTE")
        return kw(s.remote ? "ON" : "OFF");
    if (name == "CALCSPR")
        return kw(s.calcSpread ? "ON" : "OFF");
    // Every other setting in its wire form.
    const fields::SettingField* field = fields::byKeyword(name);
    const FieldBinding* binding = fieldBinding(field);
    if (binding == nullptr)
        return "ERR\r\n";
    if (binding->number)
        return format((std::string(field->wireFormat) + "\r\n").c_str(), s.*binding->number);
    if (field->kind == fields::Kind::Integer)
        return format("%d\r\n", s.*binding->index);
    return kw(fields::wordsOf(*field, s.modelIndex).words[s.*binding->index]);
}

} // namespace sim
