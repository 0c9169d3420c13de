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
#include "generate/checked_file.h"
#include "generate/generate_brief.h"
#include "generate/navigation.h"
#include "generate/run_catalogue.h"
#include "generate/run_host.h"
#include "net/fetch.h"

namespace gl {

// How a run obtains a page or file: FetchPage in a real run; tests and fuzzing hand in their own.
using PageFetcher = std::function<FetchResult(std::string& address, const FetchOptions& options)>;

// The run's counters, shown in the progress window. 64 bits, so a long run never wraps them.
struct RunCounters {
  std::int64_t Pages = 0;
  std::int64_t Images = 0;
  std::uint64_t Bytes = 0;
};

// Everything one generation run shares between its steps: the machine, the host, the counters,
// the run folder and its catalogue, and the current web entry's page table, contents tree and
// link lists. Passed explicitly to every step; nothing of a run lives in globals.
struct RunContext {
  RunContext(const Settings& settings, const RunEnvironment& environment, RunHost& host,
             NameCounters& names, PageFetcher fetch);

  const Settings& RunSettings;
  const RunEnvironment& Environment;
  RunHost& Host;
  NameCounters& Names;
  PageFetcher Fetch;

  std::filesystem::path RunDirectory;
  std::string ImageDirectory;  // as generated pages refer to it ("/abs/dir/images/")
  std::optional<RunCatalogueWriter> Catalogue;
  RunCounters Counters;
  std::string SummaryName;

  // The current web entry.
  const TWebEntry* Entry = nullptr;
  std::string EntryAddress;  // the entry's own address, for the same-site test
  std::string SiteMapName;   // empty when the entry has no site map
  std::unique_ptr<THashTable> Pages;
  std::unique_ptr<TOCList> Contents;
  TOCList* CurrentList = nullptr;  // where the next page nodes are added

  // Starts a web entry: a fresh page table, contents tree and pair of link lists.
  void BeginEntry(const TWebEntry& entry, std::string entryAddress);
  void EndEntry();

  // The two level lists: the rewriter fills one while the spider works through the other.
  TLList& FillingList() { return *lists_[listIndex_]; }
  TLList& ConsumingList() { return *lists_[1 - listIndex_]; }
  void FlipLists() { listIndex_ = 1 - listIndex_; }

  FetchOptions PageFetchOptions() const;
  FetchOptions FileFetchOptions() const;

  std::time_t Now() const;
  // Raises EInOutError unless the run folder's file system has more free bytes than the minimum.
  void CheckFreeSpace() const;

  // New names in the run folder; texts::kNoName when none is free.
  std::string AllocatePage(std::string_view extension);
  std::string AllocateImage(std::string_view extension);

  // Lists a file in the run catalogue before it is created; raises EInOutError on failure.
  void RecordFile(std::string_view name);
  std::filesystem::path PathOf(std::string_view name) const { return RunDirectory / name; }

  void WriteHeader(CheckedFile& file, std::string_view title, bool frameSet,
                   const LinkSet& links) const;

  void ShowItem(ProgressItem item, const std::string& text) { Host.UpdateItem(item, text); }
  void ShowCounters();
  // "level of depth" in the depth label.
  void ShowLevel(std::int32_t level, std::int32_t depth) {
    ShowItem(ProgressItem::CurrDepth, std::to_string(level) + " of " + std::to_string(depth));
  }
  void CountPage(std::uint64_t bytes);
  void CountFile(std::uint64_t bytes);
  void SetIdleStatus();

 private:
  std::unique_ptr<TLList> lists_[2];
  int listIndex_ = 1;
};

}  // namespace gl
