#include "generate/run_context.h"

#include "generate/archive_names.h"
#include "generate/run_errors.h"
#include "generate/texts.h"
#include "net/texts.h"

namespace gl {

RunContext::RunContext(const Settings& settings, const RunEnvironment& environment, RunHost& host,
                       NameCounters& names, PageFetcher fetch)
    : RunSettings(settings),
      Environment(environment),
      Host(host),
      Names(names),
      Fetch(std::move(fetch)),
      ImageDirectory(ImageDirectoryText(environment.ProgramDirectory)) {}

void RunContext::BeginEntry(const TWebEntry& entry, std::string entryAddress) {
  Entry = &entry;
  EntryAddress = std::move(entryAddress);
  SiteMapName.clear();
  Pages = std::make_unique<THashTable>(kPageTableBuckets);
  Contents = std::make_unique<TOCList>();
  CurrentList = Contents.get();
  lists_[0] = std::make_unique<TLList>();
  lists_[1] = std::make_unique<TLList>();
  listIndex_ = 1;
}

void RunContext::EndEntry() {
  CurrentList = nullptr;
  Pages.reset();
  Contents.reset();
  lists_[0].reset();
  lists_[1].reset();
  Entry = nullptr;
}

FetchOptions RunContext::PageFetchOptions() const {
  FetchOptions options;
  options.UserName = Entry->UserName;
  options.Password = Entry->Password;
  options.CredentialsAddress = EntryAddress;
  options.ForbidExternal = Entry->StayLocal;
  options.BaseAddress = EntryAddress;
  options.AcceptImages = Entry->Images;
  options.AcceptOtherFiles = Entry->OtherFiles;
  return options;
}

// Images and files belong to the page that shows them, wherever they are served from; the
// entry's credentials still go to its own server only.
FetchOptions RunContext::FileFetchOptions() const {
  FetchOptions options;
  options.UserName = Entry->UserName;
  options.Password = Entry->Password;
  options.CredentialsAddress = EntryAddress;
  options.BaseAddress = EntryAddress;
  options.AcceptImages = true;
  options.AcceptOtherFiles = true;
  return options;
}

std::time_t RunContext::Now() const {
  return Environment.Now ? Environment.Now() : std::time(nullptr);
}

void RunContext::CheckFreeSpace() const {
  const std::int64_t free = Environment.FreeSpace ? Environment.FreeSpace(RunDirectory) : -1;
  if (free > RunSettings.DiskBuffer) return;
  throw EInOutError(RunDirectory.string() +
                    (free < 0 ? std::string(": the free space cannot be read")
                              : ": " + std::to_string(free >> 10) +
                                    " KB free, at or below the disk buffer of " +
                                    std::to_string(RunSettings.DiskBuffer >> 10) + " KB"));
}

std::string RunContext::AllocatePage(std::string_view extension) {
  return AllocatePageName(RunDirectory, extension, Names.Page);
}

std::string RunContext::AllocateImage(std::string_view extension) {
  return AllocateImageName(RunDirectory, extension, Names.Image);
}

void RunContext::RecordFile(std::string_view name) {
  if (!Catalogue || !Catalogue->WriteCatalogueName(name)) throw EInOutError();
}

void RunContext::WriteHeader(CheckedFile& file, std::string_view title, bool frameSet,
                             const LinkSet& links) const {
  PrintBriefHeader(file, ImageDirectory, Now(), title, frameSet, links);
}

void RunContext::ShowCounters() {
  ShowItem(ProgressItem::PagesLoaded, std::to_string(Counters.Pages));
  ShowItem(ProgressItem::ImagesLoaded, std::to_string(Counters.Images));
  ShowItem(ProgressItem::BytesLoaded, std::to_string(Counters.Bytes >> 10));
}

void RunContext::CountPage(std::uint64_t bytes) {
  ++Counters.Pages;
  Counters.Bytes += bytes;
  ShowItem(ProgressItem::PagesLoaded, std::to_string(Counters.Pages));
  ShowItem(ProgressItem::BytesLoaded, std::to_string(Counters.Bytes >> 10));
}

void RunContext::CountFile(std::uint64_t bytes) {
  ++Counters.Images;
  Counters.Bytes += bytes;
  ShowItem(ProgressItem::ImagesLoaded, std::to_string(Counters.Images));
  ShowItem(ProgressItem::BytesLoaded, std::to_string(Counters.Bytes >> 10));
}

void RunContext::SetIdleStatus() {
  Host.SetStatusText(std::string(texts::kIdleStatus));
}

}  // namespace gl
