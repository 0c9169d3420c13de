#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gl {

// A set of 64-bit hashes in one open-addressed array: eight bytes a member, where a node-based set
// costs five times that. Hash 0 marks an empty slot, so it is taken for 1; a caller that keeps
// hashes of keys already accepts that two keys may meet.
class HashSet {
 public:
  // True when `hash` was not in the set before.
  bool Insert(std::uint64_t hash) {
    if ((count_ + 1) * 4 > slots_.size() * 3) Grow();
    std::uint64_t& slot = slots_[SlotOf(hash == 0 ? 1 : hash)];
    if (slot != 0) return false;
    slot = hash == 0 ? 1 : hash;
    ++count_;
    return true;
  }

 private:
  std::size_t SlotOf(std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = static_cast<std::size_t>(hash) & mask;
    while (slots_[at] != 0 && slots_[at] != hash)
      at = (at + 1) & mask;
    return at;
  }

  void Grow() {
    std::vector<std::uint64_t> old(slots_.empty() ? 64 : slots_.size() * 2, 0);
    old.swap(slots_);
    for (const std::uint64_t hash : old)
      if (hash != 0) slots_[SlotOf(hash)] = hash;
  }

  std::vector<std::uint64_t> slots_;  // a power of two in size, at most three quarters in use
  std::size_t count_ = 0;
};

}  // namespace gl
