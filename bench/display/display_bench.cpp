// One full trace update with all eleven plots of 1001 points shown, including the repaint of a
// 1000 x 700 graph, and the peak search over 1001 points.

#include "cw_graph.h"
#include "instrument_settings.h"
#include "limit_lines.h"
#include "peak_search.h"
#include "peak_table.h"
#include "trace_display.h"
#include "trace_levels.h"
#include "waterfall_view.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace {

// Noise around a few signals, like a live spectrum.
void FillSpectrum(uint8_t* bytes, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(0, 12);
    for (int k = 0; k < 1001; ++k) {
        double v = 40 + noise(random);
        for (int centre : {180, 420, 500, 730})
            v += 130 * std::exp(-std::pow((k - centre) / 6.0, 2));
        bytes[k] = static_cast<uint8_t>(std::min(v, 255.0));
    }
}

QApplication& Application() {
    static int argc = 1;
    static char name[] = "bench_display";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void BM_UpdateTracesElevenPlots(benchmark::State& state) {
    Application();
    SetDefaultSettings();
    gSettings.startingUp = 0;
    QWidget view;
    TraceDisplay display(&view, nullptr);
    display.ApplyColors();
    display.ApplySizeChange(1266, 790); // graph 1000 x 700
    for (int slot = 1; slot <= 10; ++slot) {
        gSettings.traceKind[slot] = tracekind::kSpectrum1001;
        gSettings.traceView[slot] = 1;
        FillSpectrum(gSettings.traceStore[slot], static_cast<unsigned>(slot));
    }
    FillSpectrum(gSettings.traceRecord.tracePoints, 99);
    display.UpdateTraceVisibility();
    QImage image(display.Graph()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        display.UpdateTraces();
        display.Graph()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = display.Graph()->width();
    state.counters["height"] = display.Graph()->height();
}
BENCHMARK(BM_UpdateTracesElevenPlots)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The two halves apart: the plots' data, and the repaint alone.
void BM_UpdateTracesWithoutRepaint(benchmark::State& state) {
    Application();
    SetDefaultSettings();
    QWidget view;
    TraceDisplay display(&view, nullptr);
    display.ApplySizeChange(1266, 790);
    for (int slot = 1; slot <= 10; ++slot) {
        gSettings.traceKind[slot] = tracekind::kSpectrum1001;
        gSettings.traceView[slot] = 1;
        FillSpectrum(gSettings.traceStore[slot], static_cast<unsigned>(slot));
    }
    display.UpdateTraceVisibility();
    for (auto _ : state)
        display.UpdateTraces();
}
BENCHMARK(BM_UpdateTracesWithoutRepaint)->Unit(benchmark::kMillisecond);

void BM_PeakSearch1001(benchmark::State& state) {
    static uint8_t bytes[1024];
    FillSpectrum(bytes, 7);
    display::PeakSearchInput in;
    in.points = bytes;
    in.kind = tracekind::kSpectrum1001;
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(display::PeakSearch(in, n));
}
BENCHMARK(BM_PeakSearch1001)->Arg(0)->Arg(10)->Unit(benchmark::kMicrosecond);

// The View menu's analysis: one waterfall row added and the waterfall repainted at 1000 x 300
// with its history full, the peak table and the limit judgement of a 1001-point trace.
void BM_WaterfallRowAndRepaint(benchmark::State& state) {
    Application();
    SetDefaultSettings();
    CCWGraph graph;
    graph.resize(1056, 300); // plot area 1000 pixels wide
    graph.SetAxisLimits(CCWGraph::kYAxis, 10, -70);
    WaterfallView waterfall(&graph);
    waterfall.resize(1056, 304); // rows 300 pixels high
    static uint8_t bytes[1024];
    double levels[1001];
    const display::WaterfallFrame frame{1e9, 7, 1001};
    for (int row = 0; row < display::WaterfallHistory::kDefaultRows; ++row) {
        FillSpectrum(bytes, static_cast<unsigned>(row));
        display::FillDisplayArray(bytes, 1001, 10, 1, levels);
        waterfall.AddRow(levels, frame, row * 0.1);
    }
    QImage image(waterfall.size(), QImage::Format_RGB32);
    double t = 100;
    for (auto _ : state) {
        waterfall.AddRow(levels, frame, t += 0.1);
        waterfall.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_WaterfallRowAndRepaint)->Unit(benchmark::kMillisecond);

void BM_PeakTable1001(benchmark::State& state) {
    static uint8_t bytes[1024];
    FillSpectrum(bytes, 7);
    display::PeakSearchInput in;
    in.points = bytes;
    in.kind = tracekind::kSpectrum1001;
    display::AxisFrame frame;
    frame.centerFreq = 1e9;
    frame.spanStep = 2e4;
    for (auto _ : state)
        benchmark::DoNotOptimize(display::BuildPeakTable(in, 20, frame, 10, 1));
}
BENCHMARK(BM_PeakTable1001)->Unit(benchmark::kMicrosecond);

void BM_LimitJudgement1001(benchmark::State& state) {
    static uint8_t bytes[1024];
    FillSpectrum(bytes, 7);
    display::AxisFrame frame;
    frame.centerFreq = 1e9;
    frame.spanStep = 2e4;
    display::LimitLine upper, lower;
    for (int i = 0; i <= 100; ++i) {
        upper.push_back({990e6 + i * 2e5, -20.0 - (i % 7)});
        lower.push_back({990e6 + i * 2e5, -90.0 + (i % 5)});
    }
    double f[1001], l[1001];
    std::vector<int> failing;
    failing.reserve(1001);
    for (auto _ : state) {
        const int n =
            display::TracePointLevels(bytes, tracekind::kSpectrum1001, frame, 10, 1, f, l);
        benchmark::DoNotOptimize(display::JudgeTrace(f, l, n, upper, lower, &failing));
    }
}
BENCHMARK(BM_LimitJudgement1001)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
