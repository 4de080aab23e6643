// Cost of the text routines every panel refresh uses and of one field-strength reference, which
// runs after every setting change while a field measurement is on.
#include "instrument_settings.h"
#include "level_units.h"
#include "number_text.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

void BM_FormatSIAutomatic(benchmark::State& state) {
    char text[kSITextSize];
    double v = 1.23456789e9;
    for (auto _ : state) {
        formatSI(text, sizeof text, v, kReadoutFormat);
        benchmark::DoNotOptimize(text);
        v += 1.0;
    }
}
BENCHMARK(BM_FormatSIAutomatic);

void BM_FormatSIFixedGiga(benchmark::State& state) {
    char text[kSITextSize];
    double v = 1.23456789e9;
    for (auto _ : state) {
        formatSI(text, sizeof text, v, kFreqEditFormat);
        benchmark::DoNotOptimize(text);
        v += 1.0;
    }
}
BENCHMARK(BM_FormatSIFixedGiga);

void BM_ParseSIFrequency(benchmark::State& state) {
    double v = 0;
    for (auto _ : state) {
        parseSI("1,234.5678 MHz", &v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_ParseSIFrequency);

void BM_ParseSIHugeExponent(benchmark::State& state) {
    double v = 0;
    for (auto _ : state) {
        parseSI("1e999999999", &v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_ParseSIHugeExponent);

void BM_AntennaReference(benchmark::State& state) {
    SetDefaultSettings();
    gSettings.centerFreq = 900e6;
    gSettings.spanIndex = 10;
    for (auto _ : state) {
        computeAntennaReference(0);
        benchmark::DoNotOptimize(gSettings.fieldRefLevel);
    }
}
BENCHMARK(BM_AntennaReference);

void BM_ProbeReference(benchmark::State& state) {
    SetDefaultSettings();
    gSettings.centerFreq = 1.5e9;
    gSettings.spanIndex = 12;
    for (auto _ : state) {
        computeProbeReference(0);
        benchmark::DoNotOptimize(gSettings.fieldRefLevel);
    }
}
BENCHMARK(BM_ProbeReference);

} // namespace

BENCHMARK_MAIN();
