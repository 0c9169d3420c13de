#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

#include "core/brief_record.h"
#include "core/settings.h"
#include "generate/run_handle.h"
#include "generate/run_host.h"

namespace gl {

// The next numbers tried for summary, page and image names. They belong to a brief window: set to
// 0 when it opens and carried on from run to run while it stays open.
struct NameCounters {
  std::int32_t Summary = 0;
  std::int32_t Page = 0;
  std::int32_t Image = 0;
};

// What a run needs from the machine besides the brief.
struct RunEnvironment {
  std::filesystem::path ProgramDirectory;  // holds images/
  // Free bytes of the file system that holds a path; -1 when unreadable. Tests set their own.
  std::function<std::int64_t(const std::filesystem::path&)> FreeSpace;
  // The clock for the run's stamps and page headers; empty means the system clock.
  std::function<std::time_t()> Now;
  // The caller's handle on this run; none: Stop comes through the process-wide flag alone.
  const RunHandle* Handle = nullptr;
};

enum class RunOutcome {
  Completed,
  Aborted,    // the Stop request ended the run; the summary is closed and the run recorded
  DiskError,  // a write failed or free space fell to the minimum
  NotStarted  // no summary name could be allocated; nothing was written or recorded
};

struct RunReport {
  RunOutcome Outcome = RunOutcome::NotStarted;
  std::filesystem::path RunDirectory;
  // Empty when no summary page was named, or when the run could not be recorded and its folder
  // was removed.
  std::filesystem::path SummaryPath;
  // The run as the brief's archive lists now hold it, for a window to add to its own copy of the
  // brief; both empty when the run was not recorded.
  std::string ArchivePath;
  std::string ArchiveStamp;
};

// Generates the brief into a new numbered archive folder beside its file and records the run in
// the brief file: under the brief's lock it reloads the file and adds the run to what the file
// holds then, so changes saved while the run went on are kept. The run works on its own copies
// of the brief and the settings, so a window's worker thread can run it while the window goes on
// with its own. Runs on the calling thread and reports through `host`.
RunReport GenerateBrief(TBriefDocument document, Settings settings, NameCounters& names,
                        const RunEnvironment& environment, RunHost& host);

}  // namespace gl
