#include "link_poller.h"

#include "acquisition.h"
#include "instrument_settings.h"
#include "live_link.h"
#include "modes.h"
#include "serial_device.h"

namespace {

LinkPoller* gActivePoller = nullptr;

int BasePeriodMs(int sweepIndex) {
    if (sweepIndex <= 3) {
        return 2000;
    }
    switch (sweepIndex) {
    case 4:
        return 3000;
    case 5:
        return 5000;
    case 6:
        return 18000;
    default:
        return 55000;
    }
}

bool PeriodicMode() {
    return modes::Accumulating();
}

} // namespace

int PeriodicAcquisitionPeriod() {
    const long long period =
        static_cast<long long>(gSettings.intervalSetting + 10 * gSettings.unchangedTraceCount) *
        BasePeriodMs(gSettings.sweepIndex) / 100;
    // A damaged interval setting must not stop the timer or make it spin.
    if (period < 1) {
        return 1;
    }
    return period > 24 * 3600 * 1000 ? 24 * 3600 * 1000 : static_cast<int>(period);
}

LinkPoller::LinkPoller(QObject* parent) : QObject(parent), previous_(gActivePoller) {
    periodicAcquisitionTimer_.setSingleShot(true);
    capturePollTimer_.setSingleShot(false);
    capturePollTimer_.setInterval(kCapturePollPeriodMs);
    connect(&periodicAcquisitionTimer_, &QTimer::timeout, this, &LinkPoller::OnPeriodicTimer);
    connect(&capturePollTimer_, &QTimer::timeout, this, &LinkPoller::OnCapturePollTimer);
    gActivePoller = this;
}

LinkPoller::~LinkPoller() {
    if (gActivePoller == this) {
        gActivePoller = previous_;
    }
    if (gActivePoller == nullptr) {
        // The view is going: a step in flight is dropped, nothing more goes on the wire.
        AbandonLiveLoop();
        LinkSerialDevice().StopWatching();
    }
}

LinkPoller* LinkPoller::Active() {
    return gActivePoller;
}

void LinkPoller::Restart() {
    periodicAcquisitionTimer_.stop();
    capturePollTimer_.stop();
    if (PeriodicMode()) {
        periodicAcquisitionTimer_.start(PeriodicAcquisitionPeriod());
    } else {
        capturePollTimer_.start(kCapturePollPeriodMs);
    }
}

void LinkPoller::OnPeriodicTimer() {
    periodicAcquisitionTimer_.stop();
    if (LinkBusy() != 0 || LiveReadInFlight()) {
        // Inside another exchange (a nested event loop): try again at the next period.
        Restart();
        return;
    }
    if (gSettings.runState == 1 && gSettings.compactMode == 0 &&
        StartLiveStep(AfterStep::Restart, false)) {
        return; // re-armed when the step ends, with the period it leaves
    }
    Restart();
}

void LinkPoller::OnCapturePollTimer() {
    CapturePollStep();
}

void LinkPoller::StopPeriodicTimer() {
    periodicAcquisitionTimer_.stop();
    // The window is closing: a record half in is not waited for, and nothing more is sent.
    AbandonLiveLoop();
}

void RestartPolling() {
    if (LinkPoller* poller = LinkPoller::Active()) {
        poller->Restart();
    }
}
