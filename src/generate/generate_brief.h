#pragma once

#include <filesystem>
#include <string>

#include "core/brief_record.h"
#include "core/settings.h"
#include "generate/run_environment.h"
#include "generate/run_host.h"

namespace gl {

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
