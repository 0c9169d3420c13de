#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>
#include <string>

namespace gl {
namespace {

constexpr std::string_view kTemporaryStart = ".gleaner-";
constexpr std::string_view kTemporaryEnd = ".tmp";
constexpr int kNameAttempts = 100;

// The file that a write replaces: the target of a symbolic link, else the path itself.
std::filesystem::path ReplacedFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path target = std::filesystem::canonical(path, error);
  return error ? path : target;
}

std::string Hex(std::uint64_t value, int digits) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4)
    text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
  return text;
}

// The start of every temporary name of `file`: ".gleaner-" and a 64-bit FNV-1a hash of the file's
// name. A hash rather than the name itself keeps the temporary name short, so a file whose name
// is near the length limit still saves, and still tells one file's leftovers from another's.
std::string TemporaryPrefix(const std::filesystem::path& file) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char byte : file.filename().string()) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 1099511628211ull;
  }
  return std::string(kTemporaryStart) + Hex(hash, 16) + "-";
}

// Creates a new temporary file beside `file` under a random name, as mkstemp does, but with the
// mode the caller asks for (mkstemp always gives 0600, and the umask cannot be read safely while
// other threads run).
int CreateTemporary(const std::filesystem::path& file, mode_t mode,
                    std::filesystem::path& temporary) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  const std::string prefix = TemporaryPrefix(file);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    temporary = file.parent_path() / (prefix + Hex(random(), 12) + std::string(kTemporaryEnd));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
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
                         FileAccess access, std::error_code* error) {
  const std::filesystem::path file = ReplacedFile(path);
  std::filesystem::path temporary;
  const int fd = CreateTemporary(file, access == FileAccess::Private ? 0600 : 0666, temporary);
  bool ok = fd >= 0;
  if (ok) {
    struct stat old {};
    // A replaced shared file keeps its mode, so saving does not change who may read it.
    if (access == FileAccess::Shared && ::stat(file.c_str(), &old) == 0)
      ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  }
  int reason = ok ? 0 : errno;
  const auto failed = [&ok, &reason] {
    ok = false;
    reason = errno;
  };
  if (fd >= 0 && ::close(fd) != 0 && ok) failed();
  if (ok && ::rename(temporary.c_str(), file.c_str()) != 0) failed();
  if (!ok && fd >= 0) ::unlink(temporary.c_str());
  if (error != nullptr) *error = std::error_code(reason, std::generic_category());
  return ok;
}

void RemoveLeftoverTemporaries(const std::filesystem::path& path) {
  const std::filesystem::path file = ReplacedFile(path);
  const std::string prefix = TemporaryPrefix(file);
  std::error_code error;
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.starts_with(prefix) && name.ends_with(kTemporaryEnd)) {
      std::error_code ignored;
      std::filesystem::remove(entry->path(), ignored);
    }
  }
}

}  // namespace gl
