#pragma once
// The polling schedule: timer 1 (periodic acquisition while the analyzer accumulates max hold,
// min hold or average) and timer 5 (capture-completion poll every 500 ms). The steps they start
// run from the event loop (live_link.h), which also wakes the poll as soon as bytes arrive while
// a capture is pending.
//
// The view owns one LinkPoller (create it after the QApplication). Its start-up timer (timer 3)
// calls RestartPolling() when it fires; shut-down calls StopPeriodicTimer() before closing the
// port. Only one poller is active at a time: the newest one constructed.

#include <QObject>
#include <QTimer>

// Period of timer 1 in ms: (intervalSetting + 10 x unchangedTraceCount) x base / 100, with base
// 2000 ms for sweeps 0..3, 3000 for 4, 5000 for 5, 18000 for 6 and 55000 for 7.
int PeriodicAcquisitionPeriod();
inline constexpr int kCapturePollPeriodMs = 500;

class LinkPoller : public QObject {
    Q_OBJECT
public:
    explicit LinkPoller(QObject* parent = nullptr);
    ~LinkPoller() override;

    // Stops timers 1 and 5, then starts timer 1 with PeriodicAcquisitionPeriod() when calcIndex
    // is 1, 2 or 3, else timer 5 with 500 ms.
    void Restart();
    // Timer 1: acquire when running and not compact, then Restart() (once the step has ended).
    void OnPeriodicTimer();
    // Timer 5: CapturePollStep().
    void OnCapturePollTimer();
    // Shut-down: kill timer 1 and drop the live step in flight (nothing more is sent).
    void StopPeriodicTimer();

    const QTimer& periodicTimer() const { return periodicAcquisitionTimer_; }
    const QTimer& capturePollTimer() const { return capturePollTimer_; }

    // The active poller, or nullptr.
    static LinkPoller* Active();

private:
    QTimer periodicAcquisitionTimer_; // timer 1, single-shot, re-armed by Restart()
    QTimer capturePollTimer_;         // timer 5, repeating
    LinkPoller* previous_ = nullptr;
};

// Restart() of the active poller; nothing without one.
void RestartPolling();
