#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace gl {

// An output file of a run. Every failure (creating, writing, flushing, closing) raises
// EInOutError, the run's disk-full failure, with the system's reason. A file is either finished
// by Close() or removed: one whose writing failed, or that goes out of scope before Close()
// because a failure elsewhere ended its page, holds only a part of what was meant, and a run
// never leaves such a file behind. Writes are buffered, so small pieces of a page cost no system
// call each.
class CheckedFile {
 public:
  // Creates the file, or empties it when it exists; a link in its place is a failure.
  explicit CheckedFile(const std::filesystem::path& path);
  CheckedFile(const CheckedFile&) = delete;
  CheckedFile& operator=(const CheckedFile&) = delete;
  // Removes the file unless Close() finished it.
  ~CheckedFile();

  // After a failed write the file is gone and every further write fails with the same reason.
  void Write(std::string_view bytes);
  CheckedFile& operator<<(std::string_view bytes) {
    Write(bytes);
    return *this;
  }

  // Writes what is buffered and closes the file. Closing it again does nothing, unless it failed.
  void Close();

  const std::filesystem::path& Path() const { return path_; }

 private:
  void Flush();
  // Removes the file and raises EInOutError with the reason in errno.
  [[noreturn]] void Fail();
  // Closes the file if it is open and removes it.
  void Discard() noexcept;

  std::filesystem::path path_;
  int fd_ = -1;
  bool regular_ = false;  // only a regular file is removed, never a device the path named
  std::string failure_;   // the reason of the first failure
  std::string buffer_;
};

}  // namespace gl
