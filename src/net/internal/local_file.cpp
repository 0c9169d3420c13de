#include "net/internal/local_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <string>

#include "core/byte_text.h"
#include "net/generated_pages.h"
#include "net/texts.h"
#include "platform/file_address.h"

namespace gl {
namespace {

// Suffixes of files that a browser shows as a page or as text; a name without a suffix counts
// as a page as well.
constexpr std::string_view kPageSuffixes[] = {"htm", "html", "shtml", "xhtml", "txt"};

bool NamesPage(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return true;
  }
  const std::string suffix = LowerAscii(path.substr(dot + 1));
  for (std::string_view page : kPageSuffixes) {
    if (suffix == page) return true;
  }
  return false;
}

class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (fd_ >= 0) close(fd_);
  }
  int Fd() const { return fd_; }

 private:
  int fd_;
};

// Appends the whole regular file to `bytes`; false when it is not one, is longer than `limit`
// or cannot be read.
bool ReadRegularFile(int fd, std::size_t limit, std::string& bytes) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (static_cast<std::uintmax_t>(info.st_size) > limit) return false;
  const std::size_t start = bytes.size();
  std::array<char, 65536> block{};
  for (;;) {
    const ssize_t count = read(fd, block.data(), block.size());
    if (count == 0) return true;
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.append(block.data(), static_cast<std::size_t>(count));
    // The file may grow while it is read.
    if (bytes.size() - start > limit) return false;
  }
}

}  // namespace

void LoadLocalFile(std::string_view address, std::string_view display, FetchResult& result,
                   std::size_t limit) {
  const std::string path = PathFromFileAddress(address).string();
  result.PageOk = false;
  // Opening does not wait for a named pipe's writer; what was opened is checked before any read.
  const OpenFile file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.Fd() < 0) {
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    WriteFileErrorPage(result.Stream, display,
                       missing ? FileError::NotFound : FileError::FailedToLoad);
    return;
  }
  std::string& bytes = result.Stream.Bytes();
  bytes.assign(texts::kStatusOk);
  bytes += "\r\n\r\n";
  const std::size_t headerSize = bytes.size();
  if (!ReadRegularFile(file.Fd(), limit, bytes) || bytes.size() == headerSize) {
    WriteFileErrorPage(result.Stream, display, FileError::FailedToLoad);
    return;
  }
  bytes += '\0';
  result.Stream.Seek(bytes.size());
  result.PageOk = true;
  result.NonText = !NamesPage(path);
}

}  // namespace gl
