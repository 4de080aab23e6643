#pragma once
// Test support with Qt Core (header only): waits in the event loop for a condition, as the
// view's timers would see it.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>

// Runs the event loop until `done` holds (checked every 5 ms) or a generous time-out passes.
inline bool RunUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    // Sleep in the event loop between checks instead of spinning beside the analyzer.
    QTimer tick;
    tick.start(5);
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
