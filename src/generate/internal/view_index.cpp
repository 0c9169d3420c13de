#include "generate/internal/view_index.h"

#include <functional>

namespace gl {

ViewIndex::Found ViewIndex::FindOrAdd(std::string_view key) {
  // At most three quarters full, so that a probe ends soon at an empty slot.
  if ((keys_.size() + 1) * 4 > slots_.size() * 3) Grow();
  const std::size_t hash = std::hash<std::string_view>{}(key);
  std::uint32_t& slot = slots_[SlotOf(key, hash)];
  if (slot != 0) return {slot, false};
  keys_.push_back({key, hash});
  slot = static_cast<std::uint32_t>(keys_.size());
  return {slot, true};
}

bool ViewIndex::Contains(std::string_view key) const {
  return !slots_.empty() && slots_[SlotOf(key, std::hash<std::string_view>{}(key))] != 0;
}

std::size_t ViewIndex::SlotOf(std::string_view key, std::size_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const std::uint32_t number = slots_[at];
    if (number == 0) return at;
    const Key& known = keys_[number - 1];
    if (known.Hash == hash && known.Text == key) return at;
  }
}

void ViewIndex::Grow() {
  slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, 0);
  for (std::uint32_t number = 1; number <= keys_.size(); ++number) {
    const Key& known = keys_[number - 1];
    slots_[SlotOf(known.Text, known.Hash)] = number;
  }
}

}  // namespace gl
