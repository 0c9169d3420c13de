#pragma once

#include <filesystem>

namespace gl {

// An exclusive advisory lock (flock) on a file that is saved by renaming a new file over it, for
// one load-change-save: other processes, and other threads of this one, that lock the same file
// wait until it is released. The lock is taken on the file that the path names when the lock is
// granted; a waiter that finds the file replaced meanwhile locks the new one. A symbolic link is
// followed.
//
// A file that does not exist or cannot be opened is not locked (Held() is false): there is
// nothing another writer could lose. One thread must not lock the same file twice: the second
// lock would wait for the first.
//
//   {
//     const FileLock lock(path);
//     ... read `path`, change it, WriteFileAtomically(path, ...) ...
//   }  // released here
class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& path);
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace gl
