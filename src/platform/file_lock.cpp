#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace gl {
namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

FileLock::FileLock(const std::filesystem::path& path) {
  for (;;) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    int locked = 0;
    while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    // The holder before us may have renamed a new file over the one we waited for: that one is
    // no longer the file, and the lock must be taken again on the file the path names now.
    struct stat held {};
    struct stat named {};
    if (locked == 0 && ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
        SameFile(held, named)) {
      fd_ = fd;
      return;
    }
    ::close(fd);
    if (locked != 0 || ::stat(path.c_str(), &named) != 0) return;
  }
}

FileLock::~FileLock() {
  // Closing the only descriptor of this open file releases its lock.
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace gl
