// The panel's menu commands: Preset, Auto Tune, Hold/Run and Remote, and the refusal of commands
// while the window is in its compact layout.

#include "control_panel.h"

#include "command_codes.h"
#include "instrument_settings.h"
#include "number_text.h"
#include "panel_link.h"
#include "panel_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <cstring>

namespace {

// Program configuration that a Preset of the analyzer leaves alone: the link and start-up
// options, the colours and the program directory, all saved in the settings file.
struct ProgramConfiguration {
    int comPortIndex;
    int baudIndex;
    int timeOutSetting;
    int intervalSetting;
    int startSetting;
    int startWindowState;
    int requiredFileFound;
    uint32_t traceColor[kTraceSlots];
    uint32_t markerColor[7];
    uint32_t scaleLineColor;
    uint32_t backgroundColor;

    static ProgramConfiguration Take(const InstrumentSettings& s) {
        ProgramConfiguration c{};
        c.comPortIndex = s.comPortIndex;
        c.baudIndex = s.baudIndex;
        c.timeOutSetting = s.timeOutSetting;
        c.intervalSetting = s.intervalSetting;
        c.startSetting = s.startSetting;
        c.startWindowState = s.startWindowState;
        c.requiredFileFound = s.requiredFileFound;
        std::memcpy(c.traceColor, s.traceColor, sizeof c.traceColor);
        std::memcpy(c.markerColor, s.markerColor, sizeof c.markerColor);
        c.scaleLineColor = s.scaleLineColor;
        c.backgroundColor = s.backgroundColor;
        return c;
    }
    void PutBack(InstrumentSettings& s) const {
        s.comPortIndex = comPortIndex;
        s.baudIndex = baudIndex;
        s.timeOutSetting = timeOutSetting;
        s.intervalSetting = intervalSetting;
        s.startSetting = startSetting;
        s.startWindowState = startWindowState;
        s.requiredFileFound = requiredFileFound;
        std::memcpy(s.traceColor, traceColor, sizeof traceColor);
        std::memcpy(s.markerColor, markerColor, sizeof markerColor);
        s.scaleLineColor = scaleLineColor;
        s.backgroundColor = backgroundColor;
    }
};

} // namespace

bool ControlPanel::RefuseInCompactMode() {
    if (!gSettings.compactMode)
        return false;
    view_->ShowWarningBox(QString::fromLatin1(kCompactRefusalText));
    return true;
}

void ControlPanel::OnPreset() {
    if (RefuseInCompactMode())
        return;
    InstrumentSettings& s = gSettings;
    const int remoteState = s.remoteState;
    const int modelIndex = s.modelIndex;
    const ProgramConfiguration configuration = ProgramConfiguration::Take(s);
    const bool wasRunning = s.runState == 1;
    link_->PauseAcquisition();
    link_->SendCommand(cmd::kPreset);
    ::SetDefaultSettings();
    s.modelIndex = modelIndex; // the span list and the frequency limits stay the analyzer's
    configuration.PutBack(s);
    SetFrequencyCounterLists(false);
    Changed(Field::Defaults);

    FillFromSettings();
    centerEdit->setEnabled(true);
    centerEdit->setText(QString::fromStdString(formatSI(s.centerFreq, kFreqEditFormat)));
    SelectIndex(countCombo, countCombo->count() - 1);
    countCombo->setEnabled(false);
    SetAutoBoxes(true);
    SetHeld(); // the defaults hold the loop
    if (wasRunning)
        emit runStateChanged(false);

    Changed(Field::Measure);
    s.remoteState = remoteState;
    s.modelIndex = modelIndex;
    link_->ResumeAcquisition();
}

void ControlPanel::OnAutoTuneMenu() {
    if (RefuseInCompactMode())
        return;
    autoTuneButton->setChecked(true);
    OnAutoTuneButton();
}

void ControlPanel::OnHoldRunMenu() {
    if (RefuseInCompactMode())
        return;
    holdButton->setChecked(!holdButton->isChecked());
    OnHoldButton();
}

void ControlPanel::OnRemote() {
    InstrumentSettings& s = gSettings;
    s.remoteState = s.remoteState != 1 ? 1 : 0;
    emit remoteCheckChanged(s.remoteState == 1);
    link_->PauseAcquisition();
    link_->SendCommand(cmd::kRemote);
    link_->ResumeAcquisition();
}
