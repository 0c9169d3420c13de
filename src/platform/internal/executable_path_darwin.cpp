#include <mach-o/dyld.h>

#include <cstdint>
#include <string>
#include <system_error>

#include "platform/internal/executable_path.h"

// macOS: dyld knows the path the program was started by; links on it (a package manager's
// bin/ into its cellar) are resolved, so the program's own folder is found.

namespace gl {

std::filesystem::path ExecutablePath() {
  std::uint32_t size = 0;
  _NSGetExecutablePath(nullptr, &size);
  std::string path(size, '\0');
  if (size == 0 || _NSGetExecutablePath(path.data(), &size) != 0) return {};
  path.resize(path.find('\0'));
  std::error_code error;
  std::filesystem::path real = std::filesystem::canonical(path, error);
  return error ? std::filesystem::path() : real;
}

}  // namespace gl
