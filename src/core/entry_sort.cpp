#include "core/entry_sort.h"

#include <utility>

namespace gl {

void SortEntries(std::vector<TWebEntry>& entries, const EntriesExchanged& exchanged) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      // std::string compares its bytes as unsigned char.
      if (!(entries[j].Name < entries[i].Name)) continue;
      std::swap(entries[i], entries[j]);
      exchanged(i, j);
    }
  }
}

}  // namespace gl
