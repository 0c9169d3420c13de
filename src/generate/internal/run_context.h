#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/brief_record.h"
#include "core/contents_tree.h"
#include "core/link_list.h"
#include "core/page_table.h"
#include "core/settings.h"
#include "generate/internal/archive_names.h"
#include "generate/internal/checked_file.h"
#include "generate/internal/navigation.h"
#include "generate/internal/run_catalogue.h"
#include "generate/internal/transfers_ahead.h"
#include "generate/internal/view_index.h"
#include "generate/run_environment.h"
#include "generate/run_host.h"
#include "net/fetch.h"

namespace gl {

// What one generation run shares between its steps, and all that the steps may reach: the run
// folder with its names and catalogue, the current web entry with its page table, contents tree
// and level lists, the fetch, and the host's progress display. The run driver opens the folder and
// starts and ends each entry; the spider, the rewriter, the downloader and the page writers work
// inside them. Passed explicitly to every step; nothing of a run lives in globals.
class RunContext {
 public:
  RunContext(const Settings& settings, const RunEnvironment& environment, RunHost& host,
             NameCounters& names, PageFetcher fetch);

  // The run driver's part: the folder, the summary's name and the catalogue, the entries.

  void SetRunDirectory(std::filesystem::path directory);
  // Names the summary page in the run folder (see RunFolderNames); texts::kNoName when no name is
  // free.
  std::string NameSummary();
  // Creates the run catalogue beside the named summary page; raises EInOutError when it cannot.
  void OpenCatalogue();
  // Writes the catalogue's closing record; false when it could not be written whole.
  bool FinishCatalogue() noexcept;

  // Starts a web entry: a fresh page table, contents tree (with the list of the top page's level
  // current) and pair of level lists.
  void BeginEntry(const TWebEntry& entry, std::string entryAddress);
  void SetSiteMapName(std::string name) { siteMapName_ = std::move(name); }
  void EndEntry();

  // The run folder.

  const std::filesystem::path& RunDirectory() const { return runDirectory_; }
  std::filesystem::path PathOf(std::string_view name) const { return runDirectory_ / name; }
  const std::string& SummaryName() const { return summaryName_; }
  // The program's images as generated pages refer to them ("/abs/dir/images/").
  const std::string& ImageDirectory() const { return imageDirectory_; }
  // New names in the run folder; texts::kNoName when none is free.
  std::string AllocatePage(std::string_view extension);
  std::string AllocateImage(std::string_view extension);
  // Lists a file in the run catalogue before it is created; raises EInOutError on failure.
  void RecordFile(std::string_view name);
  // Raises EInOutError unless the run folder's file system has more free bytes than the minimum.
  void CheckFreeSpace() const;
  std::time_t Now() const;
  // The navigation header of a page, stamped now.
  void WriteHeader(CheckedFile& file, std::string_view title, bool frameSet,
                   const LinkSet& links) const;

  // The current web entry.

  const TWebEntry& Entry() const { return *entry_; }
  const std::string& SiteMapName() const { return siteMapName_; }
  THashTable& Pages() { return *pages_; }
  TOCList& Contents() { return *contents_; }
  // Adds a node for a page to the level below the page being written (SetCurrentParent), and
  // returns it.
  std::uint32_t AddContentsNode(std::string_view name) {
    return contents_->Add(currentParent_, name);
  }
  void SetCurrentParent(std::uint32_t node) { currentParent_ = node; }
  // The two level lists: the rewriter fills one while the spider works through the other.
  TLList& FillingList() { return *lists_[listIndex_]; }
  TLList& ConsumingList() { return *lists_[1 - listIndex_]; }
  void FlipLists();
  // Appends a link (a page-table key) for the spider to take one level down with
  // `remainingDepth`, unless the list holds it in the same role already or a page stored in that
  // role with at least that depth answers it: the spider would find nothing to do for it.
  // Returns whether the list holds it in that role now, after which, until the lists flip, every
  // call for it in that role does nothing.
  bool QueueLink(std::string_view key, bool frame, std::int32_t remainingDepth);
  // The link that an item of `list` (one of the two) stands for.
  std::string QueuedLink(const TLList& list, const TLList::Item& item) const;

  // Fetching, with the entry's credentials: a page as the entry's options allow it; an image or
  // file that a page shows or links from wherever it is served. With transfers ahead in place,
  // what they have fetched for the address.
  FetchResult FetchPage(std::string& address);
  FetchResult FetchFile(std::string& address);
  FetchOptions PageOptions() const;
  FetchOptions FileOptions() const;
  // The transfers of one web entry at once (the Connections setting); above 1 the spider fetches
  // ahead with a TransfersAhead made from this fetch and set here while it works.
  int Connections() const { return settings_.Connections; }
  const PageFetcher& Fetcher() const { return fetch_; }
  void SetTransfersAhead(TransfersAhead* ahead) { ahead_ = ahead; }
  TransfersAhead* Ahead() const { return ahead_; }
  // Whether "https:" links are fetched like the web (the secure-pages setting).
  bool SecurePages() const { return settings_.SecurePages; }
  // Whether pages come with their style sheets, fonts, icons and srcset pictures.
  bool PageStyles() const { return settings_.PageStyles; }

  // What the host shows.

  void ShowItem(ProgressItem item, const std::string& text) { host_.UpdateItem(item, text); }
  void ShowCounters();
  // "level of depth" in the depth label.
  void ShowLevel(std::int32_t level, std::int32_t depth);
  void CountPage(std::uint64_t bytes);
  void CountFile(std::uint64_t bytes);
  void SetIdleStatus();

 private:
  FetchOptions OptionsForEntry() const;

  const Settings& settings_;
  const RunEnvironment& environment_;
  RunHost& host_;
  NameCounters& names_;
  PageFetcher fetch_;

  std::filesystem::path runDirectory_;
  std::optional<RunFolderNames> folderNames_;
  std::string imageDirectory_;
  std::string summaryName_;
  std::optional<RunCatalogueWriter> catalogue_;
  // Shown in the progress window; 64 bits, so a long run never wraps them.
  std::int64_t pagesLoaded_ = 0;
  std::int64_t imagesLoaded_ = 0;
  std::uint64_t bytesLoaded_ = 0;

  const TWebEntry* entry_ = nullptr;
  std::string entryAddress_;  // the entry's own address, for the same-site test
  std::string siteMapName_;   // empty when the entry has no site map
  std::unique_ptr<THashTable> pages_;
  std::unique_ptr<TOCList> contents_;
  std::uint32_t currentParent_ = 0;  // a node of the contents tree, 0 for its top level
  std::unique_ptr<TLList> lists_[2];
  int listIndex_ = 1;
  // The links of the filling list queued without a page record, ordinary and frame links apart;
  // they view the nodes' texts.
  ViewIndex queued_[2];
  TransfersAhead* ahead_ = nullptr;
};

}  // namespace gl
