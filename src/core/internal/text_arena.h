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
class TextArena {
 public:
  // A copy of `text` that stays in place until the arena is destroyed.
  std::string_view Keep(std::string_view text);
  // As Keep, with the length stored ahead of the bytes: the copy is found again from one pointer,
  // half the size of a view, through Counted.
  char* KeepCounted(std::string_view text);
  static std::string_view Counted(const char* counted);
  // Puts `text`, no longer than the counted copy at `counted`, in its place; returns `counted`.
  static char* Rewrite(char* counted, std::string_view text);

 private:
  // Room for `size` bytes that stays in place.
  char* Take(std::size_t size);

  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;  // the unused end of the newest block
  std::size_t freeSize_ = 0;
};

inline std::string_view TextArena::Counted(const char* counted) {
  std::uint32_t size = 0;
  std::memcpy(&size, counted, sizeof size);
  return {counted + sizeof size, size};
}

inline char* TextArena::Rewrite(char* counted, std::string_view text) {
  const auto size = static_cast<std::uint32_t>(text.size());
  std::memcpy(counted, &size, sizeof size);
  std::memcpy(counted + sizeof size, text.data(), size);
  return counted;
}

}  // namespace gl
