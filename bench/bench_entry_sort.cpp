// Sorting a brief's entries by name with the brief window's exchange sort, for briefs of 1000 and
// 5000 entries in scrambled order. The window then moves its rows once into the order found.

#include <benchmark/benchmark.h>

#include <string>

#include "core/entry_sort.h"

namespace {

void BM_ExchangeSortOrder(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  gl::TBriefRecord brief;
  for (int i = 0; i < count; ++i) {
    gl::TWebEntry& entry = gl::CreateNewWebEntry(brief, brief.WebList.size());
    gl::SetTypedName(entry, "Entry " + std::to_string((i * 7919) % count));
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(gl::ExchangeSortOrder(brief.WebList));
}
BENCHMARK(BM_ExchangeSortOrder)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
