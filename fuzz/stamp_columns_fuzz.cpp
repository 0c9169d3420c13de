// Run stamps as a damaged or crafted catalogue may hold them. Every piece is cut from the stamp
// (a one-digit day gains its "0") and lies within the row's columns.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/stamp_columns.h"

namespace {
constexpr std::size_t kLargestInput = 4096;
constexpr int kRowEnd = 180;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kLargestInput) return 0;
  const std::string_view stamp(reinterpret_cast<const char*>(data), size);
  for (const gl::StampPiece& piece : gl::StampColumns(stamp)) {
    if (piece.Text.size() > stamp.size() + 1 || piece.X < 0 || piece.X > kRowEnd) std::abort();
  }
  return 0;
}
