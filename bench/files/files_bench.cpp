// Trace files: save and load of a 1001-point record, its export, and the bulk save of 100
// memories against the paced simulated analyzer compared with the wire time of its bytes plus the
// waits between the reads of each reply.

#include "instrument_settings.h"
#include "serial_port.h"
#include "trace_file.h"
#include "trace_operations.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <string>

#if defined(ORVEL_HAVE_TEST_SUPPORT) && defined(ORVEL_SIM_PATH)
#include "sim_process.h"
#define ORVEL_BENCH_WITH_SIM 1
#endif

namespace {

void DetailedRecord() {
    SetDefaultSettings();
    gSettings.detailedTrace = 1;
    for (int i = 0; i < 1001; ++i)
        gSettings.traceRecord.tracePoints[i] = static_cast<uint8_t>(i * 7);
}

void BM_SaveRecord1001(benchmark::State& state) {
    DetailedRecord();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dat"));
    for (auto _ : state)
        benchmark::DoNotOptimize(traceops::SaveTraceTo(path));
}
BENCHMARK(BM_SaveRecord1001)->Unit(benchmark::kMicrosecond);

void BM_LoadRecord1001(benchmark::State& state) {
    DetailedRecord();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dat"));
    traceops::SaveTraceTo(path);
    TraceRecord record{};
    for (auto _ : state)
        benchmark::DoNotOptimize(tracefile::LoadRecordFile(path, 0, &record));
}
BENCHMARK(BM_LoadRecord1001)->Unit(benchmark::kMicrosecond);

void BM_ExportText1001(benchmark::State& state) {
    DetailedRecord();
    tracefile::FillRecordFromSettings(gSettings.traceRecord, gSettings);
    const tracefile::ExportAxis axis = tracefile::SaveAxis(gSettings.traceRecord, gSettings);
    for (auto _ : state)
        benchmark::DoNotOptimize(tracefile::ExportText(gSettings.traceRecord.tracePoints, axis));
}
BENCHMARK(BM_ExportText1001)->Unit(benchmark::kMicrosecond);

void BM_SaveCsv1001(benchmark::State& state) {
    DetailedRecord();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    for (auto _ : state)
        benchmark::DoNotOptimize(traceops::SaveTraceTo(path));
}
BENCHMARK(BM_SaveCsv1001)->Unit(benchmark::kMicrosecond);

#ifdef ORVEL_BENCH_WITH_SIM
// Waits of the bulk read of one reply of `length` bytes: after the first read, each wait is
// followed by one read and, when that came full, one more at once.
int BulkWaits(long length) {
    long left = length - 256;
    int waits = 0;
    for (;;) {
        ++waits;
        if (left < 256)
            return waits;
        left -= 256;
        left -= left < 256 ? left : 256;
    }
}

void BM_BulkSave100Paced(benchmark::State& state) {
    using orvel::test::SimProcess;
    for (auto _ : state) {
        SimProcess sim({"--memories", "100"});
        if (!sim.started()) {
            state.SkipWithError(sim.error().c_str());
            return;
        }
        qputenv("ORVEL_COM1", QByteArray::fromStdString(sim.devicePath()));
        SetDefaultSettings();
        CommPort(portop::kOpen);
        SetPortTimeouts(portprofile::kShort);
        QTemporaryDir dir;
        QElapsedTimer clock;
        clock.start();
        const traceops::BulkResult result =
            traceops::SaveMemoryRange(0, 99, dir.filePath(QStringLiteral("m.dat")));
        const double seconds = clock.nsecsElapsed() / 1e9;
        CommPort(portop::kClose);
        long bytes = 0;
        int waits = 0;
        for (const std::string& reply : sim.sent()) {
            const long length = static_cast<long>(SimProcess::unescape(reply).size());
            bytes += length;
            waits += BulkWaits(length);
        }
        bytes += 7L * static_cast<long>(sim.received().size()); // "SRSnn\r\n"
        const double wire = bytes * 10.0 / 19200.0;
        state.counters["written"] = result.written;
        state.counters["seconds"] = seconds;
        state.counters["wire_s"] = wire;
        state.counters["waits_s"] = waits;
        state.counters["ratio"] = seconds / (wire + waits);
    }
}
BENCHMARK(BM_BulkSave100Paced)->Iterations(1)->Unit(benchmark::kSecond);
#endif

} // namespace

BENCHMARK_MAIN();
