#include "generate/generate_brief.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "core/brief_file.h"
#include "core/user_message.h"
#include "generate/internal/archive_names.h"
#include "generate/internal/entry_address.h"
#include "generate/internal/page_clean.h"
#include "generate/internal/run_context.h"
#include "generate/internal/run_errors.h"
#include "generate/internal/spider.h"
#include "generate/internal/store.h"
#include "generate/internal/summary_page.h"
#include "generate/internal/texts.h"
#include "generate/internal/unfetched_link_page.h"
#include "net/address_forms.h"
#include "platform/cancellation.h"
#include "platform/file_address.h"

namespace gl {
namespace {

void CheckStopAndSkip() {
  if (StopRequested()) throw EAbortBrief();
  if (SkipRequested()) throw ESkipEntry();
}

std::filesystem::path MakeRunDirectory(const std::filesystem::path& base, std::string& number) {
  for (std::int64_t n = 0;; ++n) {
    number = std::to_string(n);
    std::error_code error;
    if (std::filesystem::create_directory(base / number, error)) return base / number;
    if (error) throw EInOutError(ReasonLine(base / number, error));
  }
}

// One generation run, from the new run folder to the brief's archive lists.
class RunDriver {
 public:
  RunDriver(TBriefDocument document, Settings settings, NameCounters& names,
            const RunEnvironment& environment, RunHost& host)
      : document_(std::move(document)),
        settings_(std::move(settings)),
        host_(host),
        handle_(environment.Handle),
        run_(settings_, environment, host, names,
             [this](std::string& address, const FetchOptions& options, ProgressSink& progress) {
               return FetchPage(address, options, settings_, progress);
             }) {}

  RunReport Run() {
    if (document_.FileName.empty()) return report_;
    const std::filesystem::path base = BriefFolder(document_.FileName);
    host_.BeginRun();
    ClearStop();  // what an earlier run or command left
    if (handle_ != nullptr && handle_->StopRequested()) RequestStop();
    try {
      run_.SetRunDirectory(base);
      run_.CheckFreeSpace();
      if (OpenRun(base)) {
        try {
          RunEntries();
          report_.Outcome = RunOutcome::Completed;
        } catch (const EAbortBrief&) {
          report_.Outcome = RunOutcome::Aborted;
        }
      }
    } catch (const EInOutError& error) {
      report_.Outcome = RunOutcome::DiskError;
      std::string text(texts::kDiskErrorText);
      if (!error.Reason().empty()) text += "\n" + error.Reason();
      host_.ShowError(std::string(texts::kDiskErrorTitle), text);
    }
    CloseRun();
    return report_;
  }

 private:
  // Makes the run folder, names the summary page and opens it and the run catalogue. False when
  // no summary name is free: the run ends without a trace but its empty folder.
  bool OpenRun(const std::filesystem::path& base) {
    run_.SetRunDirectory(MakeRunDirectory(base, runNumber_));
    report_.RunDirectory = run_.RunDirectory();
    const std::string summaryName = run_.NameSummary();
    if (summaryName == texts::kNoName) return false;
    report_.SummaryPath = run_.PathOf(summaryName);

    run_.OpenCatalogue();
    run_.RecordFile(runNumber_);
    run_.RecordFile(summaryName);
    summary_.emplace(report_.SummaryPath);
    WriteSummaryOpening(*summary_, document_.Brief.Name, run_.ImageDirectory());
    startText_ = WriteBriefHeader(*summary_, document_.Brief, run_.ImageDirectory(), run_.Now());

    host_.OpenProgressWindow();
    progressOpen_ = true;
    run_.ShowItem(ProgressItem::BriefName, document_.Brief.Name);
    run_.ShowCounters();
    return true;
  }

  void RunEntries() {
    bool firstActive = true;
    for (const TWebEntry& entry : document_.Brief.WebList) {
      const int depth = std::clamp(entry.Depth, kMinDepth, kMaxDepth);
      run_.ShowLevel(1, depth);
      if (!entry.Active) continue;
      try {
        RunEntry(entry, depth, firstActive);
      } catch (const ESkipEntry&) {
        host_.CloseProgressWindow();
        host_.OpenProgressWindow();
        run_.ShowItem(ProgressItem::BriefName, document_.Brief.Name);
        run_.ShowCounters();
        run_.ShowLevel(1, depth);
      }
      run_.EndEntry();
      firstActive = false;
    }
  }

  void RunEntry(const TWebEntry& entry, int depth, bool firstActive) {
    const EntryTarget target = WorkOutEntryAddress(entry.URL, settings_.SecurePages);
    run_.BeginEntry(entry, target.Address);
    if (!firstActive) WriteEntrySeparator(*summary_);
    ClearSkip();
    run_.ShowItem(ProgressItem::CurrEntry, entry.Name);
    CheckStopAndSkip();
    const std::string display = NormaliseDisplayAddress(target.Address);
    run_.ShowItem(ProgressItem::CurrAddr, display);

    if (!target.Fetchable) {
      WritePageEntryOpening(*summary_);
      const SpecialPage kind =
          target.Mail ? SpecialPage::MailLink : SpecialPage::UnsupportedProtocol;
      WriteSpecialPage(run_, *summary_, display, kind, {run_.SummaryName(), "", display, ""},
                       entry.Name);
      WritePageEntryClosing(*summary_, entry.Name, depth);
      CheckStopAndSkip();
      return;
    }

    std::string address = target.Address;
    FetchResult result = run_.FetchPage(address);
    run_.SetIdleStatus();
    if (result.LocationMissing) {
      CheckStopAndSkip();
      return;
    }
    if (result.NonText && result.PageOk) {
      const std::string name = StoreFile(run_, result, address, true);
      if (name != texts::kNoName) WriteFileEntry(*summary_, name, entry.Name, depth);
    } else {
      StoreTopPage(entry, target, address, display, result, depth);
    }
    CheckStopAndSkip();
  }

  void StoreTopPage(const TWebEntry& entry, const EntryTarget& target, const std::string& address,
                    const std::string& display, FetchResult& result, int depth) {
    // The entry's block in the summary links the top page's name, "error" too when none was free.
    const std::string name = run_.AllocatePage(texts::kPageSuffix);
    WritePageEntryOpening(*summary_);
    *summary_ << name;
    WritePageEntryClosing(*summary_, entry.Name, depth);
    if (name == texts::kNoName) return;

    // The top page is known by the address it came from and, after a redirect, by the one it
    // was found at, so a link back to either finds it.
    const std::string requested(CutFragment(ResolveAddress(target.Address, "")));
    const std::string found(CutFragment(FetchedPageAddress(target.Address, address)));
    run_.Pages().AddStored(found, name, depth, run_.AddContentsNode(""));
    if (requested != found) run_.Pages().AddStored(requested, name, depth);
    run_.CountPage(result.Stream.Size());
    CleanPage(result.Stream);
    if (depth > 1) {
      const std::string siteMap = run_.AllocatePage(texts::kPageSuffix);
      if (siteMap != texts::kNoName) {
        run_.SetSiteMapName(siteMap);
        WriteSiteMapLink(*summary_, siteMap);
      }
    }

    host_.SetStatusText(" Processing \"" + entry.Name + "\"");
    PageJob top = MakePageJob(run_, found, name, result, display, depth);
    top.EntryTop = true;
    ProcessEntry(run_, result.Stream, top);
  }

  // Closes the summary page and the catalogue, records the run in the brief and offers to show
  // it. Runs after every outcome.
  void CloseRun() {
    const bool closed = CloseRunFiles();
    run_.SetIdleStatus();
    if (progressOpen_) host_.CloseProgressWindow();
    // Only a run that named its summary page has anything to show or delete later.
    if (!run_.SummaryName().empty()) KeepOrRemoveRun(closed);
    host_.EndRun();
    // Stop and Skip have been honoured. Showing the brief is no part of the run: a pending Stop
    // would cancel the conversation with a running browser and start another one instead.
    ClearStop();
    ClearSkip();
    if (!report_.ArchivePath.empty()) {
      host_.BriefReady(document_.Brief.Name, FileAddressFromPath(report_.SummaryPath));
    }
  }

  // True when both the summary page and the run catalogue were written whole.
  bool CloseRunFiles() {
    const bool summaryClosed = summary_ && CloseSummaryPage(*summary_);
    const bool catalogueClosed = run_.FinishCatalogue();
    return summaryClosed && catalogueClosed;
  }

  // A run is recorded in the brief as far as it went. One that cannot be (its summary or
  // catalogue, or the brief file, could not be written) would leave a folder that no archive list
  // names and nothing could delete: it is removed, and the user is told.
  void KeepOrRemoveRun(bool closed) {
    const std::string archivePath = runNumber_ + "\\" + run_.SummaryName();
    if (closed && RecordRun(archivePath)) {
      report_.ArchivePath = archivePath;
      report_.ArchiveStamp = startText_;
      return;
    }
    std::error_code ignored;
    std::filesystem::remove_all(run_.RunDirectory(), ignored);
    report_.SummaryPath.clear();
    if (!closed) report_.Outcome = RunOutcome::DiskError;
    host_.ShowError(std::string(texts::kRunRemovedTitle),
                    std::string(texts::kRunRemovedText) + "\n" + run_.RunDirectory().string());
  }

  // Adds the run to the archive lists of the brief as its file holds them now, under the brief's
  // lock, so that changes saved by others while the run went on are kept.
  bool RecordRun(const std::string& archivePath) {
    const UpdateResult recorded = UpdateBrief(document_.FileName, [&](TBriefDocument& onDisk) {
      onDisk.Brief.ArchivePaths.push_back(archivePath);
      onDisk.Brief.ArchiveStamps.push_back(startText_);
      return true;
    });
    if (recorded.Outcome == UpdateOutcome::Saved) return true;
    if (!recorded.Message.Empty()) host_.ShowError(recorded.Message.Title, recorded.Message.Text);
    return false;
  }

  TBriefDocument document_;
  Settings settings_;
  RunHost& host_;
  const RunHandle* handle_;
  RunContext run_;
  RunReport report_;
  std::string runNumber_;
  std::string startText_;
  std::optional<CheckedFile> summary_;
  bool progressOpen_ = false;
};

}  // namespace

RunReport GenerateBrief(TBriefDocument document, Settings settings, NameCounters& names,
                        const RunEnvironment& environment, RunHost& host) {
  return RunDriver(std::move(document), std::move(settings), names, environment, host).Run();
}

}  // namespace gl
