#include "generate/internal/store.h"

#include <optional>
#include <utility>

#include "generate/internal/base_href.h"
#include "generate/internal/download.h"
#include "generate/internal/entry_address.h"
#include "generate/internal/page_clean.h"
#include "generate/internal/page_prepare.h"
#include "generate/internal/page_rewrite.h"
#include "generate/internal/save_file_body.h"
#include "generate/internal/texts.h"

namespace gl {

PageJob MakePageJob(const RunContext& run, std::string address, std::string localName,
                    const FetchResult& result, const std::string& display, std::int32_t depth) {
  PageJob job;
  job.Address = std::move(address);
  job.LocalName = std::move(localName);
  const std::optional<std::string_view> title = PageTitle(result.Stream.View());
  job.Title = title ? std::string(*title) : display;
  job.Links = {run.SummaryName(), run.SiteMapName(), display, ""};
  job.Depth = depth;
  job.RewriteLinks = result.PageOk;
  return job;
}

bool StorePage(RunContext& run, PageJob& job, MemoryStream& page, bool listed) {
  if (!listed) run.RecordFile(job.LocalName);
  CheckedFile file(run.PathOf(job.LocalName));
  job.FrameSet = PreparePage(run, job, page, file);
  const bool navigation = !job.FrameSet && !job.Frame;
  if (navigation) run.WriteHeader(file, job.Title, false, job.Links);
  StripBaseHref(page);
  RewritePage(run, job, page, file);
  if (navigation) PrintBriefFooter(file, job.Links);
  file << (job.FrameSet ? "</frameset></html>" : "</body></html>");
  // The top page ends with a line end, as the summary page does; the pages below it end without
  // one. Archives of every version have them so.
  if (job.EntryTop) file << texts::kCrLf;
  file.Close();
  return job.FrameSet;
}

std::string StoreFile(RunContext& run, const FetchResult& result, std::string_view address,
                      bool entryTop) {
  const std::string name = entryTop ? run.AllocatePage(TopFileExtension(address))
                                    : run.AllocateImage(DownloadSuffix(address));
  if (name == texts::kNoName) return name;
  run.CountFile(result.Stream.Size());
  SaveFileBody(run, result.Stream, name);
  return name;
}

}  // namespace gl
