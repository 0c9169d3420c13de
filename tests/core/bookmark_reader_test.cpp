#include "core/bookmark_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/temp_folder.h"

namespace gl {
namespace {

// A bookmark file as Netscape wrote it: folders, nested lists, quoting of every kind, an item
// without a link and a description.
constexpr std::string_view kNetscapeFile = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<!-- This is an automatically generated file. -->
<TITLE>Ann's   Bookmarks</TITLE>
<H1>Ann's Bookmarks</H1>
<DL><p>
    <DT><H3 ADD_DATE="870000000">News</H3>
    <DL><p>
        <DT><A HREF="http://www.bbc.co.uk/" ADD_DATE="1" LAST_VISIT="2">BBC</A>
        <DT><a href='http://www.npr.org/'>NPR</a>
        <DT><H3>Weather</H3>
        <DL><p>
            <DT><A HREF=http://weather.example.com/ ADD_DATE=3>Forecast</A>
        </DL><p>
        <DT><A NAME="x">No link</A>
    </DL><p>
    <DT><A HREF="http://www.example.com/">Example</A>
<DD>A site for examples
</DL><p>
)";

// The export of a current browser: a UTF-8 file with entities in captions and addresses, and a
// favicon in the tag longer than the 10000-byte reading window of older readers.
std::string CurrentExport() {
  return R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'self'; script-src 'none'">
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks Menu</H1>
<DL><p>
    <DT><H3 ADD_DATE="1700000000" PERSONAL_TOOLBAR_FOLDER="true">Bookmarks Toolbar</H3>
    <DL><p>
        <DT><A HREF="https://www.example.org/search?q=a&amp;lang=fr" ADD_DATE="1700000002" ICON="data:image/png;base64,)" +
         std::string(20000, 'A') +
         R"(">Caf&#233; &amp; Cr)"
         "\xC3\xA8"
         R"(me &lt;Tips&gt;</A>
        <DD>Where to eat
    </DL><p>
    <DT><A HREF="https://www.example.jp/" ADD_DATE="1">)"
         "\xE6\x97\xA5\xE6\x9C\xAC"
         R"(</A>
</DL>
)";
}

// Each item in file order: its parent's index ("-" at the top), caption and address.
std::vector<std::string> Described(const TBookmarkTree& tree) {
  std::vector<std::string> lines;
  for (const TBookmark& item : tree.Items) {
    const std::string parent =
        item.Parent == TBookmark::kTopLevel ? "-" : std::to_string(item.Parent);
    lines.push_back(parent + " " + item.Caption + (item.IsFolder() ? "" : " " + item.URL));
  }
  return lines;
}

TEST(BookmarkReaderTest, ReadsFoldersLinksAndTitle) {
  const std::tuple<std::string, std::string, std::vector<std::string>> rows[] = {
      // file, caption, items
      {std::string(kNetscapeFile),
       "Ann's Bookmarks",
       {"- News", "0 BBC http://www.bbc.co.uk/", "0 NPR http://www.npr.org/", "0 Weather",
        "3 Forecast http://weather.example.com/", "0 No link",
        "- Example http://www.example.com/"}},
      {CurrentExport(),
       "Bookmarks",
       {"- Bookmarks Toolbar",
        "0 Caf\xC3\xA9 & Cr\xC3\xA8me <Tips> https://www.example.org/search?q=a&lang=fr",
        "- \xE6\x97\xA5\xE6\x9C\xAC https://www.example.jp/"}},
      // More closing than opening lists: the level stays at 0.
      {"</DL></DL><DL><DT><A HREF=a>A</A><DL><DT><A HREF=b>B</A>", "Bookmarks", {"- A a", "0 B b"}},
      // An item whose parent level has no item yet goes to the top.
      {"<title></title><DL><DL><DT><A HREF=a>A</A>", "Bookmarks", {"- A a"}},
      // Unclosed tags, an item at the very end, no title without its end.
      {"<title>T<DL><DT><A HREF=\"a<DT><A HREF=b>B<DT>", "Bookmarks", {"-  a", "- B b", "- "}},
      {"<html><body>No bookmarks here</body></html>", "Bookmarks", {}},
  };
  for (const auto& [file, caption, items] : rows) {
    SCOPED_TRACE(file.substr(0, 60));
    const TBookmarkTree tree = ReadBookmarks(file);
    EXPECT_EQ(tree.Caption, caption);
    EXPECT_EQ(Described(tree), items);
  }
}

// 105 nested folders: those deeper than 100 lists hang under the folder of level 100.
TEST(BookmarkReaderTest, ListsDeeperThanTheParentTableAttachToItsDeepestLevel) {
  std::string file;
  for (int i = 0; i < 105; ++i)
    file += "<DL><DT><H3>F" + std::to_string(i) + "</H3>";
  for (int i = 0; i < 110; ++i)
    file += "</DL>";
  file += "<DL><DT><A HREF=a>After</A>";
  const TBookmarkTree tree = ReadBookmarks(file);
  ASSERT_EQ(tree.Items.size(), 106u);
  EXPECT_EQ(tree.Items[0].Parent, TBookmark::kTopLevel);
  EXPECT_EQ(tree.Items[99].Parent, 98u);
  for (std::size_t i = 100; i < 105; ++i)
    EXPECT_EQ(tree.Items[i].Parent, 99u) << i;
  EXPECT_EQ(tree.Items[105].Parent, TBookmark::kTopLevel);
}

TEST(BookmarkReaderTest, LoadingFailsForAMissingOrEmptyFile) {
  test::TempFolder folder;
  test::WriteFileBytes(folder / "none.htm", "<html><body>No bookmarks</body></html>");
  test::WriteFileBytes(folder / "ann.htm", kNetscapeFile);
  for (const char* name : {"none.htm", "missing.htm", "."}) {
    SCOPED_TRACE(name);
    const BookmarkLoadResult result = LoadBookmarks(folder / name);
    EXPECT_FALSE(result.Loaded);
    EXPECT_EQ(result.Message.Title, "Bookmark File Loading Error");
    EXPECT_EQ(result.Message.Text,
              "This file is either corrupt or is not a Bookmark file. Gleaner-Light cannot load "
              "it.");
  }
  const BookmarkLoadResult loaded = LoadBookmarks(folder / "ann.htm");
  EXPECT_TRUE(loaded.Loaded);
  EXPECT_TRUE(loaded.Message.Empty());
  EXPECT_EQ(loaded.Tree.Items.size(), 7u);
}

TEST(BookmarkTreeTest, RowsFoldersAndLinksUnderThem) {
  const TBookmarkTree tree = ReadBookmarks(kNetscapeFile);
  EXPECT_EQ(LinksUnder(tree, *FindFolder(tree, "News")), (std::vector<std::size_t>{1, 2, 4}));
  EXPECT_EQ(LinksUnder(tree, TBookmark::kTopLevel), (std::vector<std::size_t>{1, 2, 4, 6}));
  EXPECT_EQ(FindFolder(tree, "Weather"), 3u);
  EXPECT_EQ(FindFolder(tree, "BBC"), std::nullopt);  // a link, not a folder

  // An item that joins a folder after a later top-level item is shown inside that folder.
  const TBookmarkTree late{"", {{"A", ""}, {"a1", "x", 0}, {"B", ""}, {"a2", "y", 0}}};
  std::vector<std::pair<std::size_t, std::size_t>> rows;
  for (const TBookmarkRow& row : TreeRows(late))
    rows.emplace_back(row.Index, row.Level);
  EXPECT_EQ(rows,
            (std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}, {1, 1}, {3, 1}, {2, 0}}));
}

TEST(BookmarkTreeTest, ABookmarkBecomesAnEntryNamedAfterItsCaption) {
  std::string caption;
  for (int i = 0; i < 300; ++i)
    caption += "\xC3\xA9";
  const TWebEntry entry = BookmarkEntry({caption, "http://www.example.com/"});
  EXPECT_EQ(entry.Name, caption.substr(0, 512));  // 256 characters
  EXPECT_EQ(std::tie(entry.NameSet, entry.URL, entry.Active, entry.Depth, entry.Images,
                     entry.OtherFiles, entry.StayLocal, entry.EntryFlag),
            std::make_tuple(true, std::string("http://www.example.com/"), true, 1, false, false,
                            true, true));
  EXPECT_EQ(entry.UserName + entry.Password + entry.ExtraText, "");
}

}  // namespace
}  // namespace gl
