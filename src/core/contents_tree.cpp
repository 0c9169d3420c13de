#include "core/contents_tree.h"

namespace gl {

TOCList::TOCList() : nodes_(1) {}

std::uint32_t TOCList::Add(std::uint32_t parent, std::string_view name) {
  const auto added = static_cast<std::uint32_t>(nodes_.size());
  nodes_.emplace_back();
  if (sharedName_ == 0 && !name.empty()) sharedName_ = texts_.KeepCounted(name);
  if (sharedName_ != 0 && texts_.Counted(sharedName_) == name) {
    At(added).Name = sharedName_;
  } else {
    SetName(added, name);
  }
  std::uint32_t tail = lastParent_ == parent && lastTail_ != 0 ? lastTail_ : First(parent);
  while (tail != 0 && Next(tail) != 0)
    tail = Next(tail);
  (tail == 0 ? At(parent).FirstChild : At(tail).Next) = added;
  lastParent_ = parent;
  lastTail_ = added;
  return added;
}

std::string_view TOCList::Name(std::uint32_t node) const {
  const std::uint32_t name = At(node).Name;
  return name == 0 ? std::string_view() : texts_.Counted(name);
}

void TOCList::SetName(std::uint32_t node, std::string_view name) {
  std::uint32_t& place = At(node).Name;
  if (name.empty()) {
    place = 0;
  } else if (place != 0 && place != sharedName_ && name.size() <= Name(node).size()) {
    texts_.Rewrite(place, name);
  } else {
    place = texts_.KeepCounted(name);
  }
}

std::string_view TOCList::Fragment(std::uint32_t node) const {
  if (fragments_.empty()) return {};
  const auto found = fragments_.find(node);
  return found == fragments_.end() ? std::string_view() : texts_.Counted(found->second);
}

void TOCList::SetFragment(std::uint32_t node, std::string_view fragment) {
  if (fragment.empty()) {
    if (!fragments_.empty()) fragments_.erase(node);  // most trees have none: no hashing
  } else {
    fragments_[node] = texts_.KeepCounted(fragment);
  }
}

}  // namespace gl
