#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "bench_site.h"
#include "core/brief_file.h"
#include "generate/generate_brief.h"
#include "support/loopback_server.h"

// What the whole-run benchmarks share: the brief that generates the benchmark site, and the
// figures read from the process and the run's folder.

namespace gl::bench {

inline double PeakMemoryMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kilobytes
}

// Files of the run's folder with the extension: pages are ".htm" (with the summary page and the
// site map), images ".gif".
inline std::int64_t StoredFiles(const std::filesystem::path& runDirectory,
                                std::string_view extension) {
  std::int64_t files = 0;
  for (const auto& item : std::filesystem::directory_iterator(runDirectory)) {
    if (item.path().extension() == extension) ++files;
  }
  return files;
}

// A brief saved as `folder`/bench.brf whose one entry generates the whole site served by
// `server`, images included; empty file name when it could not be saved.
inline TBriefDocument SiteBrief(const std::filesystem::path& folder,
                                const test::LoopbackServer& server, const BenchSite& site) {
  std::filesystem::create_directories(folder);
  TBriefDocument document;
  document.FileName = folder / "bench.brf";
  TWebEntry entry;
  entry.URL = server.Address("/index.htm");
  entry.Depth = site.Levels();
  entry.Images = true;
  document.Brief.WebList.push_back(entry);
  if (SaveBriefs2(document).Outcome != SaveOutcome::Saved) document.FileName.clear();
  return document;
}

// The site's pages that a run stored: every page but its summary page and site map.
inline std::int64_t StoredPages(const std::filesystem::path& runDirectory) {
  return StoredFiles(runDirectory, ".htm") - 2;
}

// Why the run in `runDirectory` does not count, or empty when it stored the whole site.
inline std::string IncompleteRun(const std::filesystem::path& runDirectory, const BenchSite& site) {
  const std::int64_t stored = StoredPages(runDirectory);
  const std::int64_t images = StoredFiles(runDirectory, ".gif");
  if (stored >= site.PageCount() && images >= site.ImageCount()) return {};
  return "the run stored " + std::to_string(stored) + " of " + std::to_string(site.PageCount()) +
         " pages and " + std::to_string(images) + " of " + std::to_string(site.ImageCount()) +
         " images";
}

}  // namespace gl::bench
