#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

namespace gl {
namespace {

// The file that a write replaces: the target of a symbolic link, else the path itself.
std::filesystem::path ReplacedFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path target = std::filesystem::canonical(path, error);
  return error ? path : target;
}

// A name beside `file` that no other writer in this or another process picks at the same time.
// It does not grow with the file's own name, so a name near the length limit still saves.
std::filesystem::path TemporaryName(const std::filesystem::path& file) {
  static std::atomic<unsigned> counter{0};
  const std::string name = ".gleaner-" + std::to_string(::getpid()) + "-" +
                           std::to_string(counter.fetch_add(1)) + ".tmp";
  return file.parent_path() / name;
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         FileAccess access) {
  const std::filesystem::path file = ReplacedFile(path);
  const std::filesystem::path temporary = TemporaryName(file);
  const mode_t createMode = access == FileAccess::Private ? 0600 : 0666;
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
  if (fd < 0) return false;

  bool ok = true;
  struct stat old {};
  // A replaced shared file keeps its mode, so saving does not change who may read it.
  if (access == FileAccess::Shared && ::stat(file.c_str(), &old) == 0)
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace gl
