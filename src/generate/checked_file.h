#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace gl {

// An output file of a run. Every failure (creating, writing, flushing, closing) raises
// EInOutError, the run's disk-full failure. Writes are buffered, so small pieces of a page cost
// no system call each.
class CheckedFile {
 public:
  // Creates the file, or empties it when it exists.
  explicit CheckedFile(const std::filesystem::path& path);
  CheckedFile(const CheckedFile&) = delete;
  CheckedFile& operator=(const CheckedFile&) = delete;
  // Closes without reporting errors; call Close() to have them raised.
  ~CheckedFile();

  void Write(std::string_view bytes);
  CheckedFile& operator<<(std::string_view bytes) {
    Write(bytes);
    return *this;
  }

  // Writes what is buffered and closes the file.
  void Close();
  // Closes and ignores every failure (the summary page's closing lines, cleanup after an error).
  void CloseQuietly() noexcept;

  const std::filesystem::path& Path() const { return path_; }

 private:
  void Flush();

  std::filesystem::path path_;
  int fd_ = -1;
  std::string buffer_;
};

}  // namespace gl
