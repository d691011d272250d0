// The cost of recording the memory history: one refresh tick into MemoryHistory and one minute's process list of
// 200 processes into ProcessGrowth, each beside a floor that only copies what it is given.
//
//   lumivex_bench_history                Google Benchmark figures (ns per tick, per minute)

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "memory/memory_history.h"
#include "processes/process_growth.h"
#include "typical_sample.h"

namespace {
constexpr uint32_t kTickMs = 500;
constexpr uint32_t kMinuteMs = 60000;
constexpr uint32_t kProcesses = 200;

// Floor of a tick: the sample copied into a ring of the history's length.
void CopySampleFloor(benchmark::State& state) {
    std::vector<MemorySample> ring(MemoryHistory::kTickPoints);
    MemorySample sample = TypicalSample();
    size_t at = 0;
    for (auto _ : state) {
        sample.AvailPhys += 4096;
        ring[at] = sample;
        at = at + 1 == ring.size() ? 0 : at + 1;
        benchmark::DoNotOptimize(ring.data());
    }
}
BENCHMARK(CopySampleFloor);

// A tick of a history that is already full (a day of ticks recorded before the first measured one).
void MemoryHistoryTick(benchmark::State& state) {
    auto history = std::make_unique<MemoryHistory>();
    MemorySample sample = TypicalSample();
    uint32_t tick = 0;
    for (uint32_t i = 0; i < 24 * 3600 * 1000 / kTickMs; ++i, tick += kTickMs)
        history->Add(tick, sample);
    for (auto _ : state) {
        sample.AvailPhys += 4096;
        history->Add(tick, sample);
        tick += kTickMs;
        benchmark::DoNotOptimize(history.get());
    }
}
BENCHMARK(MemoryHistoryTick);

// 200 processes: every tenth leaks a MiB a minute, the others cycle within 3 MiB.
struct ProcessList {
    std::vector<std::string> Names;
    std::vector<ProcessMemoryReading> Readings;
    uint32_t Minute = 0;

    ProcessList() {
        for (uint32_t i = 0; i < kProcesses; ++i)
            Names.push_back("process" + std::to_string(i) + ".exe");
        for (uint32_t i = 0; i < kProcesses; ++i)
            Readings.push_back({4 * i + 100, 132000000000000000u + i, 0, Names[i]});
        Next();
    }
    void Next() {
        ++Minute;
        for (uint32_t i = 0; i < kProcesses; ++i)
            Readings[i].PrivateBytes = (uint64_t{i} + 5 + (i % 10 == 0 ? Minute : Minute % 4)) << 20;
    }
};

// Floor of a minute: the list copied.
void CopyProcessListFloor(benchmark::State& state) {
    ProcessList list;
    std::vector<ProcessMemoryReading> copy(kProcesses);
    for (auto _ : state) {
        list.Next();
        copy.assign(list.Readings.begin(), list.Readings.end());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(CopyProcessListFloor);

// A minute of a ProcessGrowth that has tracked a day already, then the warning's query (30 minutes) after it.
void ProcessGrowthMinute(benchmark::State& state) {
    auto growth = std::make_unique<ProcessGrowth>();
    ProcessList list;
    for (uint32_t i = 0; i < 24 * 60; ++i, list.Next())
        growth->Update(list.Minute * kMinuteMs, list.Readings);
    bool query = state.range(0) != 0;
    state.SetLabel(query ? "update + 30-minute query" : "update");
    ProcessGrowthEntry grower;
    for (auto _ : state) {
        list.Next();
        growth->Update(list.Minute * kMinuteMs, list.Readings);
        if (query)
            benchmark::DoNotOptimize(growth->GrewMoreThan(uint64_t{1} << 30, 30, grower));
    }
}
BENCHMARK(ProcessGrowthMinute)->Arg(0)->Arg(1);

// A full ranking over each span, for the menu that will show it.
void ProcessGrowthRanking(benchmark::State& state) {
    auto growth = std::make_unique<ProcessGrowth>();
    ProcessList list;
    for (uint32_t i = 0; i < 24 * 60; ++i, list.Next())
        growth->Update(list.Minute * kMinuteMs, list.Readings);
    auto span = static_cast<uint32_t>(state.range(0));
    std::array<ProcessGrowthEntry, ProcessGrowth::kTracked> ranked;
    for (auto _ : state)
        benchmark::DoNotOptimize(growth->RankGrowth(span, ranked.data(), ranked.size()));
}
BENCHMARK(ProcessGrowthRanking)->Arg(10)->Arg(60)->Arg(1440);
}  // namespace

BENCHMARK_MAIN();
