// `orvel-cli trace --count 20` against the simulator paced at 19200 baud: the whole run against
// the line's limit (every byte both ways at 1920 bytes/s, plus the analyzer's own sweeps between
// "CAPT" and "COMP"), and the start-up to the first byte on the wire.
//
//   build/bin/bench_cli [runs]

#include "child_process.h"
#include "sim_process.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

using orvel::test::SimProcess;
using Clock = std::chrono::steady_clock;

namespace {

// Bytes a logged text stands for (escapes counted as the byte they stand for).
size_t WireBytes(const std::string& logged) {
    return SimProcess::unescape(logged).size();
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    for (int run = 0; run < runs; ++run) {
        SimProcess sim({"--baud", "19200"});
        if (!sim.started()) {
            std::fprintf(stderr, "simulator: %s\n", sim.error().c_str());
            return 1;
        }
        const auto start = Clock::now();
        auto cli = std::async(std::launch::async, [&] {
            return orvel::test::RunProcess(
                {ORVEL_CLI_PATH, "--port", sim.devicePath(), "trace", "--count", "20"});
        });
        double firstByteMs = -1;
        while (firstByteMs < 0 &&
               cli.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
            if (!sim.received().empty()) {
                firstByteMs =
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const orvel::test::ProcessResult r = cli.get();
        const double total = std::chrono::duration<double>(Clock::now() - start).count();
        if (r.status != 0) {
            std::fprintf(stderr, "orvel-cli: status %d %s\n", r.status, r.err.c_str());
            return 1;
        }
        size_t bytes = 0;
        double sweeps = 0;
        double captAt = -1;
        for (const auto& e : sim.logEntries()) {
            if (e.mark == '<') {
                bytes += WireBytes(e.text) + 2; // CR LF
                if (e.text == "CAPT") {
                    captAt = e.seconds;
                }
            } else if (e.mark == '>') {
                bytes += WireBytes(e.text);
                if (captAt >= 0 && e.text.rfind("COMP", 0) == 0) {
                    sweeps += e.seconds - captAt;
                    captAt = -1;
                }
            }
        }
        const double limit = bytes / 1920.0 + sweeps;
        std::printf("run %d: %.2f s for 20 traces; line's limit %.2f s (%zu bytes, sweeps %.2f s);"
                    " ratio %.3f; start-up to first byte %.1f ms\n",
                    run + 1, total, limit, bytes, sweeps, total / limit, firstByteMs);
    }
    return 0;
}
