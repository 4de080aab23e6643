// Hard copy speed: the decode of a whole receive area, and the time from "PRT" to the complete
// picture against the paced simulated analyzer, as a ratio to the reply's wire time.

#include "hard_copy.h"
#include "hard_copy_decoding.h"
#include "hard_copy_transfer.h"
#include "instrument_settings.h"
#include "link_state.h"
#include "serial_port.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#ifdef ORVEL_SIM_PATH
#include "sim_process.h"
#endif

namespace {

sim::Picture Grid() {
    sim::Picture p;
    for (int y = 0; y < sim::kPictureHeight; ++y)
        for (int x = 0; x < sim::kPictureWidth; ++x)
            if (x % 7 == 0 || y % 5 == 0)
                p.set(x, y);
    return p;
}

// 22 records with garbage around them, filled up to the receive area's 19999 bytes.
void BM_DecodeFullReceiveArea(benchmark::State& state) {
    const std::string records = sim::encodeHardCopy(Grid());
    std::string area = sim::shapeHardCopy(records, std::string("\x07#\xff\x00~?garbage", 14), -1,
                                          kRxBufferSize - 1);
    area.resize(kRxBufferSize - 1);
    std::vector<uint8_t> pixels(hardcopy::kPixelBytes);
    for (auto _ : state) {
        hardcopy::DecodeHardCopy(area.data(), static_cast<int>(area.size()), pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_DecodeFullReceiveArea)->Unit(benchmark::kMicrosecond);

// No record at all: every byte is looked at.
void BM_DecodeFullReceiveAreaOfGarbage(benchmark::State& state) {
    std::string area(kRxBufferSize - 1, 'l');
    std::vector<uint8_t> pixels(hardcopy::kPixelBytes);
    for (auto _ : state) {
        hardcopy::DecodeHardCopy(area.data(), static_cast<int>(area.size()), pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_DecodeFullReceiveAreaOfGarbage)->Unit(benchmark::kMicrosecond);

#ifdef ORVEL_SIM_PATH
// The window's schedule without the window: a tick every 200 ms, decode after each.
void BM_PrtToCompletePicture19200(benchmark::State& state) {
    SetDefaultSettings();
    orvel::test::SimProcess sim({"--baud", "19200"});
    if (!sim.started()) {
        state.SkipWithError("orvel-sim did not start");
        return;
    }
    ::setenv("ORVEL_COM1", sim.devicePath().c_str(), 1);
    gSettings.comPortIndex = 0;
    gSettings.baudIndex = 3;
    CommPort(portop::kOpen);
    std::vector<uint8_t> pixels(hardcopy::kPixelBytes);
    const double wire = hardcopy::kPictureBytes * 10.0 / 19200.0;
    double seconds = 0;
    for (auto _ : state) {
        HardCopyTransfer transfer;
        const auto start = std::chrono::steady_clock::now();
        if (!transfer.Start(start)) {
            state.SkipWithError("PRT not written");
            break;
        }
        auto tick = start;
        for (;;) {
            tick += std::chrono::milliseconds(200);
            std::this_thread::sleep_until(tick);
            const bool going = transfer.Tick();
            hardcopy::DecodeHardCopy(gLink.rxBuffer, transfer.kept(), pixels.data());
            if (hardcopy::HardCopyComplete(gLink.rxBuffer, transfer.kept()) || !going) {
                break;
            }
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        DiscardRestOfReply(300, 3000);
    }
    state.counters["seconds"] = seconds;
    state.counters["wire_s"] = wire;
    state.counters["ratio"] = seconds / wire;
    CommPort(portop::kClose);
}
BENCHMARK(BM_PrtToCompletePicture19200)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
#endif

} // namespace

BENCHMARK_MAIN();
