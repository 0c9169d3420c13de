#include "core/bookmark_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace gl {
namespace {

constexpr std::string_view kNetscapeFile = R"(<TITLE>Ann's   Bookmarks</TITLE><DL><p>
<DT><H3 ADD_DATE="870000000">News</H3><DL><p>
<DT><A HREF="http://www.bbc.co.uk/" ADD_DATE="1">BBC</A><DT><a href='http://www.npr.org/'>NPR</a>
<DT><H3>Weather</H3><DL><p><DT><A HREF=http://weather.example.com/ ADD_DATE=3>Forecast</A></DL><p>
<DT><A NAME="x">No link</A></DL><p><DT><A HREF="http://www.example.com/">Example</A>
<DD>A site for examples</DL><p>)";

// UTF-8, entities, and a favicon longer than the 10000-byte window of older readers.
std::string CurrentExport() {
  return "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\"><TITLE>Bookmarks"
         "</TITLE><H1>Bookmarks Menu</H1><DL><p><DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks "
         "Toolbar</H3><DL><p><DT><A HREF=\"https://www.example.org/?q=a&amp;lang=fr\" ICON=\"" +
         std::string(20000, 'A') +
         "\">Caf&#233; &amp; Cr\xC3\xA8me &lt;Tips&gt;</A><DD>Where to eat</DL><p>"
         "<DT><A HREF=\"https://www.example.jp/\">\xE6\x97\xA5</A></DL>";
}

// The caption, then per item its parent ("-" at the top), caption and address.
std::string Described(const TBookmarkTree& tree) {
  std::string text = tree.Caption;
  for (const TBookmark& item : tree.Items) {
    text += "|" + (item.Parent == TBookmark::kTopLevel ? "-" : std::to_string(item.Parent)) + " " +
            item.Caption + (item.IsFolder() ? "" : " " + item.URL);
  }
  return text;
}

TEST(BookmarkReaderTest, ReadsFoldersLinksAndTitle) {
  const std::pair<std::string, std::string> rows[] = {
      {std::string(kNetscapeFile),
       "Ann's Bookmarks|- News|0 BBC http://www.bbc.co.uk/|0 NPR http://www.npr.org/|0 Weather|"
       "3 Forecast http://weather.example.com/|0 No link|- Example http://www.example.com/"},
      {CurrentExport(),
       "Bookmarks|- Bookmarks Toolbar|0 Caf\xC3\xA9 & Cr\xC3\xA8me <Tips> "
       "https://www.example.org/?q=a&lang=fr|- \xE6\x97\xA5 https://www.example.jp/"},
      // More closing than opening lists: the level stays at 0.
      {"</DL></DL><DL><DT><A HREF=a>A</A><DL><DT><A HREF=b>B</A>", "Bookmarks|- A a|0 B b"},
      {"<DT><A HREF=a>A</A><DL><DT><A HREF=b>B</A>", "Bookmarks|- A a|- B b"},
      // An item whose parent level has no item yet goes to the top.
      {"<title> </title><DL><DL><DT><A HREF=a>A</A>", "Bookmarks|- A a"},
      {"<title>T<DL><DT><A HREF=\"a<DT><A HREF=b>B<DT>", "Bookmarks|-  a|- B b|- "},
      {"<html><body>No bookmarks here</body></html>", "Bookmarks"},
      // Only complete references to characters are decoded; blanks collapse.
      {"<DT><A HREF='?a=1&b=2&amp;c'> &#0;&#xD800;&#x1F4F0;\r\n &amp &#12a; &copy; &lt;&nbsp;</A>",
       "Bookmarks|- \xEF\xBF\xBD\xEF\xBF\xBD\xF0\x9F\x93\xB0 &amp &#12a; &copy; <\xC2\xA0 "
       "?a=1&b=2&c"},
  };
  for (const auto& [file, described] : rows) {
    SCOPED_TRACE(file.substr(0, 60));
    EXPECT_EQ(Described(ReadBookmarks(file)), described);
  }
}

// Folders deeper than 100 lists hang under the folder of level 100.
TEST(BookmarkReaderTest, ListsDeeperThanTheParentTableAttachToItsDeepestLevel) {
  std::string file;
  for (int i = 0; i < 105; ++i)
    file += "<DL><DT><H3>F</H3>";
  for (int i = 0; i < 110; ++i)
    file += "</DL>";
  const TBookmarkTree tree = ReadBookmarks(file + "<DL><DT><A HREF=a>After</A>");
  EXPECT_EQ(tree.Items.size(), 106u);
  EXPECT_TRUE(Described(tree).ends_with("|97 F|98 F|99 F|99 F|99 F|99 F|99 F|- After a"));
}

// An item that joins a folder after a later top-level item is shown inside that folder.
TEST(BookmarkTreeTest, RowsShowChildrenUnderTheirParentAndEntriesKeep256Characters) {
  const TBookmarkTree tree{"", {{"A", ""}, {"a1", "x", 0}, {"B", ""}, {"a2", "y", 0}}};
  std::string rows;
  for (const TBookmarkRow& row : TreeRows(tree))
    rows += std::to_string(row.Index) + ":" + std::to_string(row.Level) + " ";
  EXPECT_EQ(rows, "0:0 1:1 3:1 2:0 ");
  std::string caption;
  for (int i = 0; i < 300; ++i)
    caption += "\xC3\xA9";
  EXPECT_EQ(BookmarkEntry({caption, "http://a.example/"}).Name, caption.substr(0, 512));
}

}  // namespace
}  // namespace gl
