#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "core/brief_record.h"

namespace gl {

// Called after entries i and j changed places, so a caller can move what it keeps beside them.
using EntriesExchanged = std::function<void(std::size_t i, std::size_t j)>;

// Puts the entries in ascending order of their shown names with an exchange sort: for each index
// i and each later index j, the two entries change places when the name at j is below the name at
// i. Names compare byte by byte as unsigned values, so capitals come before small letters and a
// name comes before the longer names it begins: b, B, a sort to B, a, b.
void SortEntries(std::vector<TWebEntry>& entries, const EntriesExchanged& exchanged);

}  // namespace gl
