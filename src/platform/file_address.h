#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Local addresses on POSIX: "file://" followed by the absolute path, so "/home/ann/a.htm" is
// "file:///home/ann/a.htm". The slash after "file://" belongs to the path.

namespace gl {

// True when the address begins with "file://" in any letter case.
bool IsFileAddress(std::string_view address);

// "file://" + the absolute form of the path.
std::string FileAddressFromPath(const std::filesystem::path& path);

// The path of a local address: everything after "file://", unchanged (no unescaping).
// Precondition: IsFileAddress(address).
std::filesystem::path PathFromFileAddress(std::string_view address);

}  // namespace gl
