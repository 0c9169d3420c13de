#include "support/standalone_run.h"

#include <utility>

#include "generate/internal/base_href.h"
#include "generate/internal/page_clean.h"
#include "generate/internal/page_prepare.h"
#include "generate/internal/page_rewrite.h"

namespace gl::test {
namespace {

FetchResult FailedFetch(std::string&, const FetchOptions&, ProgressSink&) {
  return {};  // no page: PageOk is false
}

}  // namespace

StandaloneRun::StandaloneRun(const std::filesystem::path& folder, PageFetcher fetch)
    : Environment{.ProgramDirectory = "/opt/gleaner",
                  .FreeSpace = [](const std::filesystem::path&) { return std::int64_t{1} << 40; },
                  .Now = {}},
      Context(RunSettings, Environment, Host, Names, fetch ? std::move(fetch) : FailedFetch) {
  Context.SetRunDirectory(folder);
  Context.NameSummary();  // "Brief0.htm"
  Context.OpenCatalogue();
}

void StandaloneRun::BeginEntry(bool images, std::int32_t depth) {
  Entry.URL = "http://site.test/dir/index.htm";
  Entry.Images = images;
  Entry.Depth = depth;
  Context.BeginEntry(Entry, "site.test/dir/index.htm");
}

PageJob StandaloneRun::Job(std::int32_t depth) const {
  return {.Address = "site.test/dir/index.htm",
          .LocalName = "GL99.htm",
          .Title = "T",
          .Links = {Context.SummaryName(), "", "http://site.test/dir/index.htm", ""},
          .Depth = depth,
          .RewriteLinks = true};
}

bool WriteFetchedPage(RunContext& run, PageJob& job, MemoryStream& page, CheckedFile& out) {
  CleanPage(page);
  job.FrameSet = PreparePage(run, job, page, out);
  StripBaseHref(page);
  RewritePage(run, job, page, out);
  return job.FrameSet;
}

}  // namespace gl::test
