#include "core/entry_sort.h"

#include <numeric>
#include <string_view>
#include <utility>

namespace gl {

std::vector<std::size_t> ExchangeSortOrder(const std::vector<TWebEntry>& entries) {
  std::vector<std::size_t> order(entries.size());
  std::iota(order.begin(), order.end(), 0);
  // The exchanges move indexes and names, not whole entries; std::string_view compares its bytes
  // as unsigned char.
  std::vector<std::string_view> names;
  names.reserve(entries.size());
  for (const TWebEntry& entry : entries)
    names.push_back(entry.Name);
  for (std::size_t i = 0; i < names.size(); ++i) {
    for (std::size_t j = i + 1; j < names.size(); ++j) {
      if (!(names[j] < names[i])) continue;
      std::swap(names[i], names[j]);
      std::swap(order[i], order[j]);
    }
  }
  return order;
}

}  // namespace gl
