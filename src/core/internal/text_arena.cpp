#include "core/internal/text_arena.h"

#include <cstring>

namespace gl {
namespace {

constexpr std::size_t kBlockSize = 32 * 1024;

}  // namespace

std::string_view TextArena::Keep(std::string_view text) {
  if (text.empty()) return {};
  // A long text gets a block of its own, so the free end of the current block is not wasted.
  if (text.size() > kBlockSize / 4) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
    std::memcpy(blocks_.back().get(), text.data(), text.size());
    return {blocks_.back().get(), text.size()};
  }
  if (text.size() > freeSize_) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    free_ = blocks_.back().get();
    freeSize_ = kBlockSize;
  }
  std::memcpy(free_, text.data(), text.size());
  const std::string_view kept(free_, text.size());
  free_ += text.size();
  freeSize_ -= text.size();
  return kept;
}

}  // namespace gl
