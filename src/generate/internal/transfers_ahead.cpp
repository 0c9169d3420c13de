#include "generate/internal/transfers_ahead.h"

#include <utility>

#include "generate/internal/shown_files.h"
#include "net/address_forms.h"

namespace gl {

struct TransfersAhead::Job {
  enum class State { Waiting, Running, Done };

  std::uint64_t Item = 0;
  std::uint64_t Arrival = 0;
  TransferKind Kind = TransferKind::Page;
  std::string Address;  // as asked for; after the transfer, as followed
  FetchOptions Options;
  bool WithImages = false;
  FetchOptions ImageOptions;
  State Current = State::Waiting;
  bool Dropped = false;  // released while it ran: its result is thrown away
  FetchResult Result;
  // The latest progress, for the spider to show once it waits for this job.
  std::string Status;
  int Percent = -1;
  bool StatusChanged = false;
  bool PercentChanged = false;
};

// Keeps a running job's latest status and progress (the latest value wins) and wakes the spider
// if it is waiting for this job.
class TransfersAhead::JobProgress final : public ProgressSink {
 public:
  JobProgress(TransfersAhead& owner, Job& job) : owner_(owner), job_(job) {}
  void SetStatusText(const std::string& text) override {
    const std::lock_guard lock(owner_.mutex_);
    job_.Status = text;
    job_.StatusChanged = true;
    owner_.changed_.notify_all();
  }
  void SetProgress(int percent) override {
    const std::lock_guard lock(owner_.mutex_);
    job_.Percent = percent;
    job_.PercentChanged = true;
    owner_.changed_.notify_all();
  }

 private:
  TransfersAhead& owner_;
  Job& job_;
};

TransfersAhead::TransfersAhead(int connections, PageFetcher fetch)
    : connections_(connections), fetch_(std::move(fetch)) {
  for (int i = 0; i < connections_; ++i)
    workers_.emplace_back([this] { Work(); });
}

TransfersAhead::~TransfersAhead() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_)
    worker.join();
}

TransfersAhead::JobKey TransfersAhead::KeyOf(TransferKind kind, const std::string& address) {
  return (kind == TransferKind::Page ? "P" : "F") + address;
}

void TransfersAhead::Start(std::uint64_t item, TransferKind kind, const std::string& address,
                           const FetchOptions& options, const FetchOptions* imageOptions) {
  const std::lock_guard lock(mutex_);
  Queue(item, kind, address, options, imageOptions);
}

void TransfersAhead::Queue(std::uint64_t item, TransferKind kind, const std::string& address,
                           const FetchOptions& options, const FetchOptions* imageOptions) {
  JobKey key = KeyOf(kind, address);
  if (stopping_ || jobs_.contains(key)) return;
  if (kind == TransferKind::File && !filesOnce_.Insert(std::hash<JobKey>{}(key))) return;
  auto job = std::make_shared<Job>();
  job->Item = item;
  job->Arrival = arrivals_++;
  job->Kind = kind;
  job->Address = address;
  job->Options = options;
  job->WithImages = imageOptions != nullptr;
  if (imageOptions != nullptr) job->ImageOptions = *imageOptions;
  waiting_.emplace(std::pair(job->Item, job->Arrival), job);
  jobs_.emplace(std::move(key), std::move(job));
  changed_.notify_all();
}

void TransfersAhead::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] {
      return stopping_ || (!waiting_.empty() && !spiderWaiting_ && running_ < connections_);
    });
    if (stopping_) return;
    const std::shared_ptr<Job> job = waiting_.begin()->second;
    waiting_.erase(waiting_.begin());
    RunJob(lock, job);
  }
}

void TransfersAhead::RunJob(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Job>& job) {
  job->Current = Job::State::Running;
  ++running_;
  lock.unlock();
  JobProgress progress(*this, *job);
  const std::string requested = job->Address;
  FetchResult result = fetch_(job->Address, job->Options, progress);
  std::vector<std::string> images;
  if (job->WithImages && result.PageOk && !result.NonText) {
    images = ShownFileAddresses(result.Stream.View(), FetchedPageAddress(requested, job->Address));
  }
  lock.lock();
  --running_;
  job->Current = Job::State::Done;
  if (job->Dropped) {
    changed_.notify_all();
    return;
  }
  job->Result = std::move(result);
  for (const std::string& image : images)
    Queue(job->Item, TransferKind::File, image, job->ImageOptions, nullptr);
  changed_.notify_all();
}

FetchResult TransfersAhead::Take(TransferKind kind, std::string& address,
                                 const FetchOptions& options, ProgressSink& progress) {
  std::unique_lock lock(mutex_);
  JobKey key = KeyOf(kind, address);
  const auto found = jobs_.find(key);
  // What the spider fetches itself is not fetched ahead any more: a page that shows the same
  // image again finds it stored.
  if (found == jobs_.end()) {
    if (kind == TransferKind::File) filesOnce_.Insert(std::hash<JobKey>{}(key));
    return FetchNow(lock, address, options, progress);
  }
  const std::shared_ptr<Job> job = found->second;
  jobs_.erase(found);
  if (job->Current == Job::State::Waiting) {
    waiting_.erase(std::pair(job->Item, job->Arrival));
    return FetchNow(lock, address, options, progress);
  }
  // While the spider waits, the transfer's latest status and progress are shown, what it reported
  // before the spider came included; a finished transfer shows nothing more.
  for (;;) {
    if (job->Current == Job::State::Done) break;
    if (job->StatusChanged || job->PercentChanged) {
      const std::string status = job->StatusChanged ? job->Status : std::string();
      const int percent = job->PercentChanged ? job->Percent : -1;
      const bool showStatus = job->StatusChanged;
      job->StatusChanged = job->PercentChanged = false;
      lock.unlock();
      if (showStatus) progress.SetStatusText(status);
      if (percent >= 0) progress.SetProgress(percent);
      lock.lock();
      continue;
    }
    changed_.wait(lock);
  }
  address = job->Address;
  return std::move(job->Result);
}

FetchResult TransfersAhead::FetchNow(std::unique_lock<std::mutex>& lock, std::string& address,
                                     const FetchOptions& options, ProgressSink& progress) {
  spiderWaiting_ = true;
  changed_.wait(lock, [this] { return running_ < connections_; });
  spiderWaiting_ = false;
  ++running_;
  changed_.notify_all();  // workers held back while the spider waited may start again
  lock.unlock();
  FetchResult result = fetch_(address, options, progress);
  lock.lock();
  --running_;
  changed_.notify_all();
  return result;
}

void TransfersAhead::Release(std::uint64_t item) {
  const std::lock_guard lock(mutex_);
  while (!waiting_.empty() && waiting_.begin()->first.first <= item)
    waiting_.erase(waiting_.begin());
  for (auto job = jobs_.begin(); job != jobs_.end();) {
    if (job->second->Item > item) {
      ++job;
      continue;
    }
    job->second->Dropped = true;
    job = jobs_.erase(job);
  }
}

}  // namespace gl
