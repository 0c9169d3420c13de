#include "generate/internal/spider.h"

#include <optional>
#include <string>
#include <vector>

#include "generate/internal/download.h"
#include "generate/internal/page_clean.h"
#include "generate/internal/run_errors.h"
#include "generate/internal/site_map.h"
#include "generate/internal/store.h"
#include "generate/internal/texts.h"
#include "net/address_forms.h"
#include "net/generated_pages.h"
#include "platform/cancellation.h"

namespace gl {
namespace {

// The record of a link in the role it was appended in: as a frame or not. The same key may have
// been promised in both roles; each must be filled under its own name.
TPageRecord* FindInRole(const THashTable& pages, std::string_view key, bool frame) {
  TPageRecord* record = pages.FindNewest(
      key, [frame](const TPageRecord& candidate) { return candidate.FrameRole == frame; });
  return record != nullptr ? record : pages.Find(key);
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

// Fills a promised page name that no page took: with the page of the file stored for its address
// (a picture that the page also shows), else with the skipped page for that address.
void FillPromisedPage(RunContext& run, TPageRecord& record) {
  const std::string_view address = AddressOfKey(record.Address);
  if (const TPageRecord* file = FindStoredFile(run.Pages(), address)) {
    WriteFilePage(run, record, file->LocalName);
    return;
  }
  const std::string display = NormaliseDisplayAddress(address);
  FetchResult skipped;
  WriteSkippedPage(skipped.Stream, display);
  CleanPage(skipped.Stream);
  record.Stored = true;
  PageJob job = MakePageJob(run, std::string(address), record.LocalName, skipped, display,
                            record.RemainingDepth);
  job.Frame = record.FrameRole;
  StorePage(run, job, skipped.Stream, false);
}

// After Stop or Skip: every page name that a link promised and no page took is filled, so that no
// link of the archive leads nowhere. Every promised name has a node in the contents tree, which is
// walked without recursion.
void FillPromisedPages(RunContext& run) {
  std::vector<TOCList::Node*> pending{run.Contents().First()};
  while (!pending.empty()) {
    TOCList::Node* node = pending.back();
    pending.pop_back();
    if (node == nullptr) continue;
    pending.push_back(node->Next);
    if (node->Children != nullptr) pending.push_back(node->Children->First());
    if (node->Page != nullptr && !node->Page->Stored) FillPromisedPage(run, *node->Page);
  }
}

}  // namespace

void ProcessEntry(RunContext& run, MemoryStream& page, PageJob& top) {
  TOCList::Node* root = run.Contents().First();
  // The catalogue lists the top page before the site map, which is opened before the top page is
  // written: its opening stands ahead of every file that the top page stores.
  run.RecordFile(top.LocalName);
  std::optional<CheckedFile> siteMap;
  if (!run.SiteMapName().empty()) {
    run.RecordFile(run.SiteMapName());
    siteMap.emplace(run.PathOf(run.SiteMapName()));
    WriteSiteMapOpening(run, *siteMap, top.Links);
    if (root != nullptr) root->Name = top.Title;
  }
  try {
    if (root != nullptr) run.SetCurrentList(*root->Children);
    StorePage(run, top, page, true);
    RunLevels(run, top.Depth);
    if (StopOrSkipRequested()) FillPromisedPages(run);
  } catch (const EInOutError&) {
    if (siteMap) {
      try {
        FinishSiteMap(*siteMap, run.Contents(), top.Links);
      } catch (const EInOutError&) {
        // The disk error that ended the entry is the one reported.
      }
    }
    throw;
  }
  if (siteMap) FinishSiteMap(*siteMap, run.Contents(), top.Links);
}

void ProcessPage(RunContext& run, std::string_view link, std::int32_t remainingDepth, bool frame) {
  if (StopOrSkipRequested() || remainingDepth < 1) return;
  const std::string_view key = CutFragment(link);
  const std::string_view target = AddressOfKey(key);
  const std::string display = NormaliseDisplayAddress(target);
  TPageRecord* record = FindInRole(run.Pages(), key, frame);
  if (record != nullptr && record->Stored && record->RemainingDepth >= remainingDepth) return;
  // The page shows the file as well and has stored it already: the link leads to that copy.
  if (const TPageRecord* file = FindStoredFile(run.Pages(), target)) {
    if (record != nullptr) WriteFilePage(run, *record, file->LocalName);
    return;
  }

  run.ShowItem(ProgressItem::CurrAddr, display);
  std::string address(target);
  FetchResult result = run.FetchPage(address);
  run.SetIdleStatus();
  if (result.NonText && result.PageOk) {
    StoreFetchedFile(run, result, target, record);
    return;
  }

  // A page, or the page that explains why there is none: a promised name is always filled. A page
  // is counted once it has a name to be stored under.
  const std::string name =
      record != nullptr ? record->LocalName : run.AllocatePage(texts::kPageSuffix);
  if (name == texts::kNoName) return;
  run.CountPage(result.Stream.Size());
  CleanPage(result.Stream);
  const bool listed = record != nullptr && record->Stored;
  if (record == nullptr) {
    record = run.Pages().AddStored(key, name, remainingDepth, run.CurrentList().Add(""), frame);
  } else {
    record->RemainingDepth = remainingDepth;
    record->Stored = true;
  }

  PageJob job =
      MakePageJob(run, FetchedPageAddress(target, address), name, result, display, remainingDepth);
  job.Frame = frame;
  if (!run.SiteMapName().empty() && (result.PageOk || result.External) &&
      record->TocNode != nullptr) {
    record->TocNode->Name = job.Title;
  }
  if (record->TocNode != nullptr) run.SetCurrentList(*record->TocNode->Children);

  StorePage(run, job, result.Stream, listed);
  run.SetIdleStatus();
}

}  // namespace gl
