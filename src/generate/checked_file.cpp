#include "generate/checked_file.h"

#include <fcntl.h>
#include <unistd.h>

#include "generate/run_errors.h"
#include "platform/atomic_file.h"

namespace gl {
namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

CheckedFile::CheckedFile(const std::filesystem::path& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) throw EInOutError();
  buffer_.reserve(kBufferSize);
}

CheckedFile::~CheckedFile() {
  CloseQuietly();
}

void CheckedFile::Write(std::string_view bytes) {
  if (fd_ < 0) throw EInOutError();
  if (buffer_.size() + bytes.size() > kBufferSize) {
    Flush();
    if (bytes.size() >= kBufferSize) {
      if (!WriteAll(fd_, bytes)) throw EInOutError();
      return;
    }
  }
  buffer_.append(bytes);
}

void CheckedFile::Flush() {
  const bool ok = WriteAll(fd_, buffer_);
  buffer_.clear();
  if (!ok) throw EInOutError();
}

void CheckedFile::Close() {
  if (fd_ < 0) return;
  try {
    Flush();
  } catch (...) {
    CloseQuietly();
    throw;
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) throw EInOutError();
}

void CheckedFile::CloseQuietly() noexcept {
  if (fd_ < 0) return;
  // A failure here has nowhere to go: the quiet close is for paths that already failed.
  static_cast<void>(WriteAll(fd_, buffer_));
  buffer_.clear();
  ::close(fd_);
  fd_ = -1;
}

}  // namespace gl
