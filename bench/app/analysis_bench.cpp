// The live trace period of the running program against the simulator paced at 19200 baud, with
// the View menu's waterfall, peak table and limit lines off and then all on, in one run; each
// against the line's limit (the sweep time plus the wire time of one cycle's bytes).

#include "app_session.h"
#include "control_panel.h"
#include "instrument_settings.h"
#include "link_state.h"
#include "live_analysis.h"
#include "main_frame.h"
#include "measurement_strip.h"
#include "orvel_view.h"
#include "trace_display.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

void BM_TracePeriodAnalysisOffAndOn(benchmark::State& state) {
    EnsureApplication();
    AppSession session;
    session.simArgs = {QStringLiteral("--baud"), QStringLiteral("19200"),
                       QStringLiteral("--signal"), QStringLiteral("1G:-30")};
    if (!session.start() || !session.frameAlive()) {
        state.SkipWithError("the program did not start");
        return;
    }
    COrvelView* view = session.view();
    int traces = 0;
    int recordBytes = 0;
    QObject::connect(view->display(), &TraceDisplay::TracesRedrawn, [&] {
        ++traces;
        recordBytes = gLink.rxLength;
    });
    constexpr int kCycles = 8;
    double period[2] = {0, 0};
    for (auto _ : state) {
        for (int on = 0; on < 2; ++on) {
            if (on == 1) {
                LiveAnalysis* a = view->analysis();
                a->WaterfallAction()->trigger();
                a->PeakTableAction()->trigger();
                a->ApplyLimitLines({{990e6, -60}, {1010e6, -60}}, {{990e6, -120}, {1010e6, -120}},
                                   true);
            }
            traces = 0;
            view->panel()
                ->findChild<QPushButton*>("holdButton")
                ->click(); // run; the first screen comes at once
            WaitUntil([&] { return traces >= 2; }, 60000);
            const int start = traces;
            QElapsedTimer clock;
            clock.start();
            WaitUntil([&] { return traces >= start + kCycles; }, 60000);
            period[on] = static_cast<double>(clock.nsecsElapsed()) / 1e6 / kCycles;
            view->panel()->findChild<QPushButton*>("holdButton")->click(); // hold
            WaitUntil([] { return false; }, 300);
        }
        state.SetIterationTime((period[0] + period[1]) / 1000.0);
    }
    // The result line as shown, with its CR LF.
    const int resultBytes =
        static_cast<int>(view->display()->Measurements().Strip().result->text().size()) + 2;
    const int bytes = 6 + 6 + 9 + recordBytes + 9 + resultBytes;
    const double limitMs = 100.0 + bytes * 10.0 * 1000.0 / 19200.0; // sweep "0.1"
    state.counters["off_period_ms"] = period[0];
    state.counters["on_period_ms"] = period[1];
    state.counters["limit_ms"] = limitMs;
    state.counters["off_ratio"] = period[0] / limitMs;
    state.counters["on_ratio"] = period[1] / limitMs;
    session.close();
}
BENCHMARK(BM_TracePeriodAnalysisOffAndOn)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
