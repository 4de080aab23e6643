#include "display_host.h"

#include "instrument_settings.h"

namespace display {

void RunDestroySequence(DisplayHost& host) {
    host.StopAcquisitionTimer();
    host.ClosePort();
    if (gSettings.requiredFileFound)
        host.WriteSettingsFile();
}

} // namespace display
