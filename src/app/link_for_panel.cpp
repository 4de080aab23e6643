#include "link_for_panel.h"

#include "acquisition.h"
#include "all_settings.h"
#include "command_set.h"
#include "link_poller.h"

int LinkForPanel::SendCommand(int code) {
    return ::SendCommand(code);
}

int LinkForPanel::SendAutoCoupling(int code) {
    return ::SendAutoCoupling(code);
}

void LinkForPanel::PauseAcquisition() {
    ::PauseAcquisition();
}

void LinkForPanel::ResumeAcquisition() {
    ::ResumeAcquisition();
}

void LinkForPanel::RestartPolling() {
    ::RestartPolling();
}

void LinkForPanel::AcquireStep() {
    ::AcquireStep();
}

void LinkForPanel::ReadAllSettings() {
    ::ReadAllSettings();
}
