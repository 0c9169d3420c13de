#include "platform/regular_file.h"

#include <cerrno>
#include <system_error>

namespace gl {

bool OpenRegularFile(const std::filesystem::path& path, std::ifstream& in, std::uint64_t& size,
                     std::error_code* reason) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!error && std::filesystem::is_directory(status))
    error = std::make_error_code(std::errc::is_a_directory);
  if (reason != nullptr) *reason = error;
  if (error || !std::filesystem::is_regular_file(status)) return false;
  in.open(path, std::ios::binary);
  if (!in) {
    if (reason != nullptr) *reason = std::error_code(errno, std::generic_category());
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  in.seekg(0, std::ios::beg);
  if (end < 0 || !in) return false;
  size = static_cast<std::uint64_t>(end);
  return true;
}

std::optional<std::string> ReadRegularFile(const std::filesystem::path& path) {
  std::ifstream in;
  std::uint64_t size = 0;
  if (!OpenRegularFile(path, in, size)) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  // A file that shrank while it was read gives what was there.
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace gl
