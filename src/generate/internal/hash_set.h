#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gl {

// A set of hashes in one open-addressed array, kept in 32 bits: four bytes a member, where a
// node-based set costs ten times that. A caller that keeps hashes of keys already accepts that two
// keys may meet. Folded 0 marks an empty slot, so it is taken for 1.
class HashSet {
 public:
  // True when `hash` was not in the set before.
  bool Insert(std::uint64_t hash) {
    if ((count_ + 1) * 4 > slots_.size() * 3) Grow();
    auto folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
    if (folded == 0) folded = 1;
    std::uint32_t& slot = slots_[SlotOf(folded)];
    if (slot != 0) return false;
    slot = folded;
    ++count_;
    return true;
  }

 private:
  std::size_t SlotOf(std::uint32_t folded) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = folded & mask;
    while (slots_[at] != 0 && slots_[at] != folded)
      at = (at + 1) & mask;
    return at;
  }

  void Grow() {
    std::vector<std::uint32_t> old(slots_.empty() ? 64 : slots_.size() * 2, 0);
    old.swap(slots_);
    for (const std::uint32_t folded : old)
      if (folded != 0) slots_[SlotOf(folded)] = folded;
  }

  std::vector<std::uint32_t> slots_;  // a power of two in size, at most three quarters in use
  std::size_t count_ = 0;
};

}  // namespace gl
