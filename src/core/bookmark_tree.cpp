#include "core/bookmark_tree.h"

#include "core/utf8_text.h"

namespace gl {
namespace {

// An entry holder keeps at most this many characters of each text.
constexpr std::size_t kLongestEntryName = 256;

}  // namespace

std::vector<TBookmarkRow> TreeRows(const TBookmarkTree& tree) {
  const std::size_t count = tree.Items.size();
  std::vector<std::vector<std::size_t>> children(count);
  std::vector<std::size_t> pending;  // a stack of items still to show, the next on top
  for (std::size_t i = count; i-- > 0;) {
    const std::size_t parent = tree.Items[i].Parent;
    if (parent == TBookmark::kTopLevel)
      pending.push_back(i);
    else
      children[parent].push_back(i);
  }
  std::vector<std::size_t> levels(count, 0);
  std::vector<TBookmarkRow> rows;
  rows.reserve(count);
  while (!pending.empty()) {
    const std::size_t index = pending.back();
    pending.pop_back();
    rows.push_back({index, levels[index]});
    // Children were gathered last to first, so pushing them in that order puts the first on top.
    for (const std::size_t child : children[index]) {
      levels[child] = levels[index] + 1;
      pending.push_back(child);
    }
  }
  return rows;
}

std::optional<std::size_t> FindFolder(const TBookmarkTree& tree, std::string_view caption) {
  for (std::size_t i = 0; i < tree.Items.size(); ++i) {
    if (tree.Items[i].IsFolder() && tree.Items[i].Caption == caption) return i;
  }
  return std::nullopt;
}

std::vector<std::size_t> LinksUnder(const TBookmarkTree& tree, std::size_t folder) {
  // Parents come before their children, so one pass in file order marks every item inside.
  std::vector<bool> inside(tree.Items.size(), folder == TBookmark::kTopLevel);
  std::vector<std::size_t> links;
  for (std::size_t i = 0; i < tree.Items.size(); ++i) {
    const std::size_t parent = tree.Items[i].Parent;
    if (parent != TBookmark::kTopLevel && (parent == folder || inside[parent])) inside[i] = true;
    if (inside[i] && !tree.Items[i].IsFolder()) links.push_back(i);
  }
  return links;
}

TWebEntry BookmarkEntry(const TBookmark& bookmark) {
  // A new entry's defaults are a bookmark's options: active, depth 1, no images or other files,
  // staying on the site, no credentials.
  TWebEntry entry;
  entry.Name = std::string(FirstCharacters(bookmark.Caption, kLongestEntryName));
  entry.NameSet = true;
  entry.URL = bookmark.URL;
  return entry;
}

}  // namespace gl
