// The srcset parser on arbitrary text: every candidate lies inside the value, holds no blank, does
// not end in a comma, and follows the one before it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "generate/internal/srcset.h"

namespace {
constexpr std::size_t kLargestInput = 64 * 1024;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kLargestInput) return 0;
  const std::string_view value(reinterpret_cast<const char*>(data), size);
  std::size_t previousEnd = 0;
  for (const gl::SrcsetCandidate& candidate : gl::SrcsetCandidates(value)) {
    if (candidate.From < previousEnd || candidate.From >= candidate.To || candidate.To > size)
      std::abort();
    const std::string_view address = value.substr(candidate.From, candidate.To - candidate.From);
    if (address.find_first_of(" \t\r\n\f") != std::string_view::npos || address.back() == ',')
      std::abort();
    previousEnd = candidate.To;
  }
  return 0;
}
