#include "generate/internal/run_context.h"

#include "generate/internal/archive_names.h"
#include "generate/internal/run_errors.h"
#include "generate/internal/texts.h"
#include "net/texts.h"

namespace gl {

RunContext::RunContext(const Settings& settings, const RunEnvironment& environment, RunHost& host,
                       NameCounters& names, PageFetcher fetch)
    : settings_(settings),
      environment_(environment),
      host_(host),
      names_(names),
      fetch_(std::move(fetch)),
      imageDirectory_(ImageDirectoryText(environment.ProgramDirectory)) {}

void RunContext::SetRunDirectory(std::filesystem::path directory) {
  runDirectory_ = std::move(directory);
  folderNames_.emplace(runDirectory_);
}

std::string RunContext::NameSummary() {
  std::string name = folderNames_->Summary(names_.Summary);
  if (name != texts::kNoName) summaryName_ = name;
  return name;
}

void RunContext::OpenCatalogue() {
  catalogue_.emplace(runDirectory_ / CatalogueNameFor(summaryName_));
}

bool RunContext::FinishCatalogue() noexcept {
  return catalogue_ && catalogue_->Finish();
}

void RunContext::BeginEntry(const TWebEntry& entry, std::string entryAddress) {
  entry_ = &entry;
  entryAddress_ = std::move(entryAddress);
  siteMapName_.clear();
  contents_ = std::make_unique<TOCList>();
  pages_ = std::make_unique<THashTable>(contents_.get());
  currentParent_ = 0;
  lists_[0] = std::make_unique<TLList>();
  lists_[1] = std::make_unique<TLList>();
  listIndex_ = 1;
  for (auto& queued : queued_)
    queued = {};
}

void RunContext::FlipLists() {
  listIndex_ = 1 - listIndex_;
  if (pages_) pages_->ForgetQueued();
  // Emptied with their slots: a level of many links must not hold them through the next one,
  // which may queue none.
  for (auto& queued : queued_)
    queued = {};
}

bool RunContext::QueueLink(std::string_view key, bool frame, std::int32_t remainingDepth) {
  // One look-up: the newest record leads to the older ones of the same key.
  const std::uint32_t newest = pages_->FindNumber(key);
  for (std::uint32_t older = newest; older != 0; older = pages_->OlderNumber(older)) {
    const TPageRecord& record = pages_->RecordAt(older);
    if (record.FrameRole != frame) continue;
    if (record.StoredDeepEnough(remainingDepth)) return false;
    break;
  }
  TLList& list = FillingList();
  ViewIndex& queued = queued_[frame ? 1 : 0];
  // An address in the page table is marked queued on its oldest record, and the list names the
  // record instead of keeping a copy of the key. The index holds the rest, links queued before
  // their address had a record, and views the list's copies.
  if (newest != 0) {
    TPageRecord& oldest = pages_->Oldest(newest);
    const std::uint32_t role = frame ? 2U : 1U;
    if ((oldest.QueuedRoles & role) == 0 && !queued.Contains(key)) {
      oldest.QueuedRoles = (oldest.QueuedRoles | role) & 3U;
      list.AppendPage(newest, frame ? 1 : 0);
    }
    return true;
  }
  if (queued.Contains(key)) return true;
  list.Append(key, frame ? 1 : 0);
  queued.FindOrAdd(list.Copy(list.Last()));
  return true;
}

std::string RunContext::QueuedLink(const TLList& list, const TLList::Item& item) const {
  return item.Copied ? std::string(list.Copy(item))
                     : pages_->Address(pages_->RecordAt(item.Number));
}

void RunContext::EndEntry() {
  currentParent_ = 0;
  // The dedup sets view the lists' copies: they go first.
  for (auto& queued : queued_)
    queued = {};
  lists_[0].reset();
  lists_[1].reset();
  pages_.reset();
  contents_.reset();
  entry_ = nullptr;
}

std::string RunContext::AllocatePage(std::string_view extension) {
  return folderNames_->Page(extension, names_.Page);
}

std::string RunContext::AllocateImage(std::string_view extension) {
  return folderNames_->Image(extension, names_.Image);
}

void RunContext::RecordFile(std::string_view name) {
  if (!catalogue_ || !catalogue_->WriteCatalogueName(name)) throw EInOutError();
}

void RunContext::CheckFreeSpace() const {
  const std::int64_t free = environment_.FreeSpace ? environment_.FreeSpace(runDirectory_) : -1;
  if (free > settings_.DiskBufferBytes) return;
  throw EInOutError(runDirectory_.string() +
                    (free < 0 ? std::string(": the free space cannot be read")
                              : ": " + std::to_string(free >> 10) +
                                    " KB free, at or below the disk buffer of " +
                                    std::to_string(settings_.DiskBufferBytes >> 10) + " KB"));
}

std::time_t RunContext::Now() const {
  return environment_.Now ? environment_.Now() : std::time(nullptr);
}

void RunContext::WriteHeader(CheckedFile& file, std::string_view title, bool frameSet,
                             const LinkSet& links) const {
  PrintBriefHeader(file, imageDirectory_, Now(), title, frameSet, links);
}

FetchOptions RunContext::OptionsForEntry() const {
  FetchOptions options;
  options.UserName = entry_->UserName;
  options.Password = entry_->Password;
  options.CredentialsAddress = entryAddress_;
  options.BaseAddress = entryAddress_;
  return options;
}

FetchOptions RunContext::PageOptions() const {
  FetchOptions options = OptionsForEntry();
  options.StayLocal = entry_->StayLocal;
  options.AcceptImages = entry_->Images;
  options.AcceptOtherFiles = entry_->OtherFiles;
  return options;
}

// Images and files belong to the page that shows them, wherever they are served from; the
// entry's credentials still go to its own server only.
FetchOptions RunContext::FileOptions() const {
  FetchOptions options = OptionsForEntry();
  options.AcceptImages = true;
  options.AcceptOtherFiles = true;
  return options;
}

FetchResult RunContext::FetchPage(std::string& address) {
  if (ahead_ != nullptr) return ahead_->Take(TransferKind::Page, address, PageOptions(), host_);
  return fetch_(address, PageOptions(), host_);
}

FetchResult RunContext::FetchFile(std::string& address) {
  if (ahead_ != nullptr) return ahead_->Take(TransferKind::File, address, FileOptions(), host_);
  return fetch_(address, FileOptions(), host_);
}

void RunContext::ShowCounters() {
  ShowItem(ProgressItem::PagesLoaded, std::to_string(pagesLoaded_));
  ShowItem(ProgressItem::ImagesLoaded, std::to_string(imagesLoaded_));
  ShowItem(ProgressItem::BytesLoaded, std::to_string(bytesLoaded_ >> 10));
}

void RunContext::ShowLevel(std::int32_t level, std::int32_t depth) {
  ShowItem(ProgressItem::CurrDepth, std::to_string(level) + " of " + std::to_string(depth));
}

void RunContext::CountPage(std::uint64_t bytes) {
  ++pagesLoaded_;
  bytesLoaded_ += bytes;
  ShowItem(ProgressItem::PagesLoaded, std::to_string(pagesLoaded_));
  ShowItem(ProgressItem::BytesLoaded, std::to_string(bytesLoaded_ >> 10));
}

void RunContext::CountFile(std::uint64_t bytes) {
  ++imagesLoaded_;
  bytesLoaded_ += bytes;
  ShowItem(ProgressItem::ImagesLoaded, std::to_string(imagesLoaded_));
  ShowItem(ProgressItem::BytesLoaded, std::to_string(bytesLoaded_ >> 10));
}

void RunContext::SetIdleStatus() {
  host_.SetStatusText(std::string(texts::kIdleStatus));
}

}  // namespace gl
