#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace gl {

// Copies of many small strings that live as long as the arena: they are packed into large blocks,
// so each costs its bytes alone, without a heap block or a string object of its own.
//
// A copy can also be found again from a place, a number of 32 bits (never 0), which tables of
// many small records keep instead of a pointer of 64.
class TextArena {
 public:
  // A copy of `text` that stays in place until the arena is destroyed.
  std::string_view Keep(std::string_view text);
  // A copy of `text`, and where it is.
  std::uint32_t Place(std::string_view text);
  const char* At(std::uint32_t place) const { return Bytes(place); }
  // As Place, with the length stored ahead of the bytes, so that the place alone finds the text
  // again through Counted.
  std::uint32_t KeepCounted(std::string_view text);
  std::string_view Counted(std::uint32_t place) const;
  // Puts `text`, no longer than the counted copy at `place`, in its place.
  void Rewrite(std::uint32_t place, std::string_view text);

 private:
  struct Room {
    char* Bytes;
    std::uint32_t Place;
  };
  char* Bytes(std::uint32_t place) const;
  // Room for `size` bytes that stays in place.
  Room Take(std::size_t size);

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t freeBlock_ = 0;  // the block that short texts go to, and its unused end
  std::size_t freeOffset_ = 0;
  std::size_t freeSize_ = 0;
};

}  // namespace gl
