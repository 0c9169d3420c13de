#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

// Sixteen bytes of a text compared at once, as the compiler's vector extension gives them on any
// target: the searches of a page look for a byte that is rare in it and then test each place
// found, instead of stopping at every byte.

namespace gl {

using Bytes16 = unsigned char __attribute__((vector_size(16)));
// What comparing two blocks gives: every byte all ones where they are equal, else zero.
using Hits16 = decltype(std::declval<Bytes16>() == std::declval<Bytes16>());

inline Bytes16 Load16(const char* bytes) {
  Bytes16 block;
  std::memcpy(&block, bytes, sizeof block);
  return block;
}

// The block with every letter in lower case, and other bytes changed in ways that a caller who
// compares the result with a lower-case letter need not mind: no other byte becomes a letter.
inline Bytes16 CaseFolded(Bytes16 block) {
  return block | static_cast<unsigned char>(0x20);
}

// Calls `visit` with the index of each byte of `hits` that is set, in order, until it returns
// true; returns whether one did.
template <typename Visit>
bool VisitHits(Hits16 hits, Visit visit) {
  std::uint64_t halves[2];
  std::memcpy(halves, &hits, sizeof halves);
  if ((halves[0] | halves[1]) == 0) return false;  // most blocks
  for (std::size_t half = 0; half < 2; ++half) {
    for (std::uint64_t bits = halves[half]; bits != 0;) {
      const int lowest = std::countr_zero(bits) & ~7;
      if (visit(half * 8 + static_cast<std::size_t>(lowest / 8))) return true;
      bits &= ~(std::uint64_t{0xFF} << lowest);
    }
  }
  return false;
}

}  // namespace gl
