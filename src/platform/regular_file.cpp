#include "platform/regular_file.h"

#include <system_error>

namespace gl {

bool OpenRegularFile(const std::filesystem::path& path, std::ifstream& in, std::uint64_t& size) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  in.open(path, std::ios::binary);
  if (!in) return false;
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
