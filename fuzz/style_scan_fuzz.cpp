// The style-sheet scanner on arbitrary text: every reference lies inside the text, is not empty,
// and follows the one before it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "generate/internal/style_scan.h"

namespace {
constexpr std::size_t kLargestInput = 256 * 1024;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kLargestInput) return 0;
  const std::string_view css(reinterpret_cast<const char*>(data), size);
  std::size_t previousEnd = 0;
  for (const gl::StyleReference& reference : gl::ScanStyleSheet(css)) {
    if (reference.From < previousEnd || reference.From >= reference.To || reference.To > size)
      std::abort();
    previousEnd = reference.To;
  }
  return 0;
}
