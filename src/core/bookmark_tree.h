#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/brief_record.h"

// The folders and links of a browser's bookmark file, as the bookmark window shows them and the
// command line lists and imports them.

namespace gl {

// One item of the tree: a link, or a folder when it has no address.
struct TBookmark {
  static constexpr std::size_t kTopLevel = std::numeric_limits<std::size_t>::max();

  std::string Caption;
  std::string URL;                 // empty for a folder
  std::size_t Parent = kTopLevel;  // index of the parent item, always an earlier one

  bool IsFolder() const { return URL.empty(); }
};

struct TBookmarkTree {
  std::string Caption;           // the window's caption: the file's title, else "Bookmarks"
  std::vector<TBookmark> Items;  // in file order
};

// One line of the tree as it is shown: an item and how many parents it has.
struct TBookmarkRow {
  std::size_t Index = 0;
  std::size_t Level = 0;
};

// Every item in the order an expanded tree shows it: each item followed by its children, the
// children in file order.
std::vector<TBookmarkRow> TreeRows(const TBookmarkTree& tree);

// The first folder (in file order) captioned `caption`; none when there is no such folder.
std::optional<std::size_t> FindFolder(const TBookmarkTree& tree, std::string_view caption);

// The links inside the folder at `folder` and inside its folders, in file order. Pass
// TBookmark::kTopLevel for every link of the file.
std::vector<std::size_t> LinksUnder(const TBookmarkTree& tree, std::size_t folder);

// The web entry that a bookmark becomes when it is copied or dragged into a brief: named after
// its caption (at most 256 characters, as typed), its address, depth 1, no images or other files,
// external links not followed.
TWebEntry BookmarkEntry(const TBookmark& bookmark);

}  // namespace gl
