#pragma once
// A panel host for tests without an analyzer: records every link call and view refresh in order,
// answers commands from a table and queries by writing the record field the query decodes into.

#include "command_codes.h"
#include "control_panel.h"
#include "instrument_settings.h"
#include "panel_link.h"
#include "panel_view.h"

#include <QString>
#include <QStringList>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

class RecordingPanelHost : public PanelLink, public PanelView {
public:
    std::vector<std::string> events;
    std::map<int, int> results;                        // code -> result (default 1)
    std::map<int, std::function<void()>> queryEffects; // code -> what the reply decodes to
    std::map<std::string, std::string> rawReplies;     // line -> reply (default "OK")
    std::vector<QString> warnings;
    int autoTuneWaitResult = 1;
    ControlPanel* panel = nullptr;

    // Link.
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
        auto it = rawReplies.find(line);
        return it == rawReplies.end() || it->second == "OK" ? 1 : 0;
    }
    void PauseAcquisition() override { events.push_back("pause"); }
    void ResumeAcquisition() override { events.push_back("resume"); }
    void RestartPolling() override { events.push_back("restart"); }

    // View.
    void UpdateFrequencyLabels() override { events.push_back("frequency labels"); }
    void UpdateMarkerReadouts() override { events.push_back("marker readouts"); }
    void SyncMeasurementFrequencies() override { events.push_back("sync bands"); }
    void UpdateChannelPowerCursors() override { events.push_back("cp cursors"); }
    void UpdateAcpCursors() override { events.push_back("acp cursors"); }
    void UpdateZone() override { events.push_back("zone"); }
    void UpdateTraces() override { events.push_back("traces"); }
    void UpdateUnitLabels() override { events.push_back("unit labels"); }
    void ShowUnitTexts(const char* unitLabel, const char* markerLevelLabel) override {
        events.push_back(std::string("unit texts ") + unitLabel + " " + markerLevelLabel);
    }
    void UpdateMeasurementLabels() override { events.push_back("measurement labels"); }
    void SetDefaultSettings() override {
        events.push_back("defaults");
        ::SetDefaultSettings();
    }
    void ReadAllSettings() override {
        events.push_back("read all");
        if (panel)
            panel->FillFromSettings();
    }
    void AcquireStep() override { events.push_back("acquire"); }
    int RunAutoTuneWait() override {
        events.push_back("wait");
        return autoTuneWaitResult;
    }
    void ShowWarningBox(const QString& text) override {
        events.push_back("warning");
        warnings.push_back(text);
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
        for (const std::string& e : events)
            if (e == event)
                return true;
        return false;
    }
};
