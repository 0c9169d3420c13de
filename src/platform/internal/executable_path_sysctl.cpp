#include <sys/sysctl.h>
#include <sys/types.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/internal/executable_path.h"

// FreeBSD, DragonFly and NetBSD: the kernel answers the process's path name through sysctl.

namespace gl {

std::filesystem::path ExecutablePath() {
#if defined(__NetBSD__)
  int name[] = {CTL_KERN, KERN_PROC_ARGS, -1, KERN_PROC_PATHNAME};
#else
  int name[] = {CTL_KERN, KERN_PROC, KERN_PROC_PATHNAME, -1};
#endif
  char path[PATH_MAX];
  std::size_t size = sizeof path;
  if (sysctl(name, 4, path, &size, nullptr, 0) != 0 || size == 0) return {};
  return std::string(path, strnlen(path, size));
}

}  // namespace gl
