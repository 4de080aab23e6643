// The simulated analyzer's pacing and idle cost: the transfer time of paced screen records
// against their wire time (10 bits a byte), and the CPU the simulator uses while nothing happens.

#include "analyzer.h"
#include "raw_pty.h"
#include "sim_process.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

using orvel::test::SerialClient;
using orvel::test::SimProcess;
using Clock = std::chrono::steady_clock;

namespace {

// Paced record transfer: args = points (251 or 1001), baud.
void BM_PacedRecord(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    const long baud = state.range(1);
    SimProcess sim({"--baud", std::to_string(baud)});
    if (!sim.started()) {
        state.SkipWithError(sim.error().c_str());
        return;
    }
    SerialClient port(sim.devicePath());
    const char* command = points == 1001 ? "SRSF" : "SRSCURR";
    size_t bytes = 0;
    double transfer = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        port.sendLine(command);
        std::string text = port.readRecord(points);
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        bytes = text.size();
        transfer += seconds;
    }
    const double wire = static_cast<double>(bytes) * 10.0 / static_cast<double>(baud);
    const double mean = transfer / static_cast<double>(state.iterations());
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["wire_ms"] = wire * 1000.0;
    state.counters["transfer_ms"] = mean * 1000.0;
    state.counters["vs_wire_pct"] = (mean / wire - 1.0) * 100.0;
}
BENCHMARK(BM_PacedRecord)
    ->Args({251, 9600})
    ->Args({1001, 9600})
    ->Args({251, 19200})
    ->Args({1001, 19200})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// CPU time of a process: nanoseconds from /proc/PID/schedstat, else clock ticks from stat.
double cpuSeconds(pid_t pid) {
    std::ifstream sched("/proc/" + std::to_string(pid) + "/schedstat");
    double runNs = -1;
    if (sched >> runNs && runNs >= 0)
        return runNs / 1e9;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) // state .. cmajflt
        fields >> skip;
    double utime = 0, stime = 0;
    fields >> utime >> stime;
    return (utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// Idle CPU with the port open and nothing said, over three seconds.
void BM_IdleCpu(benchmark::State& state) {
    SimProcess sim;
    if (!sim.started()) {
        state.SkipWithError(sim.error().c_str());
        return;
    }
    SerialClient port(sim.devicePath());
    port.ask("VER");
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        double before = cpuSeconds(sim.pid());
        auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        cpu += cpuSeconds(sim.pid()) - before;
        wall += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["cpu_pct_of_core"] = cpu / wall * 100.0;
}
BENCHMARK(BM_IdleCpu)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The analyzer's own work for one screen read after a setting change (a fresh sweep, the record
// text), without the line.
void BM_ScreenRecordCpu(benchmark::State& state) {
    sim::SimOptions options;
    sim::Analyzer analyzer(options);
    const char* command = state.range(0) == 1001 ? "SRSF" : "SRSCURR";
    int flip = 0;
    for (auto _ : state) {
        auto now = sim::Clock::now();
        analyzer.handleLine(flip++ % 2 ? "REF-10" : "REF-20", now);
        benchmark::DoNotOptimize(analyzer.handleLine(command, now));
    }
}
BENCHMARK(BM_ScreenRecordCpu)->Arg(251)->Arg(1001)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
