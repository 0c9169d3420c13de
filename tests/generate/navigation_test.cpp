#include "generate/navigation.h"

#include <gtest/gtest.h>

#include <string>

#include "core/brief_record.h"
#include "generate/generate_fixture.h"
#include "generate/site_map.h"
#include "generate/summary_page.h"
#include "generate/unfetched_link_page.h"

namespace gl::test {
namespace {

constexpr std::string_view kImages = "/opt/gleaner/images/";

std::string Icon(std::string_view image, std::string_view alt) {
  return "<img src=\"/opt/gleaner/images/" + std::string(image) +
         "\" border=0 align=absmiddle width=24 height=24 alt=\"" + std::string(alt) + "\">";
}

class NavigationTest : public RunFixture {
 protected:
  template <typename Write>
  std::string Written(Write write) {
    {
      CheckedFile file(folder_ / "out.htm");
      write(file);
      file.Close();
    }
    return ReadFileBytes(folder_ / "out.htm");
  }
};

TEST_F(NavigationTest, ImageDirectoryHasOneLeadingSlash) {
  EXPECT_EQ(ImageDirectoryText("/abs/dir"), "/abs/dir/images/");
  EXPECT_EQ(ImageDirectoryText("/abs/dir/"), "/abs/dir/images/");
  EXPECT_EQ(ImageDirectoryText("//abs//dir"), "/abs/dir/images/");
  EXPECT_EQ(ImageDirectoryText("/"), "/images/");
}

TEST_F(NavigationTest, HeaderImage) {
  EXPECT_EQ(Written([](CheckedFile& f) { DoHeaderImage(f, kImages, "toc.gif", "Site Map", 7, 9); }),
            "<img src=\"/opt/gleaner/images/toc.gif\" border=0 align=absmiddle width=9 height=7 "
            "alt=\"Site Map\">");
}

TEST_F(NavigationTest, HeaderWithOnlyTheSummaryShowsOneIcon) {
  const std::string header = Written([](CheckedFile& f) {
    PrintBriefHeader(f, kImages, kTestTime, "A Page", false, {"Brief0.htm", "", "", ""});
  });
  EXPECT_EQ(header, "<nobr>&#160<a href=\"Brief0.htm\" target=\"_top\">" +
                        Icon("brief.gif", "Brief") +
                        "</a> <font size=3>A Page</font>\r\n<font size=3> 3/5/1997 9:07:02 AM "
                        "<b>by <i>Gleaner</i>-Light</b></font></nobr><br><hr size=3><br>\r\n");
}

TEST_F(NavigationTest, HeaderWithAllTargetsInOrderAndFrameSetForm) {
  const std::string header = Written([](CheckedFile& f) {
    PrintBriefHeader(f, kImages, kTestTime, "T", true,
                     {"Brief0.htm", "GL1.htm", "http://site.test/", "GL2.htm"});
  });
  EXPECT_EQ(header,
            "<nobr>&#160<a href=\"Brief0.htm\" target=\"_top\">" + Icon("brief.gif", "Brief") +
                "</a> <a href=\"GL1.htm\" target=\"_top\">" + Icon("toc.gif", "Site Map") +
                "</a> <a href=\"http://site.test/\" target=\"_top\">" +
                Icon("orig.gif", "Original Link") + "</a> <a href=\"GL2.htm\" target=\"_top\">" +
                Icon("full.gif", "Full Page") +
                "</a> <font size=3>T</font>\r\n<font size=3> 3/5/1997 9:07:02 AM "
                "<b>by <i>Gleaner</i>-Light</b></font></nobr><br>\r\n");
}

TEST_F(NavigationTest, Footers) {
  const std::string mark =
      "</font><font size=3> Gleaner-Light<font size=1>(TM)</font></font></center></nobr>\r\n";
  EXPECT_EQ(Written([](CheckedFile& f) { PrintBriefFooter(f, {}); }),
            "<hr size=3><nobr><center><font size=3>" + mark);
  EXPECT_EQ(Written([](CheckedFile& f) {
              PrintBriefFooter(f, {"", "GL1.htm", "http://x/", ""});
            }),
            "<hr size=3><nobr><center><font size=3>| <a href=\"GL1.htm\">Site Map</a>| "
            "<a href=\"http://x/\">Original Link</a> |" +
                mark);
  EXPECT_EQ(Written([](CheckedFile& f) {
              PrintBriefFooter(f, {"B.htm", "S.htm", "O", "F.htm"});
            }),
            "<hr size=3><nobr><center><font size=3>| <a href=\"B.htm\">Brief Summary</a> | "
            "<a href=\"S.htm\">Site Map</a>| <a href=\"O\">Original Link</a> | "
            "<a href=\"F.htm\">Full Page</a> |" +
                mark);
}

TEST_F(NavigationTest, SiteMapTreeListsNamedNodesAndNestsChildren) {
  TOCList root;
  root.Add("");  // the top page without a name: only its children are listed
  TOCList::Node* top = root.Last();
  TPageLList records;
  top->Children->Add("First");
  records.Add("a", "GL1.htm", 0, 0, 1, top->Children->Last(), 0);
  top->Children->Last()->Fragment = "#part";
  top->Children->Add("Second");
  TOCList::Node* second = top->Children->Last();
  records.Add("b", "GL2.htm", 0, 0, 1, second, 0);
  second->Children->Add("Deep");
  records.Add("c", "GL3.htm", 0, 0, 1, second->Children->Last(), 0);
  EXPECT_EQ(Written([&](CheckedFile& f) { WriteSiteMapTree(f, root); }),
            "<ul><li><a href=\"GL1.htm#part\">First</a></li><li><a href=\"GL2.htm\">Second</a>"
            "</li><ul><li><a href=\"GL3.htm\">Deep</a></li></ul></ul>");
}

TEST_F(NavigationTest, SiteMapOfAVeryDeepTreeNeedsNoRecursion) {
  TOCList root;
  TOCList* level = &root;
  for (int i = 0; i < 100000; ++i) {
    level->Add("n");
    level = level->Last()->Children;
  }
  const std::string tree = Written([&](CheckedFile& f) { WriteSiteMapTree(f, root); });
  EXPECT_EQ(tree.size(), 100000 * std::string("<li><a href=\"\">n</a></li>").size() +
                             99999 * std::string("<ul></ul>").size());
}

TEST_F(NavigationTest, SiteMapPage) {
  TOCList root;
  root.Add("Home");
  TPageLList records;
  records.Add("site.test/", "GL0.htm", 0, 2, 1, root.Last(), 0);
  const LinkSet links{"Brief0.htm", "GL1.htm", "http://site.test/", ""};
  const std::string page = Written([&](CheckedFile& f) {
    WriteSiteMapOpening(run_, f, links);
    FinishSiteMap(f, root, links);
  });
  const std::string expected =
      "<html><body bgcolor=#FFFFFF text=\"0000FF\" link=\"FF0000\"><title>Site Map</title>"
      "<nobr>&#160<a href=\"Brief0.htm\" target=\"_top\">" +
      Icon("brief.gif", "Brief") + "</a> <a href=\"GL1.htm\" target=\"_top\">" +
      Icon("toc.gif", "Site Map") + "</a> <a href=\"http://site.test/\" target=\"_top\">" +
      Icon("orig.gif", "Original Link") +
      "</a> <font size=3>Site Map</font>\r\n<font size=3> 3/5/1997 9:07:02 AM "
      "<b>by <i>Gleaner</i>-Light</b></font></nobr><br><hr size=3><br>\r\n"
      "<h1>Site Map</h1><ul><ul><li><a href=\"GL0.htm\">Home</a></li></ul></ul>"
      "<hr size=3><nobr><center><font size=3>| <a href=\"Brief0.htm\">Brief Summary</a> | "
      "<a href=\"GL1.htm\">Site Map</a>| <a href=\"http://site.test/\">Original Link</a> |"
      "</font><font size=3> Gleaner-Light<font size=1>(TM)</font></font></center></nobr>\r\n"
      "</body></html>";
  EXPECT_EQ(page, expected);
}

TEST_F(NavigationTest, SpecialPageBodies) {
  EXPECT_EQ(SpecialPageBody(SpecialPage::SpiderLimit, "http://x/a"),
            "<html><body><title>Spider Limit Exceeded</title><h2>Spider Search Limit Exceeded"
            "</h2>This link (<a href=\"http://x/a\">http://x/a</a>) is beyond the range of the "
            "spider search set by the user.");
  EXPECT_EQ(SpecialPageBody(SpecialPage::MailLink, "mailto:a@b"),
            "<html><body><title>Mail Link</title><h2>Mail Link.</h2>This link (<a "
            "href=\"mailto:a@b\">mailto:a@b</a>) is a mail link. If your browser has mail client "
            "support,you can click on the link to send mail.");
  EXPECT_EQ(SpecialPageBody(SpecialPage::UnsupportedProtocol, "news:x"),
            "<html><body><title>Unsupported Protocol</title><h2>Gleaner-Light does not support "
            "this protocol.</h2>This link (<a href=\"news:x\">news:x</a>) is not an HTTP Web "
            "link.");
}

TEST_F(NavigationTest, WriteSpecialPageNamesListsAndWritesIt) {
  const std::string referring = Written([&](CheckedFile& f) {
    f << "<a href=\"";
    EXPECT_EQ(WriteSpecialPage(run_, f, "news:x", SpecialPage::UnsupportedProtocol,
                               {"Brief0.htm", "", "news:x", ""}, "Unsupported Protocol"),
              "GL0.htm");
    f << "\">";
  });
  EXPECT_EQ(referring, "<a href=\"GL0.htm\">");
  const std::string page = ReadRunFile("GL0.htm");
  EXPECT_TRUE(page.starts_with("<nobr>&#160<a href=\"Brief0.htm\""));
  EXPECT_NE(page.find("<font size=3>Unsupported Protocol</font>"), std::string::npos);
  EXPECT_NE(page.find("<hr size=3><br>\r\n" +
                      SpecialPageBody(SpecialPage::UnsupportedProtocol, "news:x") +
                      "<hr size=3><nobr><center>"),
            std::string::npos);
  EXPECT_TRUE(page.ends_with("</center></nobr>\r\n"));
  EXPECT_EQ(CatalogueNames(), (std::vector<std::string>{"GL0.htm"}));
}

TEST_F(NavigationTest, SummaryPagePieces) {
  TBriefRecord brief;
  brief.Name = "News";
  brief.Comments = "Daily <b>reading</b>";
  std::string start;
  const std::string summary = Written([&](CheckedFile& f) {
    WriteSummaryOpening(f, brief.Name, kImages);
    start = WriteBriefHeader(f, brief, kImages, kTestTime);
    WritePageEntryOpening(f);
    f << "GL0.htm";
    WritePageEntryClosing(f, "Front", 3);
    WriteSiteMapLink(f, "GL1.htm");
    WriteEntrySeparator(f);
    WriteFileEntry(f, "GL2.zip", "Archive", 1);
    CloseSummaryPage(f);
  });
  EXPECT_EQ(start, "3/5/1997     9:07:02 AM");
  EXPECT_EQ(summary,
            "<html>\r\n<head>\r\n<title>News</title>\r\n</head>\r\n<body bgcolor=#FFFFFF "
            "background=\"/opt/gleaner/images/back.gif\"><ul>\r\n"
            "<p><img src=\"/opt/gleaner/images/briefbar.gif\" width=460 height=43 "
            "alt=\"Gleaner-Light\">\r\n"
            "<p><font size=5><b>\r\nBrief: </b>News\r\n</font><br>\r\n"
            "<font size=3><b>Brief Started: </b>3/5/1997     9:07:02 AM</font><font size=1><br>"
            "</font>\r\n"
            "<font size=3><b>\r\n Brief Information: </b>\r\nDaily <b>reading</b>"
            "</font><font size=1><br></font><hr size=3>\r\n"
            "<font size=4><b>Web Entry: </b><a href=\"GL0.htm\">Front</a></font><br>\r\n"
            "<ul><font size=2><b>Retrieval:</b> Top Page, Depth:3 levels\r\n</font><br></ul>\r\n"
            "<ul><font size=2><a href=\"GL1.htm\">Site Map</a></font></ul>\r\n"
            "<hr size=1>"
            "<font size=4><b>Web Entry: </b><a href=\"GL2.zip\">Archive</a></font><br>\r\n"
            "<ul><font size=2><b>Retrieval Depth:</b>1 level\r\n</font><br></ul>\r\n"
            "<hr size=3><font size=1><br></font><font size=2>Gleaner-Light<font size=1>(TM)"
            "</font> 1997 Orrery Development</font><p>\r\n</ul></body>\r\n</html>\r\n");
}

TEST_F(NavigationTest, BriefHeaderWithoutComments) {
  TBriefRecord brief;
  brief.Name = "N";
  const std::string header =
      Written([&](CheckedFile& f) { WriteBriefHeader(f, brief, kImages, kTestTime); });
  EXPECT_TRUE(header.ends_with(
      "<font size=3><b>Brief Started: </b>3/5/1997     9:07:02 AM</font><font size=1><br>"
      "</font>\r\n</font><font size=1><br></font><hr size=3>\r\n"));
}

}  // namespace
}  // namespace gl::test
