#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Local addresses on POSIX: "file://" followed by the absolute path, so "/home/ann/a.htm" is
// "file:///home/ann/a.htm". The slash after "file://" belongs to the path. Entry addresses that a
// run fetches keep their path as typed; addresses made for a browser are percent-encoded.

namespace gl {

// True when the address begins with "file://" in any letter case.
bool IsFileAddress(std::string_view address);

// The address under which a browser opens a file: "file://" + the absolute form of the path, with
// every byte but "/", letters, digits and "-._~" percent-encoded, so that a folder named
// "C# notes?" is not read as a fragment and a query: "file:///home/ann/C%23%20notes%3F/a.htm".
std::string FileAddressFromPath(const std::filesystem::path& path);

// The path of a local address: everything after "file://", unchanged (no unescaping).
// Precondition: IsFileAddress(address).
std::filesystem::path PathFromFileAddress(std::string_view address);

}  // namespace gl
