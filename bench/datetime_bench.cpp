// Date-time throughput, for tracking regressions.
#include <benchmark/benchmark.h>

#include "time/DateTime.h"

namespace {

void BM_FromText(benchmark::State& state) {
    const std::string text = "2018-2-04 13:33:25";
    for (auto _ : state) benchmark::DoNotOptimize(DateTime::fromText(text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FromText);

void BM_ToText(benchmark::State& state) {
    const DateTime t = DateTime::fromText("2018-12-31 23:59:59");
    for (auto _ : state) benchmark::DoNotOptimize(DateTime::toText(t));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToText);

void BM_AddSecond(benchmark::State& state) {
    DateTime t = DateTime::fromText("2018-2-04 13:33:25");
    for (auto _ : state) {
        t = DateTime::add(t, DateTimeUnit::Second, 1);
        benchmark::DoNotOptimize(t);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddSecond);

void BM_AddMonth(benchmark::State& state) {
    const DateTime t = DateTime::fromText("2018-1-31 13:33:25");
    for (auto _ : state) benchmark::DoNotOptimize(DateTime::add(t, DateTimeUnit::Month, 1));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddMonth);

}  // namespace

BENCHMARK_MAIN();
