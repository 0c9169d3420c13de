#include "generate/internal/navigation.h"

#include <gtest/gtest.h>

#include <string>

#include "generate/generate_fixture.h"
#include "generate/internal/site_map.h"
#include "generate/internal/unfetched_link_page.h"

namespace gl::test {
namespace {

constexpr std::string_view kImages = "/opt/gleaner/images/";
const std::string kStamp =
    "<font size=3> 3/5/1997 9:07:02 AM <b>by <i>Gleaner</i>-Light</b></font>";

std::string Icon(std::string_view image, std::string_view alt) {
  return "<img src=\"/opt/gleaner/images/" + std::string(image) +
         "\" border=0 align=absmiddle width=24 height=24 alt=\"" + std::string(alt) + "\">";
}

TEST_F(RunFixture, NavigationHeadersFootersPagesForLinksNotFetchedAndSiteMaps) {
  EXPECT_EQ(ImageDirectoryText("/"), "/images/");
  EXPECT_EQ(Written([](CheckedFile& f) { DoHeaderImage(f, kImages, "toc.gif", "Site Map", 7, 9); }),
            "<img src=\"/opt/gleaner/images/toc.gif\" border=0 align=absmiddle width=9 height=7 "
            "alt=\"Site Map\">");
  EXPECT_EQ(Header("A Page", {"Brief0.htm", "", "", ""}),
            "<nobr>&#160<a href=\"Brief0.htm\" target=\"_top\">" + Icon("brief.gif", "Brief") +
                "</a> <font size=3>A Page</font>\r\n" + kStamp + "</nobr><br><hr size=3><br>\r\n");
  EXPECT_EQ(Header("T", {"Brief0.htm", "GL1.htm", "http://site.test/", "GL2.htm"}, true),
            "<nobr>&#160<a href=\"Brief0.htm\" target=\"_top\">" + Icon("brief.gif", "Brief") +
                "</a> <a href=\"GL1.htm\" target=\"_top\">" + Icon("toc.gif", "Site Map") +
                "</a> <a href=\"http://site.test/\" target=\"_top\">" +
                Icon("orig.gif", "Original Link") + "</a> <a href=\"GL2.htm\" target=\"_top\">" +
                Icon("full.gif", "Full Page") + "</a> <font size=3>T</font>\r\n" + kStamp +
                "</nobr><br>\r\n");

  const std::pair<LinkSet, std::string> footers[] = {
      {{}, ""},
      {{"", "GL1.htm", "http://x/", ""},
       "| <a href=\"GL1.htm\">Site Map</a>| <a href=\"http://x/\">Original Link</a> |"},
      {{"B.htm", "S.htm", "O", "F.htm"},
       "| <a href=\"B.htm\">Brief Summary</a> | <a href=\"S.htm\">Site Map</a>| "
       "<a href=\"O\">Original Link</a> | <a href=\"F.htm\">Full Page</a> |"},
  };
  for (const auto& [links, targets] : footers) {
    SCOPED_TRACE(targets);
    EXPECT_EQ(Footer(links), "<hr size=3><nobr><center><font size=3>" + targets +
                                 "</font><font size=3> Gleaner-Light<font size=1>(TM)</font>"
                                 "</font></center></nobr>\r\n");
  }

  // A quote in the link cannot end the attribute; the page is named, listed, with bar and footer.
  EXPECT_EQ(SpecialPageBody(SpecialPage::SpiderLimit, "http://x/'\"onclick=\"y"),
            "<html><body><title>Spider Limit Exceeded</title><h2>Spider Search Limit Exceeded</h2>"
            "This link (<a href=\"http://x/'%22onclick=%22y\">http://x/'%22onclick=%22y</a>) is "
            "beyond the range of the spider search set by the user.");
  const LinkSet links{"Brief0.htm", "", "news:x", ""};
  EXPECT_EQ(Written([&](CheckedFile& f) {
              EXPECT_EQ(WriteSpecialPage(run_, f, "news:x", SpecialPage::UnsupportedProtocol, links,
                                         "Unsupported Protocol"),
                        "GL0.htm");
            }),
            "GL0.htm");
  EXPECT_EQ(ReadRunFile("GL0.htm"),
            Header("Unsupported Protocol", links) +
                SpecialPageBody(SpecialPage::UnsupportedProtocol, "news:x") + Footer(links));
  EXPECT_EQ(CatalogueNames(), Texts{"GL0.htm"});

  // The site map: the top page without a name, so only its children are listed.
  TOCList tree;
  THashTable records(&tree);
  const std::uint32_t top = tree.Add(0, "");
  const std::uint32_t first = tree.Add(top, "First");
  tree.SetFragment(first, "#part");
  records.AddStored("a", "GL1.htm", 0, first);
  const std::uint32_t second = tree.Add(top, "Second");
  records.AddStored("b", "GL2.htm", 0, second);
  records.AddStored("c", "GL3.htm", 0, tree.Add(second, "Deep"));
  const LinkSet mapLinks{"Brief0.htm", "GL1.htm", "http://site.test/", ""};
  EXPECT_EQ(Written([&](CheckedFile& f) {
              WriteSiteMapOpening(run_, f, mapLinks);
              FinishSiteMap(f, tree, records, mapLinks);
            }),
            "<html><body bgcolor=#FFFFFF text=\"0000FF\" link=\"FF0000\"><title>Site Map</title>" +
                Header("Site Map", mapLinks) +
                "<h1>Site Map</h1><ul><ul><ul><li><a href=\"GL1.htm#part\">First</a></li><li><a "
                "href=\"GL2.htm\">Second</a></li><ul><li><a href=\"GL3.htm\">Deep</a></li></ul>"
                "</ul></ul></ul>" +
                Footer(mapLinks) + "</body></html>");

  // A very deep tree needs no recursion.
  TOCList deep;
  std::uint32_t level = 0;
  for (int i = 0; i < 100000; ++i)
    level = deep.Add(level, "n");
  const std::string deepMap = Written([&](CheckedFile& f) { WriteSiteMapTree(f, deep, records); });
  EXPECT_EQ(deepMap.size(), 100000 * std::string("<li><a href=\"\">n</a></li>").size() +
                                99999 * std::string("<ul></ul>").size());
}

}  // namespace
}  // namespace gl::test
