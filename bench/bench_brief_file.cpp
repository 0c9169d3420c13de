// Loading and saving a large brief: 2000 web entries with full texts and 500 archived runs, the
// size a long-used brief might reach. Saving writes both files with a flush to disk each.

#include <benchmark/benchmark.h>

#include <string>

#include "core/brief_file.h"
#include "core/brief_format.h"
#include "support/temp_folder.h"

namespace {

gl::TBriefRecord LargeBrief() {
  gl::TBriefRecord brief;
  brief.Name = "Large";
  brief.Comments = std::string(2000, 'c');
  for (int i = 0; i < 2000; ++i) {
    gl::TWebEntry& entry = gl::CreateNewWebEntry(brief, brief.WebList.size());
    entry.URL = "http://www.example.com/section" + std::to_string(i) + "/index.htm";
    entry.Name = "Entry number " + std::to_string(i);
    entry.NameSet = true;
    entry.Depth = 1 + i % 99;
    entry.UserName = "user";
    entry.Password = "password";
  }
  for (int i = 0; i < 500; ++i) {
    brief.ArchivePaths.push_back(std::to_string(i) + "\\Brief" + std::to_string(i) + ".htm");
    brief.ArchiveStamps.push_back("3/5/1997  9:07:02 AM");
  }
  return brief;
}

void BM_BriefFileBytes(benchmark::State& state) {
  const gl::TBriefRecord brief = LargeBrief();
  for (auto _ : state)
    benchmark::DoNotOptimize(gl::BriefFileBytes(brief));
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(gl::BriefFileBytes(brief).size()));
}
BENCHMARK(BM_BriefFileBytes);

void BM_ReadBriefs2(benchmark::State& state) {
  gl::test::TempFolder folder;
  const gl::TBriefDocument document{folder / "large.brf", LargeBrief()};
  if (gl::SaveBriefs2(document).Outcome != gl::SaveOutcome::Saved) state.SkipWithError("save");
  for (auto _ : state)
    benchmark::DoNotOptimize(gl::ReadBriefs2(document.FileName));
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(gl::BriefFileBytes(document.Brief).size()));
}
BENCHMARK(BM_ReadBriefs2);

void BM_SaveBriefs2(benchmark::State& state) {
  gl::test::TempFolder folder;
  const gl::TBriefDocument document{folder / "large.brf", LargeBrief()};
  for (auto _ : state)
    benchmark::DoNotOptimize(gl::SaveBriefs2(document));
}
BENCHMARK(BM_SaveBriefs2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
