#include "generate/spider.h"

#include <optional>
#include <string>

#include "generate/address.h"
#include "generate/page_clean.h"
#include "generate/page_prepare.h"
#include "generate/page_rewrite.h"
#include "generate/run_errors.h"
#include "generate/save_file_body.h"
#include "generate/scan_copy.h"
#include "generate/site_map.h"
#include "generate/texts.h"
#include "net/address_forms.h"
#include "platform/cancellation.h"

namespace gl {
namespace {

// Preparation, navigation header and the rewriting pass of one fetched and cleaned page.
bool WritePage(RunContext& run, PageJob& job, MemoryStream& page, CheckedFile& out) {
  job.FrameSet = PreparePage(run, job, page, out);
  if (!job.FrameSet && !job.Frame) run.WriteHeader(out, job.Title, false, job.Links);
  const MemoryStream scanCopy = MakeScanCopy(page);
  StripBaseHref(page);
  RewritePage(run, job, page, scanCopy, out);
  return job.FrameSet;
}

// The record of a link in the role it was appended in: as a frame (frame mark 1) or not. The same
// key may have been promised in both roles; each must be filled under its own name.
TPageRecord* FindInRole(const THashTable& pages, std::string_view key, bool frame) {
  for (TPageRecord* record = pages.Find(key); record != nullptr; record = record->Next) {
    if (record->Address == key && (record->FlagC != 0) == frame) return record;
  }
  return pages.Find(key);
}

void RunLevels(RunContext& run, std::int32_t depth) {
  std::int32_t remaining = depth - 1;
  for (std::int32_t level = 2; remaining >= 1; ++level, --remaining) {
    if (StopOrSkipRequested()) return;
    run.FlipLists();
    TLList& list = run.ConsumingList();
    if (list.Count == 0) return;
    run.ShowLevel(level, depth);
    while (TLList::Node* item = list.First()) {
      const std::string link = item->Text;
      const bool frame = item->Flag != 0;
      list.Remove(item);
      ProcessPage(run, link, remaining, frame);
    }
  }
}

void StoreLinkedFile(RunContext& run, const FetchResult& result, std::string_view key,
                     TPageRecord* record, std::int32_t remaining, bool frame) {
  run.CountFile(result.Stream.Size());
  const std::string name =
      record != nullptr ? record->LocalName : run.AllocatePage(texts::kPageSuffix);
  if (name == texts::kNoName) return;
  SaveFileBody(run, result.Stream, name);
  if (record != nullptr) {
    record->Number = remaining;
    record->FlagB = 1;
  } else {
    run.Pages->Add(key, name, 0, remaining, 1, nullptr, frame ? 1 : 0);
  }
}

}  // namespace

PageJob MakePageJob(const RunContext& run, std::string address, std::string localName,
                    const FetchResult& result, const std::string& display, std::int32_t depth) {
  PageJob job;
  job.Address = std::move(address);
  job.LocalName = std::move(localName);
  const std::optional<std::string_view> title = PageTitle(result.Stream.View());
  job.Title = title ? std::string(*title) : display;
  job.Links = {run.SummaryName, run.SiteMapName, display, ""};
  job.Depth = depth;
  job.RewriteLinks = result.PageOk;
  return job;
}

bool ProcessEntry(RunContext& run, MemoryStream& page, PageJob& top, CheckedFile& topFile) {
  TOCList::Node* root = run.Contents->First();
  std::optional<CheckedFile> siteMap;
  if (!run.SiteMapName.empty()) {
    run.RecordFile(run.SiteMapName);
    siteMap.emplace(run.PathOf(run.SiteMapName));
    WriteSiteMapOpening(run, *siteMap, top.Links);
    if (root != nullptr) root->Name = top.Title;
  }
  bool frameSet = false;
  try {
    if (root != nullptr) run.CurrentList = root->Children;
    frameSet = WritePage(run, top, page, topFile);
    RunLevels(run, top.Depth);
  } catch (const EInOutError&) {
    if (siteMap) {
      try {
        FinishSiteMap(*siteMap, *run.Contents, top.Links);
      } catch (const EInOutError&) {
        // The disk error that ended the entry is the one reported.
      }
    }
    throw;
  }
  if (siteMap) FinishSiteMap(*siteMap, *run.Contents, top.Links);
  return frameSet;
}

void ProcessPage(RunContext& run, std::string_view link, std::int32_t remainingDepth, bool frame) {
  if (StopOrSkipRequested() || remainingDepth < 1) return;
  const std::string_view key = CutFragment(link);
  const std::string_view target =
      key.starts_with(kOrdinaryLinkMark) ? key.substr(kOrdinaryLinkMark.size()) : key;
  const std::string display = NormaliseDisplayAddress(target);
  TPageRecord* record = FindInRole(*run.Pages, key, frame);
  if (record != nullptr && record->FlagB != 0 && record->Number >= remainingDepth) return;

  run.ShowItem(ProgressItem::CurrAddr, display);
  std::string address(target);
  FetchResult result = run.Fetch(address, run.PageFetchOptions());
  run.SetIdleStatus();
  if (result.NonText && result.PageOk) {
    StoreLinkedFile(run, result, key, record, remainingDepth, frame);
    return;
  }

  // A page, or the page that explains why there is none: a promised name is always filled.
  run.CountPage(result.Stream.Size());
  CleanPage(result.Stream);
  const std::string name =
      record != nullptr ? record->LocalName : run.AllocatePage(texts::kPageSuffix);
  if (name == texts::kNoName) return;
  const bool firstStore = record == nullptr || record->FlagB == 0;
  if (record == nullptr) {
    run.CurrentList->Add("");
    record =
        run.Pages->Add(key, name, 0, remainingDepth, 1, run.CurrentList->Last(), frame ? 1 : 0);
  } else {
    record->FlagA = 0;
    record->Number = remainingDepth;
    record->FlagB = 1;
  }

  PageJob job =
      MakePageJob(run, FetchedPageAddress(target, address), name, result, display, remainingDepth);
  job.Frame = frame;
  if (!run.SiteMapName.empty() && (result.PageOk || result.External) &&
      record->TocNode != nullptr) {
    record->TocNode->Name = job.Title;
  }
  if (record->TocNode != nullptr) run.CurrentList = record->TocNode->Children;

  if (firstStore) run.RecordFile(name);
  CheckedFile file(run.PathOf(name));
  const bool frameSet = WritePage(run, job, result.Stream, file);
  if (!frameSet && !frame) PrintBriefFooter(file, job.Links);
  file << (frameSet ? "</frameset></html>" : "</body></html>");
  file.Close();
  run.SetIdleStatus();
}

}  // namespace gl
