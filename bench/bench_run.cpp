// A whole generation run over a loopback site of 1,111 pages with an image each and a shared
// logo: pages per second and the peak memory of the process. Arguments: the Connections setting
// and each answer's time to the first byte in milliseconds (a server far away).

#include <benchmark/benchmark.h>

#include <iostream>

#include "cli/terminal_host.h"
#include "platform/disk_space.h"
#include "platform/program_directory.h"
#include "site_answers.h"
#include "support/temp_folder.h"
#include "whole_run.h"

namespace gl {
namespace {

constexpr int kBranching = 10;
constexpr int kLevels = 4;

void BM_GenerateSite(benchmark::State& state) {
  const bench::BenchSite site(kBranching, kLevels);
  test::LoopbackServer server(bench::ServeSite(site, std::chrono::milliseconds(state.range(1))));
  server.ServeInParallel();
  Settings settings;
  settings.Connections = static_cast<int>(state.range(0));
  RunEnvironment environment;
  environment.ProgramDirectory = ProgramDirectory();
  environment.FreeSpace = FreeDiskBytes;
  const test::TempFolder folder;  // removed after the timing, with every run in it
  std::int64_t pages = 0;
  int run = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const TBriefDocument document =
        bench::SiteBrief(folder / ("brief" + std::to_string(run++)), server, site);
    if (document.FileName.empty()) state.SkipWithError("save");
    NameCounters names;
    cli::TerminalHost host(std::cout, std::cerr, cli::DisplayMode::Quiet);
    state.ResumeTiming();

    const RunReport report = GenerateBrief(document, settings, names, environment, host);

    state.PauseTiming();
    std::string incomplete = bench::IncompleteRun(report.RunDirectory, site);
    if (report.Outcome != RunOutcome::Completed) incomplete = "the run did not complete";
    if (!incomplete.empty()) {
      state.SkipWithError(incomplete.c_str());
      break;
    }
    pages += bench::StoredPages(report.RunDirectory);
    state.ResumeTiming();
  }
  state.counters["pages_per_second"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["site_pages"] = site.PageCount();
  state.counters["site_images"] = site.ImageCount();
  state.counters["peak_memory_MB"] = bench::PeakMemoryMegabytes();
}
BENCHMARK(BM_GenerateSite)
    ->ArgNames({"connections", "delay_ms"})
    ->Args({1, 0})
    ->Args({4, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
// A run at 20 ms a request takes a minute with one connection: one run each.
BENCHMARK(BM_GenerateSite)
    ->ArgNames({"connections", "delay_ms"})
    ->Args({1, 20})
    ->Args({4, 20})
    ->Args({8, 20})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
}  // namespace gl

BENCHMARK_MAIN();
