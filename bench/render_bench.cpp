// The portable part of one refresh tick: render the 16 x 16 picture and build the hint.
//
//   lumivex_bench_render                 Google Benchmark figures (ns per render)
//   lumivex_bench_render --renders N     N renders and nothing else, for callgrind (bench/run_native.sh)

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "tray/tray_renderer.h"
#include "typical_sample.h"

namespace {
struct Setup {
    const char* Name;
    void (*Adjust)(Settings&);
};
const Setup kSetups[] = {
    {"defaults", [](Settings&) {}},
    {"percent_outline", [](Settings& s) { s.ShowPercentage = true, s.NoBorder = false; }},
    {"megabytes_transparent", [](Settings& s) { s.OptimizeForGigabytes = false, s.TransBk = true; }},
};

// Not inlined, so callgrind can count exactly this function.
__attribute__((noinline)) void RenderLoop(int renders, const Settings& settings) {
    Windows10SystemColors colors;
    MemorySample sample = TypicalSample();
    for (int i = 0; i < renders; ++i) {
        sample.AvailPhys += 4096;  // a slightly different reading every tick
        TrayImage image = RenderTrayImage(sample, settings, TrayRenderContext{colors, nullptr, {}});
        benchmark::DoNotOptimize(image);
    }
}

void RenderTrayImageBenchmark(benchmark::State& state) {
    Settings settings;
    kSetups[state.range(0)].Adjust(settings);
    state.SetLabel(kSetups[state.range(0)].Name);
    for (auto _ : state)
        RenderLoop(1, settings);
}
BENCHMARK(RenderTrayImageBenchmark)->DenseRange(0, 2);
}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--renders") == 0) {
        RenderLoop(std::atoi(argv[2]), Settings{});
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
