#include "link_for_panel.h"

#include "acquisition.h"
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
