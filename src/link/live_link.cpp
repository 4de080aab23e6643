#include "live_link.h"

#include "acquisition.h"
#include "command_set.h"
#include "field_changes.h"
#include "instrument_settings.h"
#include "link_busy.h"
#include "link_poller.h"
#include "link_state.h"
#include "link_view.h"
#include "modes.h"
#include "reply_text.h"
#include "screen_record.h"
#include "serial_port.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace {

constexpr int kCompletionBytes = 6;

struct Live {
    LiveState phase = LiveState::Idle; // Idle or one of the reading states
    bool capturePending = false;
    // Inside the end of a read: the view is being updated and the next command written; the
    // view may run a nested event loop, so nothing here may be re-entered meanwhile.
    bool finishing = false;
    // The rest of the step runs blocking (settling, or a step run on demand).
    bool blocking = false;
    AfterStep after = AfterStep::Nothing;
    bool detailed = false;
    int screenCode = cmd::kScreenCurrent;
    bool screenTaken = false; // the last screen record came whole and was decoded
    int generation = 0;
    // Changes with every step begun and every abandon, so that code after a view call can tell
    // whether its step is still the one in flight.
    unsigned serial = 0;
    PortRead read;
    QPointer<QTimer> deadline;
};

Live g;

bool EventLoopAvailable() {
    return QCoreApplication::instance() != nullptr;
}

bool Reading() {
    return g.phase != LiveState::Idle;
}

constexpr int kFieldKind1001[] = {10, 11, 12, 13, 15, 14, 38};
constexpr int kFieldKind251[] = {20, 21, 22, 23, 25, 24, 39};

int TraceKindFor(bool detailed) {
    const InstrumentSettings& s = gSettings;
    if (modes::Measure(s) == MeasureFunction::ElectricField) {
        const int a = s.antennaIndex >= 0 && s.antennaIndex < 7 ? s.antennaIndex : 0;
        return detailed ? kFieldKind1001[a] : kFieldKind251[a];
    }
    if (modes::Measure(s) == MeasureFunction::MagneticField) {
        return detailed ? (s.probeIndex == 0 ? 16 : 17) : (s.probeIndex == 0 ? 26 : 27);
    }
    return detailed ? 1 : 0;
}

void OnArrival();
void OnDeadline();

void StopDeadline() {
    if (g.deadline) {
        g.deadline->stop();
    }
}

// The timer that ends a read when the line stays quiet. The first byte brings the nearer gap
// deadline; after that deadlines only move later, so a timer already due sooner is left to fire
// and re-armed then.
void ArmDeadline() {
    if (g.blocking || g.finishing || !Reading() || !EventLoopAvailable()) {
        return;
    }
    if (!g.deadline) {
        g.deadline = new QTimer(QCoreApplication::instance());
        g.deadline->setSingleShot(true);
        g.deadline->setTimerType(Qt::PreciseTimer);
        QObject::connect(g.deadline, &QTimer::timeout, [] { OnDeadline(); });
    }
    const int left = g.read.MillisecondsLeft();
    if (!g.deadline->isActive() || g.deadline->remainingTime() > left) {
        g.deadline->start(left);
    }
}

void StartRead(LiveState phase) {
    g.phase = phase;
    g.generation = PortGeneration();
    if (phase == LiveState::ReadingCompletion) {
        g.read.StartUpTo(kCompletionBytes);
    } else {
        g.read.StartReply();
    }
}

void ResultOver(bool written);

// The screen record is in (or the write failed): decode it, show it, ask for the result.
void ScreenOver(bool written) {
    InstrumentSettings& s = gSettings;
    const unsigned serial = g.serial;
    {
        LinkBusyScope busy;
        // Whole: decoded, with every point (a record cut short keeps old points behind it).
        g.screenTaken = written && TakeReply(g.screenCode) != 0 &&
                        LastScreenRecordPoints() > (g.detailed ? 1000 : 250);
        // The kind is set whether or not the record came.
        if (s.activeTraceSlot >= 0 && s.activeTraceSlot < kTraceSlots) {
            s.traceKind[s.activeTraceSlot] = TraceKindFor(g.detailed);
        }
        g.phase = LiveState::Idle;
        NotifyChanged(Field::Trace);
        if (serial != g.serial) {
            return;
        }
        if (WriteCommand(cmd::kMeasRes) != 0) {
            StartRead(LiveState::ReadingResult);
            return;
        }
    }
    ResultOver(false);
}

void ResultOver(bool written) {
    const unsigned serial = g.serial;
    {
        LinkBusyScope busy;
        if (written) {
            TakeReply(cmd::kMeasRes);
        }
        g.phase = LiveState::Idle;
        // Whatever the transaction returned: the reply, "Read error" or "Write error".
        NotifyChanged(Field::Result);
        if (serial != g.serial) {
            return;
        }
    }
    switch (g.after) {
    case AfterStep::Capture:
        ResumeAcquisition();
        break;
    case AfterStep::Restart:
        RestartPolling();
        break;
    case AfterStep::Nothing:
        break;
    }
}

void BeginStep(AfterStep after) {
    InstrumentSettings& s = gSettings;
    ++g.serial;
    g.after = after;
    bool written = false;
    {
        LinkBusyScope busy;
        g.detailed = s.detailedTrace == 1;
        if (!g.detailed) {
            s.traceRecord.memoryNumber = 0;
        }
        g.screenCode = g.detailed ? cmd::kScreenFull : cmd::kScreenCurrent;
        written = WriteCommand(g.screenCode) != 0;
    }
    if (written) {
        StartRead(LiveState::ReadingScreen);
    } else {
        ScreenOver(false);
    }
}

// Runs `step` with re-entry shut out; afterwards the port is watched and the deadline armed as
// the new state asks.
template <typename Step> void Finishing(Step step) {
    const bool outer = !g.finishing;
    g.finishing = true;
    step();
    if (outer) {
        g.finishing = false;
        UpdateLiveWatch();
        ArmDeadline();
    }
}

// The read at hand is over: go on with its transaction.
void ReadOver() {
    Finishing([] {
        switch (g.phase) {
        case LiveState::ReadingCompletion: {
            g.phase = LiveState::Idle;
            if (g.read.Received() >= 4 && BeginsWithNoCase(gLink.rxBuffer, "COMP")) {
                g.capturePending = false;
                BeginStep(AfterStep::Capture);
            }
            break;
        }
        case LiveState::ReadingScreen:
            ScreenOver(true);
            break;
        case LiveState::ReadingResult:
            ResultOver(true);
            break;
        default:
            break;
        }
    });
}

// Ends the step in flight, blocking, read after read, with the busy cursor as any blocking
// exchange shows it.
void DriveBlocking() {
    const bool outer = !g.blocking;
    g.blocking = true;
    StopDeadline();
    if (outer) {
        UpdateLiveWatch();
    }
    bool cursor = false;
    while (Reading() && !g.finishing) {
        if (g.generation != PortGeneration()) {
            AbandonLiveLoop();
            break;
        }
        if (!cursor) {
            LinkViewRef().SetWaitCursor(true);
            cursor = true;
        }
        g.read.Complete();
        ReadOver();
    }
    if (cursor) {
        LinkViewRef().SetWaitCursor(false);
    }
    if (outer) {
        g.blocking = false;
        UpdateLiveWatch();
    }
}

// Takes what has come; goes on once the read is over.
void Pump() {
    if (g.generation != PortGeneration()) {
        AbandonLiveLoop(); // the line under the read was closed or replaced
        return;
    }
    if (!g.read.Continue()) {
        ArmDeadline();
        return;
    }
    StopDeadline();
    ReadOver();
}

bool MayStep() {
    return !g.blocking && !g.finishing && LinkBusy() == 0;
}

void OnArrival() {
    if (!MayStep()) {
        return;
    }
    if (Reading()) {
        Pump();
        return;
    }
    if (!g.capturePending) {
        UpdateLiveWatch();
        return;
    }
    if (gSettings.runState == 0 || gSettings.compactMode == 1) {
        // The poll would leave the bytes waiting and the notice would repeat at once; timer 5
        // takes them when acquisition may run again.
        LinkSerialDevice().WatchArrivals(false, nullptr);
        return;
    }
    // The same step as timer 5, only sooner.
    CapturePollStep();
}

void OnDeadline() {
    if (MayStep() && Reading()) {
        Pump();
    }
}

} // namespace

LiveState CurrentLiveState() {
    if (Reading()) {
        return g.phase;
    }
    return g.capturePending ? LiveState::CapturePending : LiveState::Idle;
}

bool LiveScreenRecordTaken() {
    return g.screenTaken;
}

bool LiveReadInFlight() {
    return Reading();
}

void SetCapturePending(bool pending) {
    g.capturePending = pending;
    UpdateLiveWatch();
}

bool LiveCapturePending() {
    return g.capturePending;
}

void UpdateLiveWatch() {
    if (g.finishing) {
        return; // applied once the step has moved on
    }
    const bool on =
        EventLoopAvailable() && !g.blocking && LinkBusy() == 0 && (Reading() || g.capturePending);
    LinkSerialDevice().WatchArrivals(on, on ? std::function<void()>(OnArrival) : nullptr);
    if (on) {
        ArmDeadline();
    }
}

bool StartCompletionRead() {
    if (Reading() && g.generation != PortGeneration()) {
        AbandonLiveLoop();
    }
    if (Reading() || g.finishing || g.blocking) {
        return false;
    }
    Finishing([] { StartRead(LiveState::ReadingCompletion); });
    if (!EventLoopAvailable()) {
        DriveBlocking();
    }
    return true;
}

bool StartLiveStep(AfterStep after, bool blocking) {
    if (Reading() && g.generation != PortGeneration()) {
        AbandonLiveLoop();
    }
    if (Reading() || g.finishing || g.blocking) {
        return false;
    }
    if (blocking || !EventLoopAvailable()) {
        const bool outer = !g.blocking;
        g.blocking = true;
        Finishing([after] { BeginStep(after); });
        DriveBlocking();
        if (outer) {
            g.blocking = false;
            UpdateLiveWatch();
        }
        return true;
    }
    Finishing([after] { BeginStep(after); });
    return true;
}

void SettleLiveLoop() {
    if (Reading() && !g.finishing) {
        DriveBlocking();
    }
}

void AbandonLiveLoop() {
    ++g.serial;
    g.phase = LiveState::Idle;
    g.capturePending = false;
    StopDeadline();
    LinkSerialDevice().WatchArrivals(false, nullptr);
}
