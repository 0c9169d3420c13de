#pragma once

#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "core/internal/text_arena.h"

namespace gl {

// A queue of links, each with a one-byte flag. The spider uses two of them as level queues: the
// page rewriter appends the links it finds, the spider takes them from the front in order.
//
// A level of a large site holds many links, so an item is 8 bytes: a link whose address has a
// page record names the record by its number in the page table; any other link is a copy kept
// by the list. Items free their blocks as they are taken; the copies go when the list is empty.
class TLList {
 public:
  struct Item {
    std::uint32_t Number = 0;  // of a page record, or of one of the list's copies
    std::uint8_t Flag = 0;
    bool Copied = false;
  };

  TLList() = default;
  TLList(const TLList&) = delete;
  TLList& operator=(const TLList&) = delete;

  // Appends a copy of `text`.
  void Append(std::string_view text, std::uint8_t flag);
  // Appends the address of the page record numbered `recordNumber`.
  void AppendPage(std::uint32_t recordNumber, std::uint8_t flag);
  // Removes the first item.
  void RemoveFirst();

  std::size_t Count() const { return items_.size(); }
  // The item `position` places from the front.
  const Item& At(std::size_t position) const { return items_[position]; }
  const Item& Last() const { return items_.back(); }
  // The list's copy of a Copied item.
  std::string_view Copy(const Item& item) const { return copies_[item.Number]; }

 private:
  std::deque<Item> items_;
  std::vector<std::string_view> copies_;
  TextArena texts_;
};

}  // namespace gl
