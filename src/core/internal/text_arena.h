#pragma once

#include <cstddef>
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

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;  // the unused end of the newest block
  std::size_t freeSize_ = 0;
};

}  // namespace gl
