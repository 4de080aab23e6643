// Start-up time to a first trace against the simulated analyzer paced at 19200 baud: from the
// frame's creation through the connection start-up (All Reading) to the end of the start-up timer,
// then the Hold button, which fetches and draws the first screen at once.

#include "app_session.h"
#include "control_panel.h"
#include "main_frame.h"
#include "orvel_view.h"

#include <QPushButton>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

void StartupToFirstTrace(benchmark::State& state, bool detailed) {
    EnsureApplication();
    double startupSum = 0;
    double firstTraceSum = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        AppSession session;
        session.settingsFile = detailed ? QByteArray("Detailed trace : 1\r\n") : QByteArray();
        session.simArgs = {QStringLiteral("--baud"), QStringLiteral("19200")};
        if (!session.prepare()) {
            state.SkipWithError("the simulator did not start");
            break;
        }
        state.ResumeTiming();

        const auto begin = std::chrono::steady_clock::now();
        if (!session.launch() || !session.frameAlive()) {
            state.SkipWithError("the program did not start");
            break;
        }
        const auto started = std::chrono::steady_clock::now();
        session.view()->panel()->findChild<QPushButton*>("holdButton")->click();
        const auto traced = std::chrono::steady_clock::now();

        state.PauseTiming();
        using ms = std::chrono::duration<double, std::milli>;
        startupSum += ms(started - begin).count();
        firstTraceSum += ms(traced - started).count();
        ++runs;
        session.close();
        state.ResumeTiming();
    }
    if (runs > 0) {
        state.counters["startup_ms"] = startupSum / runs;
        state.counters["hold_to_trace_ms"] = firstTraceSum / runs;
        state.counters["total_ms"] = (startupSum + firstTraceSum) / runs;
    }
}

void BM_StartupToFirstTrace250(benchmark::State& state) {
    StartupToFirstTrace(state, false);
}
void BM_StartupToFirstTrace1000(benchmark::State& state) {
    StartupToFirstTrace(state, true);
}

BENCHMARK(BM_StartupToFirstTrace250)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StartupToFirstTrace1000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
