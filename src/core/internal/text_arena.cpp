#include "core/internal/text_arena.h"

#include <cstring>

namespace gl {
namespace {

constexpr std::size_t kBlockSize = 32 * 1024;

}  // namespace

std::string_view TextArena::Keep(std::string_view text) {
  if (text.empty()) return {};
  char* copy = Take(text.size());
  std::memcpy(copy, text.data(), text.size());
  return {copy, text.size()};
}

char* TextArena::KeepCounted(std::string_view text) {
  // Keys and names are far below 4 GB: a single transfer is bounded well under that.
  return Rewrite(Take(sizeof(std::uint32_t) + text.size()), text);
}

char* TextArena::Take(std::size_t size) {
  // A long text gets a block of its own, so the free end of the current block is not wasted.
  if (size > kBlockSize / 4) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    return blocks_.back().get();
  }
  if (size > freeSize_) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    free_ = blocks_.back().get();
    freeSize_ = kBlockSize;
  }
  char* room = free_;
  free_ += size;
  freeSize_ -= size;
  return room;
}

}  // namespace gl
