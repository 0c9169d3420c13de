#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "generate/internal/hash_set.h"
#include "net/fetch.h"
#include "net/progress_sink.h"

// Transfers ahead of the spider: while the spider stores one page, the pages that it takes next
// from its level list, and the images they show, are fetched on a few threads of their own. The
// spider still asks for every fetch in its own order and gets the same result it would have
// fetched itself, so the archive does not depend on how many transfers run at once.

namespace gl {

// How a run obtains a page or file: FetchPage in a real run; tests and fuzzing hand in their own.
// It may be called from several threads at once, each with its own progress sink.
using PageFetcher = std::function<FetchResult(std::string& address, const FetchOptions& options,
                                              ProgressSink& progress)>;

// A page is fetched as the entry's options allow it; a file that a page shows, from anywhere.
enum class TransferKind { Page, File };

class TransfersAhead {
 public:
  // At most `connections` transfers run at once, the spider's own included.
  TransfersAhead(int connections, PageFetcher fetch);
  TransfersAhead(const TransfersAhead&) = delete;
  TransfersAhead& operator=(const TransfersAhead&) = delete;
  // Waits for the transfers that are running; nothing new starts.
  ~TransfersAhead();

  // Queues a transfer for the spider's list item `item` (the lowest items go first), unless one
  // for this address of this kind waits to be taken or, for a file, was ever queued. A page with
  // `imageOptions` has the addresses of the images and embedded files it shows queued for the same
  // item once it has arrived.
  void Start(std::uint64_t item, TransferKind kind, const std::string& address,
             const FetchOptions& options, const FetchOptions* imageOptions = nullptr);

  // The spider's fetch: the result of the transfer queued for the address, waited for while its
  // status and progress are shown on `progress`; fetched now when none was queued or it has not
  // started. After a redirect `address` holds the address followed, as with FetchPage.
  FetchResult Take(TransferKind kind, std::string& address, const FetchOptions& options,
                   ProgressSink& progress);

  // Drops what was queued or fetched for the items up to `item` and not taken.
  void Release(std::uint64_t item);

 private:
  struct Job;
  class JobProgress;
  using JobKey = std::string;  // the kind's letter and the address

  static JobKey KeyOf(TransferKind kind, const std::string& address);
  void Queue(std::uint64_t item, TransferKind kind, const std::string& address,
             const FetchOptions& options, const FetchOptions* imageOptions);
  void Work();
  void RunJob(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Job>& job);
  FetchResult FetchNow(std::unique_lock<std::mutex>& lock, std::string& address,
                       const FetchOptions& options, ProgressSink& progress);

  const int connections_;
  const PageFetcher fetch_;
  std::mutex mutex_;
  std::condition_variable changed_;
  // Jobs not yet taken, by key; waiting ones also in order of item and arrival.
  std::unordered_map<JobKey, std::shared_ptr<Job>> jobs_;
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::shared_ptr<Job>> waiting_;
  // The files queued or fetched so far, by their keys' hashes: small for a large site. Two keys of
  // one hash cost a transfer that the spider makes itself, never a wrong result. Pages need no
  // such set: the spider queues a page only when the page table has not stored it.
  HashSet filesOnce_;
  std::uint64_t arrivals_ = 0;
  int running_ = 0;             // transfers under way, the spider's own included
  bool spiderWaiting_ = false;  // the spider waits for a connection: it goes first
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace gl
