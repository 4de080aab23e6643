#pragma once
// The display's way to the analyzer and to the panel in the running program.

#include "display_host.h"

class COrvelView;
class ControlPanel;
class LinkPoller;

class ViewDisplayHost : public display::DisplayHost {
public:
    ViewDisplayHost(COrvelView* view, ControlPanel* panel, LinkPoller* poller)
        : view_(view), panel_(panel), poller_(poller) {}

    void PauseAcquisition() override;
    void ResumeAcquisition() override;
    int Send(display::DisplayCommand command) override;
    const char* LastReply() const override;
    void Wait(int milliseconds) override;

    void StopAcquisitionLoop() override;
    void CenterFrequencyChanged() override;
    void SpanIndexChanged() override;
    void SweepIndexChanged() override;
    void FrequencyCounterChanged(bool counterOn) override;
    void FieldReferenceChanged() override;
    void UnitLabelsChanged() override;

    void StopAcquisitionTimer() override;
    void ClosePort() override;
    void WriteSettingsFile() override;

    // The command or query code that carries a display command.
    static int CodeOf(display::DisplayCommand command);

private:
    COrvelView* view_;
    ControlPanel* panel_;
    LinkPoller* poller_;
};
