#include "platform/program_directory.h"

#include <system_error>

#include "platform/internal/executable_path.h"

namespace gl {

std::filesystem::path ProgramDirectory() {
  std::error_code error;
  const std::filesystem::path executable = ExecutablePath();
  if (executable.empty()) return std::filesystem::current_path(error);
  const std::filesystem::path folder = executable.parent_path();
  if (std::filesystem::is_directory(folder / "images", error)) return folder;
  return folder.parent_path() / "share" / "gleaner-light";
}

}  // namespace gl
