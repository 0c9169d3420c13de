#pragma once

// A current browser's bookmark export of 10,000 links in 100 folders (ten groups of ten, two
// levels deep), each link with dates, a description every tenth, a favicon every fourth,
// entities and UTF-8 in the captions: a large but real bookmark collection.

#include <string>

namespace gl::bench {

inline constexpr int kLinks = 10000;
// The ten groups and the ten folders in each.
inline constexpr int kFolders = 110;

inline std::string LargeExport() {
  const std::string icon = "data:image/png;base64," + std::string(1200, 'Q');
  std::string file =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
      "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n<DL><p>\n";
  for (int group = 0; group < 10; ++group) {
    file += "    <DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000001\">Group " +
            std::to_string(group) + "</H3>\n    <DL><p>\n";
    for (int folder = 0; folder < 10; ++folder) {
      file += "        <DT><H3 ADD_DATE=\"1700000000\">Caf\xC3\xA9s &amp; more " +
              std::to_string(folder) + "</H3>\n        <DL><p>\n";
      for (int link = 0; link < kLinks / 100; ++link) {
        const std::string n = std::to_string((group * 10 + folder) * 100 + link);
        file += "            <DT><A HREF=\"https://www.example.org/page" + n +
                "?a=1&amp;b=2\" ADD_DATE=\"1700000002\" LAST_MODIFIED=\"1700000003\"" +
                (link % 4 == 0 ? " ICON=\"" + icon + "\"" : std::string()) + ">Page " + n +
                " &#8211; \xE6\x97\xA5\xE6\x9C\xAC &lt;news&gt;</A>\n";
        if (link % 10 == 0) file += "            <DD>A description of page " + n + "\n";
      }
      file += "        </DL><p>\n";
    }
    file += "    </DL><p>\n";
  }
  return file + "</DL>\n";
}

}  // namespace gl::bench
