#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gl {

// The addresses of the files that a fetched page shows (images, embedded objects, backgrounds),
// resolved against `pageAddress` and without fragment, in page order and each once: what the
// rewriting pass will ask the downloader for, so it can be fetched ahead. A guess is harmless: an
// address guessed wrongly is fetched for nothing, one missed is fetched when it is asked for.
std::vector<std::string> ShownFileAddresses(std::string_view page, std::string_view pageAddress);

}  // namespace gl
