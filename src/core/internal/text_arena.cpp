#include "core/internal/text_arena.h"

#include <stdexcept>

namespace gl {
namespace {

// A place is a block's number and an offset in it, plus one. A long text has a block of its own
// and the offset 0.
constexpr unsigned kOffsetBits = 15;
constexpr std::size_t kBlockSize = std::size_t{1} << kOffsetBits;
constexpr std::size_t kMostBlocks = (std::size_t{1} << (32 - kOffsetBits)) - 1;

}  // namespace

std::string_view TextArena::Keep(std::string_view text) {
  if (text.empty()) return {};
  return {At(Place(text)), text.size()};
}

std::uint32_t TextArena::Place(std::string_view text) {
  const Room room = Take(text.size());
  if (!text.empty()) std::memcpy(room.Bytes, text.data(), text.size());
  return room.Place;
}

char* TextArena::Bytes(std::uint32_t place) const {
  const std::uint32_t at = place - 1;
  return blocks_[at >> kOffsetBits].get() + (at & (kBlockSize - 1));
}

std::uint32_t TextArena::KeepCounted(std::string_view text) {
  // Keys and names are far below 4 GB: a single transfer is bounded well under that.
  const std::uint32_t place = Take(sizeof(std::uint32_t) + text.size()).Place;
  Rewrite(place, text);
  return place;
}

std::string_view TextArena::Counted(std::uint32_t place) const {
  const char* counted = At(place);
  std::uint32_t size = 0;
  std::memcpy(&size, counted, sizeof size);
  return {counted + sizeof size, size};
}

void TextArena::Rewrite(std::uint32_t place, std::string_view text) {
  char* counted = Bytes(place);
  const auto size = static_cast<std::uint32_t>(text.size());
  std::memcpy(counted, &size, sizeof size);
  std::memcpy(counted + sizeof size, text.data(), size);
}

TextArena::Room TextArena::Take(std::size_t size) {
  const auto placeOf = [](std::size_t block, std::size_t offset) {
    return static_cast<std::uint32_t>(((block << kOffsetBits) | offset) + 1);
  };
  if (blocks_.size() >= kMostBlocks) throw std::length_error("text arena full");
  // A long text gets a block of its own, so the free end of the current block is not wasted.
  if (size > kBlockSize / 4) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    return {blocks_.back().get(), placeOf(blocks_.size() - 1, 0)};
  }
  if (size > freeSize_ || freeSize_ == 0) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    freeBlock_ = blocks_.size() - 1;
    freeOffset_ = 0;
    freeSize_ = kBlockSize;
  }
  const Room room{blocks_[freeBlock_].get() + freeOffset_, placeOf(freeBlock_, freeOffset_)};
  freeOffset_ += size;
  freeSize_ -= size;
  return room;
}

}  // namespace gl
