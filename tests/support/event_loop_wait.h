#pragma once
// Test support with Qt Core: waits in the event loop, as the view's timers would see it.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>

inline bool RunUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    QTimer tick; // wakes the loop every 5 ms instead of spinning beside the analyzer
    tick.start(5);
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
