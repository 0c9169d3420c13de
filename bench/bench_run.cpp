// A whole generation run over a loopback site of 1,111 pages with an image each and a shared
// logo: pages per second and the peak memory of the process.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <iostream>

#include "bench_site.h"
#include "cli/terminal_host.h"
#include "core/brief_file.h"
#include "generate/generate_brief.h"
#include "platform/disk_space.h"
#include "platform/program_directory.h"
#include "site_answers.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

constexpr int kBranching = 10;
constexpr int kLevels = 4;

double PeakMemoryMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kilobytes
}

// Files of the run's folder with the extension: pages are ".htm" (with the summary page and the
// site map), images ".gif".
std::int64_t StoredFiles(const std::filesystem::path& runDirectory, std::string_view extension) {
  std::int64_t files = 0;
  for (const auto& item : std::filesystem::directory_iterator(runDirectory)) {
    if (item.path().extension() == extension) ++files;
  }
  return files;
}

void BM_GenerateSite(benchmark::State& state) {
  const bench::BenchSite site(kBranching, kLevels);
  test::LoopbackServer server(bench::ServeSite(site));
  const Settings settings;
  RunEnvironment environment;
  environment.ProgramDirectory = ProgramDirectory();
  environment.FreeSpace = FreeDiskBytes;
  const test::TempFolder folder;  // removed after the timing, with every run in it
  std::int64_t pages = 0;
  int run = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::filesystem::path briefFolder = folder / ("brief" + std::to_string(run++));
    std::filesystem::create_directories(briefFolder);
    TBriefDocument document;
    document.FileName = briefFolder / "bench.brf";
    TWebEntry entry;
    entry.URL = server.Address("/index.htm");
    entry.Depth = site.Levels();
    entry.Images = true;
    document.Brief.WebList.push_back(entry);
    if (SaveBriefs2(document).Outcome != SaveOutcome::Saved) state.SkipWithError("save");
    NameCounters names;
    cli::TerminalHost host(std::cout, std::cerr, cli::DisplayMode::Quiet);
    state.ResumeTiming();

    const RunReport report = GenerateBrief(document, settings, names, environment, host);

    state.PauseTiming();
    const std::int64_t stored = StoredFiles(report.RunDirectory, ".htm") - 2;
    const std::int64_t images = StoredFiles(report.RunDirectory, ".gif");
    if (report.Outcome != RunOutcome::Completed || stored < site.PageCount() ||
        images < site.ImageCount()) {
      state.SkipWithError(("the run stored " + std::to_string(stored) + " of " +
                           std::to_string(site.PageCount()) + " pages and " +
                           std::to_string(images) + " of " + std::to_string(site.ImageCount()) +
                           " images")
                              .c_str());
      break;
    }
    pages += stored;
    state.ResumeTiming();
  }
  state.counters["pages_per_second"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["site_pages"] = site.PageCount();
  state.counters["site_images"] = site.ImageCount();
  state.counters["peak_memory_MB"] = PeakMemoryMegabytes();
}
BENCHMARK(BM_GenerateSite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace gl

BENCHMARK_MAIN();
