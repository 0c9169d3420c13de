#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace gl {

// Byte strings that the caller keeps in place, numbered 1, 2 ... in the order they were added.
// Open addressing over one array of numbers and one of keys with their hashes: the pages of a
// large site add tens of thousands of links, and a node and a rehash of scattered nodes per key
// cost more than the look-up itself.
class ViewIndex {
 public:
  struct Found {
    std::uint32_t Number;
    bool Added;
  };

  // The number of `key`, which is added with the next number when it is new.
  Found FindOrAdd(std::string_view key);
  bool Contains(std::string_view key) const;

 private:
  struct Key {
    std::string_view Text;
    std::size_t Hash;
  };

  std::size_t SlotOf(std::string_view key, std::size_t hash) const;
  void Grow();

  std::vector<std::uint64_t> slots_;  // 0 for an empty slot, else a key's number and hash
  std::vector<Key> keys_;
};

}  // namespace gl
