#include <system_error>

#include "platform/internal/executable_path.h"

// Linux: the kernel links /proc/self/exe to the program's file.

namespace gl {

std::filesystem::path ExecutablePath() {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable;
}

}  // namespace gl
