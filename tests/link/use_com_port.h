#pragma once
// Points "COM1" at `path` and selects it, with the link settings at their defaults.

#include "instrument_settings.h"

#include <cstdlib>
#include <string>

inline void UseComPort(const std::string& path) {
    ::setenv("ORVEL_COM1", path.c_str(), 1);
    gSettings.comPortIndex = 0;
    gSettings.baudIndex = 3;
    gSettings.timeOutSetting = 100;
    gSettings.intervalSetting = 100;
    gSettings.activeTraceSlot = 1;
}
