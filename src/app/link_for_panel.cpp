#include "link_for_panel.h"

#include "acquisition.h"
#include "all_settings.h"
#include "command_set.h"
#include "instrument_settings.h"
#include "link_poller.h"
#include "serial_port.h"

#include <cstdio>

int LinkForPanel::SendCommand(int code) {
    return ::SendCommand(code);
}

void LinkForPanel::ExchangeRaw(const char* line) {
    std::snprintf(gSettings.txBuffer, sizeof gSettings.txBuffer, "%s", line);
    CommPort(portop::kWrite);
    CommPort(portop::kRead);
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
