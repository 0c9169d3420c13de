// Reading a large bookmark export (large_bookmark_export.h).

#include <benchmark/benchmark.h>

#include <string>

#include "core/bookmark_reader.h"
#include "large_bookmark_export.h"
#include "support/temp_folder.h"

namespace {

using gl::bench::kLinks;
using gl::bench::LargeExport;

void BM_ReadBookmarks(benchmark::State& state) {
  const std::string file = LargeExport();
  for (auto _ : state)
    benchmark::DoNotOptimize(gl::ReadBookmarks(file));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
  state.SetItemsProcessed(state.iterations() * kLinks);
}
BENCHMARK(BM_ReadBookmarks)->Unit(benchmark::kMillisecond);

void BM_LoadBookmarks(benchmark::State& state) {
  gl::test::TempFolder folder;
  const std::string file = LargeExport();
  gl::test::WriteFileBytes(folder / "bookmarks.html", file);
  for (auto _ : state) {
    const gl::BookmarkLoadResult result = gl::LoadBookmarks(folder / "bookmarks.html");
    if (result.Tree.Items.size() != kLinks + gl::bench::kFolders)
      state.SkipWithError("wrong item count");
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
  state.SetItemsProcessed(state.iterations() * kLinks);
}
BENCHMARK(BM_LoadBookmarks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
