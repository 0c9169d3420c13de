#include "generate/internal/checked_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/user_message.h"
#include "generate/internal/run_errors.h"
#include "platform/atomic_file.h"

namespace gl {
namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

CheckedFile::CheckedFile(const std::filesystem::path& path) : path_(path) {
  // A run never writes through a link, whoever put it in the run folder and when.
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd_ < 0) Fail();
  struct stat status {};
  regular_ = ::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode);
  buffer_.reserve(kBufferSize);
}

CheckedFile::~CheckedFile() {
  if (fd_ >= 0) Discard();
}

void CheckedFile::Write(std::string_view bytes) {
  if (fd_ < 0) throw EInOutError(failure_);
  if (buffer_.size() + bytes.size() > kBufferSize) {
    Flush();
    if (bytes.size() >= kBufferSize) {
      if (!WriteAll(fd_, bytes)) Fail();
      return;
    }
  }
  buffer_.append(bytes);
}

void CheckedFile::Flush() {
  if (!WriteAll(fd_, buffer_)) Fail();
  buffer_.clear();
}

void CheckedFile::Close() {
  if (fd_ < 0) {
    if (!failure_.empty()) throw EInOutError(failure_);
    return;  // closed before
  }
  Flush();
  if (::close(std::exchange(fd_, -1)) != 0) Fail();
}

void CheckedFile::Fail() {
  const std::error_code reason(errno, std::generic_category());
  failure_ = ReasonLine(path_, reason);
  Discard();
  throw EInOutError(failure_);
}

void CheckedFile::Discard() noexcept {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  buffer_.clear();
  if (regular_) ::unlink(path_.c_str());
  regular_ = false;
}

}  // namespace gl
