#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

namespace gl {

// Opens a regular file for reading and gives its size. Anything else (a folder, a pipe, a device)
// is refused before it is opened, so reading never blocks or runs without end. `reason`, when
// given, tells why a file could not be opened, when the system gave a reason.
[[nodiscard]] bool OpenRegularFile(const std::filesystem::path& path, std::ifstream& in,
                                   std::uint64_t& size, std::error_code* reason = nullptr);

// The whole of a regular file's bytes; none when it is missing, not a regular file or unreadable.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& path);

}  // namespace gl
