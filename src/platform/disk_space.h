#pragma once

#include <cstdint>
#include <filesystem>

namespace gl {

// Free bytes available on the file system that holds `path`, or -1 when it cannot be read.
std::int64_t FreeDiskBytes(const std::filesystem::path& path);

}  // namespace gl
