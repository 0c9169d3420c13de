// Feeds arbitrary bytes to the bookmark file reader. Besides not crashing or hanging, the tree
// must hold together: every parent is an earlier item, and the shown tree holds every item once.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/bookmark_reader.h"

namespace {
constexpr std::size_t kMaxInput = 1 << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const gl::TBookmarkTree tree =
      gl::ReadBookmarks(std::string_view(reinterpret_cast<const char*>(data), size));
  for (std::size_t i = 0; i < tree.Items.size(); ++i) {
    const std::size_t parent = tree.Items[i].Parent;
    if (parent != gl::TBookmark::kTopLevel && parent >= i) __builtin_trap();
  }
  std::vector<bool> shown(tree.Items.size(), false);
  for (const gl::TBookmarkRow& row : gl::TreeRows(tree)) {
    if (shown.at(row.Index)) __builtin_trap();
    shown[row.Index] = true;
  }
  for (const bool itemShown : shown) {
    if (!itemShown) __builtin_trap();
  }
  return 0;
}
