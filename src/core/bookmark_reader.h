#pragma once

#include <filesystem>
#include <string_view>

#include "core/bookmark_tree.h"
#include "core/user_message.h"

// Reading a browser's bookmark file: an HTML file of nested definition lists, each "<DT>" an
// item (a folder heading, or a link when its tag has an HREF) and each "<DL>" a level deeper.
// Netscape wrote the format; current browsers still export it.

namespace gl {

struct BookmarkLoadResult {
  bool Loaded = false;
  TBookmarkTree Tree;
  UserMessage Message;  // the loading error when not loaded
};

// The tree of a bookmark file's bytes. Never fails: a file without items gives an empty tree.
//   <DL><DT><H3>News</H3>
//       <DL><DT><A HREF="http://www.bbc.co.uk/">BBC</A></DL></DL>
// gives the folder "News" at the top level and the link "BBC" inside it.
TBookmarkTree ReadBookmarks(std::string_view file);

// Reads the file `fileName`; a missing or unreadable file, or one without items, is not loaded
// and gives the bookmark loading error.
[[nodiscard]] BookmarkLoadResult LoadBookmarks(const std::filesystem::path& fileName);

}  // namespace gl
