#pragma once
// A panel host without an analyzer: records calls and changes in order, answers from tables.

#include "command_codes.h"
#include "control_panel.h"
#include "field_changes.h"
#include "instrument_settings.h"
#include "panel_link.h"
#include "panel_view.h"

#include <QString>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class RecordingPanelHost : public PanelLink, public PanelView {
public:
    // What the panel announces is recorded as "changed <field>".
    RecordingPanelHost() {
        SetChangeListener([this](FieldSet changed) {
            for (const auto& [field, name] : kNames)
                if (changed.Any(field))
                    events.push_back(std::string("changed ") + name);
        });
    }
    ~RecordingPanelHost() override { SetChangeListener(nullptr); }
    static constexpr std::pair<Field, const char*> kNames[] = {
        {Field::CenterFreq, "centre"}, {Field::Span, "span"},      {Field::Sweep, "sweep"},
        {Field::Unit, "unit"},         {Field::Scale, "scale"},    {Field::MarkerMode, "marker"},
        {Field::Measure, "measure"},   {Field::TraceView, "view"}, {Field::TraceSlots, "slots"},
        {Field::Defaults, "defaults"}};

    std::vector<std::string> events;
    std::map<int, int> results;                        // code -> result (default 1)
    std::map<int, std::function<void()>> queryEffects; // code -> what the reply decodes to
    std::set<std::string> refused;                     // auto lines answered "ERR"
    int autoTuneWaitResult = 1;
    ControlPanel* panel = nullptr;

    int SendCommand(int code) override {
        events.push_back("cmd " + std::to_string(code));
        if (auto it = queryEffects.find(code); it != queryEffects.end())
            it->second();
        auto it = results.find(code);
        return it == results.end() ? 1 : it->second;
    }
    int SendAutoCoupling(int code) override {
        const std::string line = code == cmd::kRbw   ? "RBWAUTO"
                                 : code == cmd::kVbw ? "VBWAUTO"
                                                     : "SWEEPAUTO";
        events.push_back("raw " + line);
        return refused.count(line) != 0 ? 0 : 1;
    }
    void PauseAcquisition() override { events.push_back("pause"); }
    void ResumeAcquisition() override { events.push_back("resume"); }
    void RestartPolling() override { events.push_back("restart"); }

    void AcquireStep() override { events.push_back("acquire"); }
    void ReadAllSettings() override {
        events.push_back("read all");
        if (panel)
            panel->FillFromSettings();
    }

    int RunAutoTuneWait() override {
        events.push_back("wait");
        return autoTuneWaitResult;
    }
    void ShowWarningBox(const QString& text) override {
        events.push_back("warning " + text.toStdString());
    }

    // Only the wire-relevant events (commands, raw lines), for comparing sequences.
    std::vector<std::string> traffic() const {
        std::vector<std::string> out;
        for (const std::string& e : events)
            if (e.rfind("cmd ", 0) == 0 || e.rfind("raw ", 0) == 0)
                out.push_back(e);
        return out;
    }
    bool has(const std::string& event) const {
        return std::find(events.begin(), events.end(), event) != events.end();
    }
};
