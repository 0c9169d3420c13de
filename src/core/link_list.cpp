#include "core/link_list.h"

namespace gl {

void TLList::Append(std::string_view text, std::uint8_t flag) {
  items_.push_back({static_cast<std::uint32_t>(copies_.size()), flag, true});
  copies_.push_back(texts_.Keep(text));
}

void TLList::AppendPage(std::uint32_t recordNumber, std::uint8_t flag) {
  items_.push_back({recordNumber, flag, false});
}

void TLList::RemoveFirst() {
  items_.pop_front();
  if (items_.empty()) {
    items_ = {};
    copies_ = {};
    texts_ = TextArena();
  }
}

}  // namespace gl
