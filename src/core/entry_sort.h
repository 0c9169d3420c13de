#pragma once

#include <cstddef>
#include <vector>

#include "core/brief_record.h"

namespace gl {

// The order in which an exchange sort by shown name puts the entries: for each place i and each
// later place j, the entries there change places when the name at j is below the name at i.
// Names compare byte by byte as unsigned values, so capitals come before small letters and a name
// comes before the longer names it begins: b, B, a sort to B, a, b. Element k of the result is the
// index of the entry that goes to place k.
std::vector<std::size_t> ExchangeSortOrder(const std::vector<TWebEntry>& entries);

// Puts `items` in `order`, as ExchangeSortOrder gives it for them.
template <class Item>
void Reorder(std::vector<Item>& items, const std::vector<std::size_t>& order) {
  std::vector<Item> sorted;
  sorted.reserve(items.size());
  for (const std::size_t index : order)
    sorted.push_back(std::move(items[index]));
  items = std::move(sorted);
}

}  // namespace gl
