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
#include "generate/internal/transfers_ahead.h"
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

// Whether ProcessPage will fetch a link of the list, as far as the pages stored so far tell: not
// when its record is stored with enough depth left, nor when a stored file serves its address.
bool NeedsFetch(const THashTable& pages, const TPageRecord* record, std::string_view target,
                std::int32_t remainingDepth) {
  if (record != nullptr && record->StoredDeepEnough(remainingDepth)) return false;
  return FindStoredFile(pages, target) == nullptr;
}

// How many items of a level's list are fetched ahead of the spider for each connection.
constexpr std::uint64_t kItemsAheadPerConnection = 2;

// The spider's look-ahead over one level's list: before the spider takes an item, the transfers
// of the items after it that will need one are queued, with the images their pages show. What is
// stored meanwhile may make one of them unneeded; its result is then dropped unused.
class LookAhead {
 public:
  LookAhead(RunContext& run, TransfersAhead& ahead, std::int32_t remainingDepth)
      : run_(run),
        ahead_(ahead),
        remainingDepth_(remainingDepth),
        window_(kItemsAheadPerConnection * static_cast<std::uint64_t>(run.Connections())),
        pageOptions_(run.PageOptions()),
        fileOptions_(run.FileOptions()) {}

  // The spider is about to take the front of `list`, the `item`-th of the entry.
  void Before(const TLList& list, std::uint64_t item) {
    frontierItem_ = std::max(frontierItem_, item);
    while (frontierItem_ - item < list.Count() && frontierItem_ <= item + window_) {
      Queue(list, list.At(frontierItem_ - item), frontierItem_);
      ++frontierItem_;
    }
  }

 private:
  void Queue(const TLList& list, const TLList::Item& queued, std::uint64_t item) {
    const std::string link = run_.QueuedLink(list, queued);
    const std::string_view key = CutFragment(link);
    const std::string_view target = AddressOfKey(key);
    const TPageRecord* record = FindInRole(run_.Pages(), key, queued.Flag != 0);
    if (!NeedsFetch(run_.Pages(), record, target, remainingDepth_)) return;
    // The images of a page are stored only when the entry loads them.
    ahead_.Start(item, TransferKind::Page, std::string(target), pageOptions_,
                 run_.Entry().Images ? &fileOptions_ : nullptr);
  }

  RunContext& run_;
  TransfersAhead& ahead_;
  const std::int32_t remainingDepth_;
  const std::uint64_t window_;
  const FetchOptions pageOptions_;
  const FetchOptions fileOptions_;
  std::uint64_t frontierItem_ = 0;  // the first item not looked at yet
};

// The transfers ahead of one entry's levels, in place while they run.
class TransfersAheadInPlace {
 public:
  explicit TransfersAheadInPlace(RunContext& run) : run_(run) {
    if (run.Connections() <= 1) return;
    ahead_.emplace(run.Connections(), run.Fetcher());
    run.SetTransfersAhead(&*ahead_);
  }
  TransfersAheadInPlace(const TransfersAheadInPlace&) = delete;
  TransfersAheadInPlace& operator=(const TransfersAheadInPlace&) = delete;
  ~TransfersAheadInPlace() { run_.SetTransfersAhead(nullptr); }

 private:
  RunContext& run_;
  std::optional<TransfersAhead> ahead_;
};

void RunLevels(RunContext& run, std::int32_t depth) {
  std::uint64_t item = 0;
  std::int32_t remaining = depth - 1;
  for (std::int32_t level = 2; remaining >= 1; ++level, --remaining) {
    if (StopOrSkipRequested()) return;
    run.FlipLists();
    TLList& list = run.ConsumingList();
    if (list.Count() == 0) return;
    run.ShowLevel(level, depth);
    std::optional<LookAhead> lookAhead;
    if (run.Ahead() != nullptr) lookAhead.emplace(run, *run.Ahead(), remaining);
    for (; list.Count() != 0; ++item) {
      if (lookAhead) lookAhead->Before(list, item);
      const std::string link = run.QueuedLink(list, list.At(0));
      const bool frame = list.At(0).Flag != 0;
      list.RemoveFirst();
      ProcessPage(run, link, remaining, frame);
      if (run.Ahead() != nullptr) run.Ahead()->Release(item);
    }
  }
}

// Fills a promised page name that no page took: with the page of the file stored for its address
// (a picture that the page also shows), else with the skipped page for that address.
void FillPromisedPage(RunContext& run, TPageRecord& record) {
  const std::string key = run.Pages().Address(record);
  const std::string_view address = AddressOfKey(key);
  if (const TPageRecord* file = FindStoredFile(run.Pages(), address)) {
    WriteFilePage(run, record, run.Pages().LocalName(*file));
    return;
  }
  const std::string display = NormaliseDisplayAddress(address);
  FetchResult skipped;
  WriteSkippedPage(skipped.Stream, display);
  CleanPage(skipped.Stream);
  record.Stored = true;
  PageJob job = MakePageJob(run, std::string(address), run.Pages().LocalName(record), skipped,
                            display, record.RemainingDepth());
  job.Frame = record.FrameRole;
  StorePage(run, job, skipped.Stream, false);
}

// After Stop or Skip: every page name that a link promised and no page took is filled, so that no
// link of the archive leads nowhere. Every promised name has a node in the contents tree, which is
// walked without recursion.
void FillPromisedPages(RunContext& run) {
  const TOCList& tree = run.Contents();
  std::vector<std::uint32_t> pending{tree.First()};
  while (!pending.empty()) {
    const std::uint32_t node = pending.back();
    pending.pop_back();
    if (node == 0) continue;
    pending.push_back(tree.Next(node));
    pending.push_back(tree.First(node));
    if (tree.Page(node) == 0) continue;
    TPageRecord& page = run.Pages().RecordAt(tree.Page(node));
    if (!page.Stored) FillPromisedPage(run, page);
  }
}

}  // namespace

void ProcessEntry(RunContext& run, MemoryStream& page, PageJob& top) {
  const TransfersAheadInPlace inPlace(run);
  const std::uint32_t root = run.Contents().First();
  // The catalogue lists the top page before the site map, which is opened before the top page is
  // written: its opening stands ahead of every file that the top page stores.
  run.RecordFile(top.LocalName);
  std::optional<CheckedFile> siteMap;
  if (!run.SiteMapName().empty()) {
    run.RecordFile(run.SiteMapName());
    siteMap.emplace(run.PathOf(run.SiteMapName()));
    WriteSiteMapOpening(run, *siteMap, top.Links);
    if (root != 0) run.Contents().SetName(root, top.Title);
  }
  try {
    if (root != 0) run.SetCurrentParent(root);
    StorePage(run, top, page, true);
    RunLevels(run, top.Depth);
    if (StopOrSkipRequested()) FillPromisedPages(run);
  } catch (const EInOutError&) {
    if (siteMap) {
      try {
        FinishSiteMap(*siteMap, run.Contents(), run.Pages(), top.Links);
      } catch (const EInOutError&) {
        // The disk error that ended the entry is the one reported.
      }
    }
    throw;
  }
  if (siteMap) FinishSiteMap(*siteMap, run.Contents(), run.Pages(), top.Links);
}

void ProcessPage(RunContext& run, std::string_view link, std::int32_t remainingDepth, bool frame) {
  if (StopOrSkipRequested() || remainingDepth < 1) return;
  const std::string_view key = CutFragment(link);
  const std::string_view target = AddressOfKey(key);
  const std::string display = NormaliseDisplayAddress(target);
  TPageRecord* record = FindInRole(run.Pages(), key, frame);
  if (record != nullptr && record->StoredDeepEnough(remainingDepth)) return;
  // The page shows the file as well and has stored it already: the link leads to that copy.
  if (const TPageRecord* file = FindStoredFile(run.Pages(), target)) {
    if (record != nullptr) WriteFilePage(run, *record, run.Pages().LocalName(*file));
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
      record != nullptr ? run.Pages().LocalName(*record) : run.AllocatePage(texts::kPageSuffix);
  if (name == texts::kNoName) return;
  run.CountPage(result.Stream.Size());
  CleanPage(result.Stream);
  const bool listed = record != nullptr && record->Stored;
  if (record == nullptr) {
    record = run.Pages().AddStored(key, name, remainingDepth, run.AddContentsNode(""), frame);
  } else {
    record->SetRemainingDepth(remainingDepth);
    record->Stored = true;
  }

  PageJob job =
      MakePageJob(run, FetchedPageAddress(target, address), name, result, display, remainingDepth);
  job.Frame = frame;
  if (!run.SiteMapName().empty() && (result.PageOk || result.External) && record->TocNode != 0) {
    run.Contents().SetName(record->TocNode, job.Title);
  }
  if (record->TocNode != 0) run.SetCurrentParent(record->TocNode);

  StorePage(run, job, result.Stream, listed);
  run.SetIdleStatus();
}

}  // namespace gl
