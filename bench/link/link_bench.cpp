// Link speed: the screen record parser, the capture poll that finds nothing, and the live trace
// period against the paced simulated analyzer compared with what the serial line allows.

#include "acquisition.h"
#include "command_codes.h"
#include "field_changes.h"
#include "instrument_settings.h"
#include "link_poller.h"
#include "link_state.h"
#include "screen_record.h"
#include "serial_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <benchmark/benchmark.h>

#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <pty.h>
#include <string>
#include <unistd.h>

#if defined(ORVEL_HAVE_TEST_SUPPORT) && defined(ORVEL_SIM_PATH)
#include "sim_process.h"
#define ORVEL_BENCH_WITH_SIM 1
#endif

namespace {

std::string ScreenRecordText(int points) {
    std::string text = "MODEL RVX410\r\nCURR\r\nCF 1000000000.0000Hz\r\nSP 20M\r\nRF 10\r\n"
                       "UNIT dBm\r\nST 0.1 POS\r\nRB 100K\r\nVB 10K\r\nSC 10\r\nTRACE\r\n";
    char point[4];
    for (int i = 0; i < points; ++i) {
        std::snprintf(point, sizeof point, "%02X", (i * 7) & 0xFF);
        text += point;
        text += (i % 25 == 24 || i == points - 1) ? "\r\n" : ",";
    }
    return text;
}

void BM_ParseScreenRecord1001(benchmark::State& state) {
    SetDefaultSettings();
    const std::string text = ScreenRecordText(1001);
    std::snprintf(gLink.rxBuffer, kRxBufferSize, "%s", text.c_str());
    for (auto _ : state) {
        ParseScreenRecord(1000);
        benchmark::DoNotOptimize(gSettings.traceRecord.tracePoints[1000]);
    }
}
BENCHMARK(BM_ParseScreenRecord1001)->Unit(benchmark::kMicrosecond);

void BM_CapturePollNothingWaiting(benchmark::State& state) {
    SetDefaultSettings();
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    ::close(slave);
    ::setenv("ORVEL_COM1", name, 1);
    CommPort(portop::kOpen);
    SetPortTimeouts(portprofile::kShort);
    gSettings.runState = 1;
    for (auto _ : state) {
        CapturePollStep();
    }
    CommPort(portop::kClose);
    ::close(master);
}
BENCHMARK(BM_CapturePollNothingWaiting)->Unit(benchmark::kMicrosecond);

#ifdef ORVEL_BENCH_WITH_SIM

struct TraceCounter {
    int traces = 0;
    int recordBytes = 0;
    int resultBytes = 0;
    void Changed(FieldSet changed) {
        if (changed.Any(Field::Trace)) {
            ++traces;
            recordBytes = gLink.rxLength;
        }
        if (changed.Any(Field::Result)) {
            resultBytes = gLink.rxLength;
        }
    }
};

// Live trace period in the capture mode against the simulator paced at 19200 baud, and its
// ratio to the line's limit: the sweep time plus the wire time of every byte of one cycle.
void TracePeriod(benchmark::State& state, bool detailed, bool earlyWakeUp = true) {
    int argc = 1;
    char arg0[] = "bench_link";
    char* argv[] = {arg0, nullptr};
    QCoreApplication app(argc, argv);
    orvel::test::SimProcess sim({"--baud", "19200"});
    if (!sim.started()) {
        state.SkipWithError(sim.error().c_str());
        return;
    }
    SetDefaultSettings();
    gSettings.detailedTrace = detailed ? 1 : 0;
    ::setenv("ORVEL_COM1", sim.devicePath().c_str(), 1);
    CommPort(portop::kOpen);
    SetPortTimeouts(portprofile::kShort);
    TraceCounter view;
    SetChangeListener([&view](FieldSet changed) { view.Changed(changed); });
    // Without the early wake-up: timer 5 alone, as a plain 500 ms timer.
    std::unique_ptr<LinkPoller> poller;
    QTimer timer5;
    if (earlyWakeUp) {
        poller = std::make_unique<LinkPoller>();
    } else {
        QObject::connect(&timer5, &QTimer::timeout, [] { CapturePollStep(); });
    }
    constexpr int kCycles = 8;
    QTimer tick; // wakes the waiting loop to check the count
    tick.start(5);
    double periodMs = 0;
    for (auto _ : state) {
        gSettings.runState = 1;
        RestartPolling();
        if (!earlyWakeUp) {
            timer5.start(kCapturePollPeriodMs);
        }
        ResumeAcquisition();
        // The first cycle settles the analyzer; time the following ones.
        while (view.traces < 1) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const int start = view.traces;
        QElapsedTimer clock;
        clock.start();
        while (view.traces < start + kCycles) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        periodMs = static_cast<double>(clock.nsecsElapsed()) / 1e6 / kCycles;
        state.SetIterationTime(periodMs / 1000.0);
        gSettings.runState = 0;
        PauseAcquisition();
        view.traces = 0;
    }
    SetChangeListener(nullptr);
    CommPort(portop::kClose);
    const double sweepMs = 100.0;               // sweep "0.1"
    const int screenCommand = detailed ? 6 : 9; // "SRSF\r\n" or "SRSCURR\r\n"
    const int bytes = 6 + 6 + screenCommand + view.recordBytes + 9 + view.resultBytes;
    const double wireMs = bytes * 10.0 * 1000.0 / 19200.0;
    state.counters["period_ms"] = periodMs;
    state.counters["limit_ms"] = sweepMs + wireMs;
    state.counters["ratio"] = periodMs / (sweepMs + wireMs);
    state.counters["cycle_bytes"] = bytes;
}

void BM_TracePeriodSrsCurr(benchmark::State& state) {
    TracePeriod(state, false);
}
void BM_TracePeriodSrsF(benchmark::State& state) {
    TracePeriod(state, true);
}
void BM_TracePeriodSrsCurrTimer5Only(benchmark::State& state) {
    TracePeriod(state, false, false);
}
BENCHMARK(BM_TracePeriodSrsCurrTimer5Only)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TracePeriodSrsCurr)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TracePeriodSrsF)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

#endif

} // namespace

BENCHMARK_MAIN();
