#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "generate/internal/page_job.h"
#include "generate/internal/run_context.h"

namespace gl::test {

// A host that shows nothing and answers every question by doing nothing.
class QuietHost : public RunHost {
 public:
  void SetStatusText(const std::string&) override {}
  void SetProgress(int) override {}
  void BeginRun() override {}
  void EndRun() override {}
  void OpenProgressWindow() override {}
  void UpdateItem(ProgressItem, const std::string&) override {}
  void CloseProgressWindow() override {}
  void BriefReady(const std::string&, const std::string&) override {}
  void ShowError(const std::string&, const std::string&) override {}
};

// One web entry of a run outside GenerateBrief, for driving the page steps directly: the run
// writes into `folder` with the summary "Brief0.htm" and the catalogue "Brief0.cat", the program
// lives in /opt/gleaner, the disk never fills, and every address goes to `fetch` (by default a
// fetch that fails). Settings, environment and entry stay open to change.
struct StandaloneRun {
  explicit StandaloneRun(const std::filesystem::path& folder, PageFetcher fetch = {});

  // Starts the entry "http://site.test/dir/index.htm" with these options.
  void BeginEntry(bool images, std::int32_t depth);
  // A page of the entry, "GL99.htm" at "site.test/dir/index.htm" titled "T", whose links are
  // rewritten and whose navigation bar leads to the summary and the page on the web.
  PageJob Job(std::int32_t depth) const;

  Settings RunSettings;
  RunEnvironment Environment;
  QuietHost Host;
  NameCounters Names;
  TWebEntry Entry;
  RunContext Context;
};

// What the spider does with a fetched page, short of its navigation header: cleaning, the
// preparation and the rewriting pass into `out`. Sets and returns job.FrameSet.
bool WriteFetchedPage(RunContext& run, PageJob& job, MemoryStream& page, CheckedFile& out);

}  // namespace gl::test
