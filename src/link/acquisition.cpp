#include "acquisition.h"

#include "command_set.h"
#include "instrument_settings.h"
#include "keyword_tables.h"
#include "link_busy.h"
#include "link_view.h"
#include "reply_text.h"
#include "serial_port.h"

#include <cstdio>
#include <cstring>

namespace {

int gBusyDepth = 0;
bool gCapturePending = false;
std::function<void(bool)> gWatchChanged;

void ApplyArrivalWatch() {
    if (gWatchChanged) {
        gWatchChanged(gCapturePending && gBusyDepth == 0);
    }
}

void SetCapturePending(bool pending) {
    gCapturePending = pending;
    ApplyArrivalWatch();
}

bool PeriodicMode() {
    return gSettings.calcIndex >= 1 && gSettings.calcIndex <= 3;
}

void SetTx(const char* text) {
    std::snprintf(gSettings.txBuffer, sizeof gSettings.txBuffer, "%s", text);
}

// Writes an empty line and reads up to 8 bytes; true when the analyzer answered "ERR".
bool EmptyLineAnsweredErr() {
    SetTx("\r\n");
    WriteTxBuffer();
    return ReadUpTo(8) > 0 && BeginsWithNoCase(gSettings.rxBuffer, "ERR");
}

constexpr int kFieldKind1001[] = {10, 11, 12, 13, 15, 14, 38};
constexpr int kFieldKind251[] = {20, 21, 22, 23, 25, 24, 39};

int TraceKindFor(bool detailed) {
    const InstrumentSettings& s = gSettings;
    if (s.measureIndex == 4) {
        const int a = s.antennaIndex >= 0 && s.antennaIndex < 7 ? s.antennaIndex : 0;
        return detailed ? kFieldKind1001[a] : kFieldKind251[a];
    }
    if (s.measureIndex == 5) {
        return detailed ? (s.probeIndex == 0 ? 16 : 17) : (s.probeIndex == 0 ? 26 : 27);
    }
    return detailed ? 1 : 0;
}

} // namespace

// While an exchange runs nobody else may read the port, so the wake-up is off meanwhile.
LinkBusyScope::LinkBusyScope() {
    if (gBusyDepth++ == 0) {
        ApplyArrivalWatch();
    }
}
LinkBusyScope::~LinkBusyScope() {
    if (--gBusyDepth == 0) {
        ApplyArrivalWatch();
    }
}

int LinkBusy() {
    return gBusyDepth > 0 ? 1 : 0;
}

int CapturePending() {
    return gCapturePending ? 1 : 0;
}

void OnArrivalWatchChanged(std::function<void(bool)> callback) {
    gWatchChanged = std::move(callback);
    ApplyArrivalWatch();
}

void PauseAcquisition() {
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
    LinkBusyScope busy;
    if (EmptyLineAnsweredErr()) {
        return 1;
    }
    WaitMilliseconds(100);
    return EmptyLineAnsweredErr() ? 1 : 0;
}

void AcquireStep() {
    LinkBusyScope busy;
    InstrumentSettings& s = gSettings;
    LinkView& view = LinkViewRef();
    s.detailedTrace = view.DetailedTraceChecked() != 0 ? 1 : 0;
    const bool detailed = s.detailedTrace == 1;
    if (detailed) {
        SendCommand(cmd::kScreenFull);
    } else {
        s.traceRecord.memoryNumber = 0;
        SendCommand(cmd::kScreenCurrent);
    }
    if (s.activeTraceSlot >= 0 && s.activeTraceSlot < kTraceSlots) {
        s.traceKind[s.activeTraceSlot] = TraceKindFor(detailed);
    }
    view.UpdateTraces();
    view.UpdateSweepAndUnitLabels();
    SendCommand(cmd::kMeasRes);
    view.ShowMeasurementResult(s.rxBuffer);
    switch (s.measureIndex) {
    case 1:
        view.UpdateChannelPowerCursors();
        break;
    case 2:
        view.UpdateAcpCursors();
        break;
    case 3:
        view.UpdateObwDisplay();
        break;
    default:
        break;
    }
}

void CapturePollStep() {
    if (gSettings.runState == 0 || gSettings.compactMode == 1 || LinkBusy()) {
        return;
    }
    // Nothing waiting: the capture is still running; do not sit out the read time-out.
    if (PortBytesWaiting() == 0) {
        return;
    }
    int got = 0;
    {
        LinkBusyScope busy;
        got = ReadUpTo(6);
    }
    if (got >= 4 && BeginsWithNoCase(gSettings.rxBuffer, "COMP")) {
        SetCapturePending(false);
        AcquireStep();
        ResumeAcquisition();
    }
}

int RunHiddenCommand(const char* entryText) {
    LinkBusyScope busy;
    PauseAcquisition();
    // Room for the CR LF and the terminating zero.
    std::snprintf(gSettings.txBuffer, kTxBufferSize - 2, "%s",
                  entryText != nullptr ? entryText : "");
    if (BeginsWithNoCase(gSettings.txBuffer, "HIDE")) {
        return 0;
    }
    std::strcat(gSettings.txBuffer, "\r\n");
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
    if (std::strcmp(gSettings.rxBuffer, "Write error") == 0) {
        message = "A COM port has not been opened.";
    } else {
        const int model = gSettings.modelIndex == 1 ? 1 : 0;
        std::snprintf(text, sizeof text, "Please check connection with %s.",
                      keywords::kModelName[model]);
    }
    LinkViewRef().ShowMessage(MessageIcon::Warning, "Communication error", message, false);
}
