#include "generate/internal/view_index.h"

#include <functional>

namespace gl {
namespace {

// A slot holds a key's number in its low half and the high half of the key's hash in the other,
// so that a probe passes a different key without reading it.
constexpr int kHashShift = 32;

std::uint64_t HashTag(std::size_t hash) {
  return static_cast<std::uint64_t>(hash) >> kHashShift << kHashShift;
}

std::uint32_t NumberIn(std::uint64_t slot) {
  return static_cast<std::uint32_t>(slot);
}

}  // namespace

ViewIndex::Found ViewIndex::FindOrAdd(std::string_view key) {
  // At most three quarters full, so that a probe ends soon at an empty slot.
  if ((keys_.size() + 1) * 4 > slots_.size() * 3) Grow();
  const std::size_t hash = std::hash<std::string_view>{}(key);
  std::uint64_t& slot = slots_[SlotOf(key, hash)];
  if (slot != 0) return {NumberIn(slot), false};
  keys_.push_back({key, hash});
  slot = HashTag(hash) | keys_.size();
  return {NumberIn(slot), true};
}

bool ViewIndex::Contains(std::string_view key) const {
  return !slots_.empty() && slots_[SlotOf(key, std::hash<std::string_view>{}(key))] != 0;
}

std::size_t ViewIndex::SlotOf(std::string_view key, std::size_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const std::uint64_t tag = HashTag(hash);
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const std::uint64_t slot = slots_[at];
    if (slot == 0) return at;
    if ((slot & ~std::uint64_t{UINT32_MAX}) != tag) continue;
    const Key& known = keys_[NumberIn(slot) - 1];
    if (known.Hash == hash && known.Text == key) return at;
  }
}

void ViewIndex::Grow() {
  slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, 0);
  for (std::uint32_t number = 1; number <= keys_.size(); ++number) {
    const Key& known = keys_[number - 1];
    slots_[SlotOf(known.Text, known.Hash)] = HashTag(known.Hash) | number;
  }
}

}  // namespace gl
