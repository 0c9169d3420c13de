// Run catalogues as a crafted or damaged file may hold them. Whatever is read back, the names
// that deletion would touch are plain file names.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "generate/internal/run_catalogue.h"

namespace {
constexpr std::size_t kLargestInput = 64 * 1024;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kLargestInput) return 0;
  const auto catalogue =
      gl::ParseRunCatalogue(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!catalogue) return 0;
  for (const std::string& name : catalogue->Names) {
    if (gl::IsPlainFileName(name) && (name.find('/') != std::string::npos || name == ".."))
      std::abort();
  }
  return 0;
}
