#include "platform/disk_space.h"

#include <sys/statvfs.h>

namespace gl {

std::int64_t FreeDiskBytes(const std::filesystem::path& path) {
  struct statvfs info {};
  if (statvfs(path.c_str(), &info) != 0) return -1;
  return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize);
}

}  // namespace gl
