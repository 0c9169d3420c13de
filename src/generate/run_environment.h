#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>

#include "generate/run_handle.h"

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

}  // namespace gl
