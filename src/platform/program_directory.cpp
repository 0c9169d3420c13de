#include "platform/program_directory.h"

#include <system_error>

namespace gl {

std::filesystem::path ProgramDirectory() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error);
  const std::filesystem::path folder = executable.parent_path();
  if (std::filesystem::is_directory(folder / "images", error)) return folder;
  return folder.parent_path() / "share" / "gleaner-light";
}

}  // namespace gl
