#include "acquisition.h"

#include "command_set.h"
#include "instrument_settings.h"
#include "keyword_tables.h"
#include "link_busy.h"
#include "link_state.h"
#include "link_view.h"
#include "live_link.h"
#include "modes.h"
#include "reply_text.h"
#include "serial_port.h"

#include <cstdio>
#include <cstring>

namespace {

int gBusyDepth = 0;

bool PeriodicMode() {
    return modes::Accumulating();
}

void SetTx(const char* text) {
    std::snprintf(gLink.txBuffer, sizeof gLink.txBuffer, "%s", text);
}

// Writes an empty line and reads up to 8 bytes; true when the analyzer answered "ERR".
bool EmptyLineAnsweredErr() {
    SetTx("\r\n");
    WriteTxBuffer();
    return ReadUpTo(8) > 0 && BeginsWithNoCase(gLink.rxBuffer, "ERR");
}

} // namespace

// While an exchange runs nobody else may read the port, so the wake-up is off meanwhile.
LinkBusyScope::LinkBusyScope() {
    if (gBusyDepth++ == 0) {
        UpdateLiveWatch();
    }
}
LinkBusyScope::~LinkBusyScope() {
    if (--gBusyDepth == 0) {
        UpdateLiveWatch();
    }
}

int LinkBusy() {
    return gBusyDepth > 0 ? 1 : 0;
}

int CapturePending() {
    return LiveCapturePending() ? 1 : 0;
}

void PauseAcquisition() {
    // The live loop's transaction in flight ends first; after this nothing of it touches the
    // port until the next resume or timer.
    SettleLiveLoop();
    LinkBusyScope busy;
    SetCapturePending(false);
    ReadUpTo(8);
    if (gSettings.runState != 1 || PeriodicMode()) {
        return;
    }
    if (EmptyLineAnsweredErr()) {
        return;
    }
    WaitMilliseconds(200);
    EmptyLineAnsweredErr();
}

void ResumeAcquisition() {
    SettleLiveLoop();
    LinkBusyScope busy;
    if (gSettings.runState != 1 || PeriodicMode()) {
        return;
    }
    SetTx("CAPT\r\n");
    if (WriteTxBuffer() == 0 && WriteTxBuffer() == 0) {
        return;
    }
    SetCapturePending(true);
}

int CheckPresence() {
    SettleLiveLoop();
    LinkBusyScope busy;
    if (EmptyLineAnsweredErr()) {
        return 1;
    }
    WaitMilliseconds(100);
    return EmptyLineAnsweredErr() ? 1 : 0;
}

void AcquireStep() {
    SettleLiveLoop();
    StartLiveStep(AfterStep::Nothing, true);
}

void CapturePollStep() {
    if (gSettings.runState == 0 || gSettings.compactMode == 1 || LinkBusy() || LiveReadInFlight()) {
        return;
    }
    // Nothing waiting: the capture is still running; do not sit out the read time-out.
    if (PortBytesWaiting() == 0) {
        return;
    }
    // The bytes are read as they come; on "COMP" the step and the next "CAPT" follow.
    StartCompletionRead();
}

int RunHiddenCommand(const char* entryText) {
    SettleLiveLoop();
    LinkBusyScope busy;
    PauseAcquisition();
    // Room for the CR LF and the terminating zero.
    std::snprintf(gLink.txBuffer, kTxBufferSize - 2, "%s", entryText != nullptr ? entryText : "");
    if (BeginsWithNoCase(gLink.txBuffer, "HIDE")) {
        return 0;
    }
    std::strcat(gLink.txBuffer, "\r\n");
    // A failed write leaves "Write error" to be shown rather than a read's "Read error".
    if (WriteTxBuffer() > 0) {
        CommPort(portop::kRead);
    }
    ResumeAcquisition();
    return 1;
}

void ShowCommunicationError() {
    char text[64];
    const char* message = text;
    if (std::strcmp(gLink.rxBuffer, "Write error") == 0) {
        message = "A COM port has not been opened.";
    } else {
        const int model = gSettings.modelIndex == 1 ? 1 : 0;
        std::snprintf(text, sizeof text, "Please check connection with %s.",
                      keywords::kModelName[model]);
    }
    LinkViewRef().ShowMessage(MessageIcon::Warning, "Communication error", message, false);
}
