#pragma once
// The panel's way to the analyzer in the running program: the instrument link itself.

#include "panel_link.h"

class LinkForPanel : public PanelLink {
public:
    int SendCommand(int code) override;
    int SendAutoCoupling(int code) override;
    void PauseAcquisition() override;
    void ResumeAcquisition() override;
    void RestartPolling() override;
    void AcquireStep() override;
    void ReadAllSettings() override;
};
