#include "generate/generate_brief.h"

#include <gtest/gtest.h>

#include <string>

#include "core/brief_file.h"
#include "generate/site_fixture.h"
#include "generate/unfetched_link_page.h"
#include "platform/cancellation.h"
#include "platform/file_address.h"

namespace gl::test {
namespace {

const std::string kGif = std::string("GIF89a\x01\x00\x01\x00\x00\xff", 12);

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// A site with nested levels, a frame set, a base tag, a script and a comment, images, a body
// background, an image map, mail, news and external links, a redirect, fragments and a link that
// differs only in letter case.
class SiteTest : public GenerateTest {
 protected:
  void SetUp() override {
    GenerateTest::SetUp();
    const std::string external = "http://localhost:" + std::to_string(external_.Port());
    site_.Page("/index.htm",
               "<html><head><title>Home Page</title>\n"
               "<!-- <a href=\"hidden.htm\">hidden</a> -->\n"
               "<script>var s = \"<a href='script.htm'>\";</script>\n"
               "</head><body background=\"img/bg.gif\" text=black>\n"
               "<a href=\"a/one.htm\">One</a>\n"
               "<A HREF=\"a/one.htm#part\">One again</A>\n"
               "<a href=\"A/ONE.htm\">Case</a>\n"
               "<a href=\"frames.htm\">Frames</a>\n"
               "<a href=\"mailto:ann@site.test\">Mail</a>\n"
               "<a href=\"news:comp.misc\">News</a>\n"
               "<a href=\"" +
                   external +
                   "/ext.htm\">External</a>\n"
                   "<a href=\"old.htm\">Moved</a>\n"
                   "<img src=\"img/logo.gif\"><IMG SRC=\"img/logo.gif\">\n"
                   "<a href=\"map.cgi\"><img src=\"img/map.gif\" ismap></a>\n"
                   "<map name=m><area shape=rect href=\"a/two.htm\"></map>\n"
                   "<a href=\"#top\">Top</a>\n"
                   "</body></html>");
    site_.Page("/a/one.htm",
               "<html><head><title>One</title><base href=\"http://elsewhere.invalid/\"></head>"
               "<body><a href=\"two.htm\">Two</a> <a href=\"../index.htm\">Home</a> "
               "<img src=\"../img/logo.gif\"></body></html>");
    site_.Page("/a/two.htm",
               "<title>Two</title><a href=\"three.htm\">Three</a><a href=\"../a/one.htm\">One</a>");
    site_.Page("/a/three.htm", "<title>Three</title><a href=\"four.htm\">Four</a>");
    site_.Page("/A/ONE.htm", "<title>Upper</title>upper");
    site_.Page("/frames.htm",
               "<html><head><title>Frames</title></head><frameset cols=\"30%,*\">"
               "<frame src=\"left.htm\" name=l><frame src=\"a/one.htm\" name=r>"
               "<noframes><a href=\"a/two.htm\">Two</a></noframes></frameset></html>");
    site_.Page("/left.htm", "<title>Left</title><a href=\"a/three.htm\" target=\"_top\">3</a>");
    site_.Redirect("/old.htm", "/new.htm");
    site_.Page("/new.htm", "<title>New</title>new <a href=\"index.htm\">home</a>");
    for (const char* image : {"/img/bg.gif", "/img/logo.gif", "/img/map.gif"})
      site_.File(image, kGif, "image/gif");
  }

  Site site_;
  LoopbackServer external_{[](const Request&) { return PageAnswer("<title>Ext</title>"); }};
};

TEST_F(SiteTest, GeneratesTheWholeSiteIntoANewRunFolder) {
  AddEntry(site_.Address("/index.htm"), 3, "Site");
  const RunReport report = Generate();

  EXPECT_EQ(report.Outcome, RunOutcome::Completed);
  EXPECT_EQ(report.RunDirectory, RunFolder());
  EXPECT_EQ(report.SummaryPath, RunFolder() / "Brief0.htm");
  ExpectCatalogueMatchesFolder();
  ExpectLocalReferencesResolve();

  const std::map<std::string, int> requested = site_.Requested();
  for (const char* never : {"/hidden.htm", "/script.htm", "/map.cgi", "/a/four.htm"})
    EXPECT_EQ(requested.count(never), 0u) << never;
  // Each page once in each role it is needed in: one.htm is also a frame (without navigation).
  EXPECT_EQ(requested.at("/a/one.htm"), 2);
  for (const char* once :
       {"/index.htm", "/img/bg.gif", "/img/logo.gif", "/img/map.gif", "/A/ONE.htm", "/a/two.htm",
        "/a/three.htm", "/old.htm", "/new.htm", "/left.htm", "/frames.htm"})
    EXPECT_EQ(requested.count(once) ? requested.at(once) : 0, 1) << once;
  EXPECT_EQ(external_.RequestCount(), 0u);

  EXPECT_EQ(RunFile("Brief0.htm"),
            "<html>\r\n<head>\r\n<title>News</title>\r\n</head>\r\n<body bgcolor=#FFFFFF "
            "background=\"/opt/gleaner/images/back.gif\"><ul>\r\n"
            "<p><img src=\"/opt/gleaner/images/briefbar.gif\" width=460 height=43 "
            "alt=\"Gleaner-Light\">\r\n<p><font size=5><b>\r\nBrief: </b>News\r\n</font><br>\r\n"
            "<font size=3><b>Brief Started: </b>3/5/1997     9:07:02 AM</font><font size=1><br>"
            "</font>\r\n</font><font size=1><br></font><hr size=3>\r\n"
            "<font size=4><b>Web Entry: </b><a href=\"GL0.htm\">Site</a></font><br>\r\n"
            "<ul><font size=2><b>Retrieval:</b> Top Page, Depth:3 levels\r\n</font><br></ul>\r\n"
            "<ul><font size=2><a href=\"GL1.htm\">Site Map</a></font></ul>\r\n"
            "<hr size=3><font size=1><br></font><font size=2>Gleaner-Light<font size=1>(TM)"
            "</font> 1997 Orrery Development</font><p>\r\n</ul></body>\r\n</html>\r\n");

  const std::string top = RunFile("GL0.htm");
  EXPECT_TRUE(
      top.starts_with("<body background=\"GL0.gif\" text=black>"
                      "<script>var s = \"<a href='script.htm'>\";</script>"
                      "<nobr>&#160<a href=\"Brief0.htm\" target=\"_top\">"));
  EXPECT_TRUE(Contains(top, "<a href=\"GL1.htm\" target=\"_top\">"));
  EXPECT_TRUE(Contains(top, "<a href=\"" + site_.Address("/index.htm") + "\" target=\"_top\">"));
  EXPECT_TRUE(Contains(top, "<font size=3>Home Page</font>\r\n<font size=3> 3/5/1997 9:07:02 AM"));
  EXPECT_FALSE(Contains(top, "hidden.htm"));
  EXPECT_TRUE(Contains(top, "<a href=\"map.cgi\">") == false);
  EXPECT_TRUE(Contains(top, "<a href=\"" + site_.Address("/map.cgi") + "\">"));
  EXPECT_TRUE(Contains(top,
                       "| <a href=\"Brief0.htm\">Brief Summary</a> | <a href=\"GL1.htm\">"
                       "Site Map</a>| <a href=\"" +
                           site_.Address("/index.htm") + "\">Original Link</a> |"));
  EXPECT_TRUE(top.ends_with("</font></center></nobr>\r\n</body></html>\r\n"));
  EXPECT_EQ(RunFile("GL0.gif"), kGif);

  // The page links: "one.htm#part" is the page of "one.htm"; "ONE.htm" is a page of its own.
  const std::size_t one = top.find("\">One</a>");
  const std::size_t again = top.find("\">One again</A>");
  ASSERT_NE(one, std::string::npos);
  ASSERT_NE(again, std::string::npos);
  const std::string oneName =
      top.substr(top.rfind('"', one - 1) + 1, one - top.rfind('"', one - 1) - 1);
  EXPECT_TRUE(Contains(top, "<A HREF=\"" + oneName + "#part\">One again</A>"));
  EXPECT_FALSE(Contains(top, "<a href=\"" + oneName + "\">Case</a>"));

  const std::string siteMap = RunFile("GL1.htm");
  EXPECT_TRUE(siteMap.starts_with(
      "<html><body bgcolor=#FFFFFF text=\"0000FF\" link=\"FF0000\"><title>Site Map</title>"));
  EXPECT_TRUE(Contains(siteMap,
                       "<h1>Site Map</h1><ul><ul><li><a href=\"GL0.htm\">Home Page</a>"
                       "</li><ul><li><a href=\"" +
                           oneName + "\">One</a></li>"));
  EXPECT_TRUE(Contains(siteMap, "<a href=\"" + oneName + "#part\">One</a>") == false);
  for (const char* title : {">Upper</a>", ">Frames</a>", ">New</a>", ">Two</a>", ">Three</a>",
                            ">External Link</a>", ">Left</a>"})
    EXPECT_TRUE(Contains(siteMap, title)) << title;
  EXPECT_TRUE(siteMap.ends_with("</center></nobr>\r\n</body></html>"));

  const std::vector<std::string> depths = host_.Texts(ProgressItem::CurrDepth);
  EXPECT_EQ(depths, (std::vector<std::string>{"1 of 3", "2 of 3", "3 of 3"}));
  ASSERT_FALSE(host_.Calls.empty());
  EXPECT_EQ(host_.Calls.front(), "begin");
  EXPECT_EQ(host_.Calls.back(), "ready:News|" + FileAddressFromPath(RunFolder() / "Brief0.htm"));

  const LoadResult saved = ReadBriefs2(document_.FileName);
  ASSERT_TRUE(saved.Loaded);
  EXPECT_EQ(saved.Document.Brief.ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});
  EXPECT_EQ(saved.Document.Brief.ArchiveStamps,
            std::vector<std::string>{"3/5/1997     9:07:02 AM"});
}

TEST_F(SiteTest, ImagesOffLoadsNoImageButTheImageMap) {
  TWebEntry& entry = AddEntry(site_.Address("/index.htm"), 1, "Site");
  entry.Images = false;
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  const std::map<std::string, int> requested = site_.Requested();
  EXPECT_EQ(requested.count("/img/logo.gif"), 0u);
  EXPECT_EQ(requested.count("/img/bg.gif"), 0u);
  EXPECT_EQ(requested.count("/img/map.gif"), 1u);
  const std::string top = RunFile("GL0.htm");
  EXPECT_TRUE(top.starts_with("<body background=\"/images/NotLoaded\" text=black>"));
  EXPECT_TRUE(Contains(top, "<img src=\"/images/NotLoaded\"><IMG SRC=\"/images/NotLoaded\">"));
  ExpectCatalogueMatchesFolder();
  ExpectLocalReferencesResolve();
}

TEST_F(SiteTest, DepthOneHasNoSiteMapAndSpiderLimitPagesForItsLinks) {
  AddEntry(site_.Address("/index.htm"), 1, "Site");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  const std::string summary = RunFile("Brief0.htm");
  EXPECT_TRUE(Contains(summary, "Top Page, Depth:1 level\r\n"));
  EXPECT_FALSE(Contains(summary, "Site Map"));
  EXPECT_EQ(site_.Requested().count("/a/one.htm"), 0u);
  const std::string top = RunFile("GL0.htm");
  EXPECT_FALSE(Contains(top, "toc.gif"));
  // Each page link got a spider-limit page; both links to one.htm share one.
  int limitPages = 0;
  for (const std::string& name : FilesOf()) {
    if (name.ends_with(".htm") && Contains(RunFile(name), "<title>Spider Limit Exceeded</title>"))
      ++limitPages;
  }
  EXPECT_EQ(limitPages, 6);  // one, ONE, frames, external, old, two
  EXPECT_EQ(host_.Texts(ProgressItem::CurrDepth), std::vector<std::string>{"1 of 1"});
  ExpectCatalogueMatchesFolder();
  ExpectLocalReferencesResolve();
}

TEST_F(SiteTest, ExternalLinksAreFollowedWhenTheEntryAllowsIt) {
  TWebEntry& entry = AddEntry(site_.Address("/index.htm"), 2, "Site");
  entry.StayLocal = false;
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  EXPECT_EQ(external_.RequestCount(), 1u);
  EXPECT_TRUE(Contains(RunFile("GL1.htm"), ">Ext</a>"));
  ExpectCatalogueMatchesFolder();
  ExpectLocalReferencesResolve();
}

TEST_F(SiteTest, StopInTheMiddleEndsTheRunButClosesAndRecordsIt) {
  AddEntry(site_.Address("/index.htm"), 3, "Site");
  AddEntry(site_.Address("/new.htm"), 1, "Second");
  site_.OnRequest = [](const std::string& path) {
    if (path == "/a/one.htm") RequestStop();
  };
  const RunReport report = Generate();
  EXPECT_EQ(report.Outcome, RunOutcome::Aborted);
  const std::map<std::string, int> requested = site_.Requested();
  EXPECT_EQ(requested.count("/a/two.htm"), 0u);
  EXPECT_EQ(requested.count("/new.htm"), 0u);
  EXPECT_TRUE(RunFile("Brief0.htm").ends_with("</ul></body>\r\n</html>\r\n"));
  EXPECT_FALSE(Contains(RunFile("Brief0.htm"), "Second"));
  EXPECT_TRUE(RunFile("GL1.htm").ends_with("</body></html>"));
  ExpectCatalogueMatchesFolder();
  EXPECT_EQ(document_.Brief.ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});
  EXPECT_EQ(ReadBriefs2(document_.FileName).Document.Brief.ArchivePaths.size(), 1u);
  EXPECT_EQ(host_.Calls.back(), "ready:News|" + FileAddressFromPath(RunFolder() / "Brief0.htm"));
}

TEST_F(SiteTest, SkipEndsOnlyTheCurrentEntry) {
  AddEntry(site_.Address("/index.htm"), 3, "Site");
  AddEntry(site_.Address("/new.htm"), 1, "Second");
  site_.OnRequest = [](const std::string& path) {
    if (path == "/a/one.htm") RequestSkip();
  };
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  EXPECT_EQ(site_.Requested().count("/a/two.htm"), 0u);
  EXPECT_EQ(site_.Requested().count("/new.htm"), 1u);
  const std::string summary = RunFile("Brief0.htm");
  EXPECT_TRUE(Contains(summary, "<hr size=1><font size=4><b>Web Entry: </b><a href=\""));
  EXPECT_TRUE(Contains(summary, "\">Second</a>"));
  // The progress window was opened anew for the next entry.
  const auto open = std::count(host_.Calls.begin(), host_.Calls.end(), "open");
  EXPECT_EQ(open, 2);
  EXPECT_EQ(host_.Texts(ProgressItem::CurrEntry), (std::vector<std::string>{"Site", "Second"}));
  ExpectCatalogueMatchesFolder();
}

TEST_F(SiteTest, AShortfallOfDiskSpaceInTheMiddleEndsTheRunWithTheDiskError) {
  AddEntry(site_.Address("/index.htm"), 3, "Site");
  lowSpaceAfter_ = 4;
  const RunReport report = Generate();
  EXPECT_EQ(report.Outcome, RunOutcome::DiskError);
  EXPECT_NE(std::find(host_.Calls.begin(), host_.Calls.end(),
                      "error:Disk Error|Gleaner was unable to complete the retrieval. Your disk "
                      "appears to be full."),
            host_.Calls.end());
  EXPECT_TRUE(RunFile("Brief0.htm").ends_with("</html>\r\n"));
  EXPECT_TRUE(RunFile("GL1.htm").ends_with("</body></html>"));  // the site map was finished
  ExpectCatalogueMatchesFolder();
  EXPECT_EQ(document_.Brief.ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});
}

TEST_F(GenerateTest, NoFreeSpaceAtTheStartWritesNothing) {
  AddEntry("http://127.0.0.1:1/", 1);
  freeSpace_ = settings_.DiskBuffer;
  const RunReport report = Generate();
  EXPECT_EQ(report.Outcome, RunOutcome::DiskError);
  EXPECT_FALSE(std::filesystem::exists(RunFolder()));
  EXPECT_TRUE(document_.Brief.ArchivePaths.empty());
  EXPECT_EQ(host_.Calls,
            (std::vector<std::string>{"begin",
                                      "error:Disk Error|Gleaner was unable to complete the "
                                      "retrieval. Your disk appears to be full.",
                                      "status: Gleaner-Light", "end"}));
}

TEST_F(GenerateTest, NoSummaryNameLeavesAnEmptyFolderAndNoTrace) {
  AddEntry("http://127.0.0.1:1/", 1);
  names_.Summary = 1000;
  const RunReport report = Generate();
  EXPECT_EQ(report.Outcome, RunOutcome::NotStarted);
  EXPECT_TRUE(std::filesystem::is_directory(RunFolder()));
  EXPECT_TRUE(FilesOf().empty());
  EXPECT_TRUE(document_.Brief.ArchivePaths.empty());
  EXPECT_FALSE(std::filesystem::exists(document_.FileName));
}

TEST_F(GenerateTest, ABinaryTopLevelFileIsStoredExactly) {
  Site site;
  // A body of exactly 1,000 bytes, ending in a zero byte of its own.
  std::string body(999, 'z');
  body += '\0';
  site.File("/pub/data.ZIP", body, "application/zip");
  AddEntry(site.Address("/pub/data.ZIP"), 2, "Data");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  EXPECT_EQ(RunFile("GL0.zip"), body);
  EXPECT_EQ(FilesOf(), (std::vector<std::string>{"Brief0.cat", "Brief0.htm", "GL0.zip"}));
  EXPECT_TRUE(Contains(RunFile("Brief0.htm"),
                       "<font size=4><b>Web Entry: </b><a href=\"GL0.zip\">Data</a></font><br>\r\n"
                       "<ul><font size=2><b>Retrieval Depth:</b>2 levels\r\n</font><br></ul>\r\n"));
  EXPECT_EQ(host_.Texts(ProgressItem::ImagesLoaded).back(), "1");
  ExpectCatalogueMatchesFolder();
}

TEST_F(GenerateTest, ATopPageFoundThroughARedirectResolvesItsLinksWhereItWasFound) {
  Site site;
  site.Redirect("/start", "/dir/index.htm");
  site.Page("/dir/index.htm", "<title>I</title><a href=\"page.htm\">p</a><a href=\"/start\">s</a>");
  site.Page("/dir/page.htm", "<title>P</title><a href=\"index.htm\">back</a>");
  AddEntry(site.Address("/start"), 2, "Moved");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  const std::map<std::string, int> requested = site.Requested();
  EXPECT_EQ(requested.at("/dir/page.htm"), 1);
  EXPECT_EQ(requested.at("/dir/index.htm"), 1);
  EXPECT_EQ(requested.at("/start"), 1);
  // Both links back lead to the stored top page.
  const std::string page = RunFile("GL2.htm");
  EXPECT_TRUE(Contains(page, "<a href=\"GL0.htm\">back</a>"));
  EXPECT_TRUE(Contains(RunFile("GL0.htm"), "<a href=\"GL0.htm\">s</a>"));
  ExpectCatalogueMatchesFolder();
  ExpectLocalReferencesResolve();
}

TEST_F(GenerateTest, MailAndOtherSchemeEntriesGetSpecialPagesWithoutAFetch) {
  AddEntry("mailto://ann@site.test", 1, "Write");
  AddEntry("ftp://files.test", 2, "Files");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  const std::string summary = RunFile("Brief0.htm");
  EXPECT_TRUE(Contains(summary, "<a href=\"GL0.htm\">Write</a>"));
  EXPECT_TRUE(Contains(summary,
                       "<hr size=1><font size=4><b>Web Entry: </b><a href=\"GL1.htm\">"
                       "Files</a></font><br>\r\n<ul><font size=2><b>Retrieval:</b> Top "
                       "Page, Depth:2 levels\r\n"));
  EXPECT_TRUE(Contains(RunFile("GL0.htm"),
                       SpecialPageBody(SpecialPage::MailLink, "mailto://ann@site.test/")));
  EXPECT_TRUE(Contains(RunFile("GL1.htm"),
                       SpecialPageBody(SpecialPage::UnsupportedProtocol, "ftp://files.test/")));
  ExpectCatalogueMatchesFolder();
}

TEST_F(GenerateTest, AnEntryOnTheLocalDiskFollowsItsLocalLinks) {
  const std::filesystem::path site = folder_ / "site";
  std::filesystem::create_directories(site / "sub");
  WriteFileBytes(site / "index.htm",
                 "<html>\n\n<title>Local</title><a href=\"sub/page.htm\">p</a></html>");
  WriteFileBytes(site / "sub" / "page.htm", "<title>Sub Page</title>sub");
  AddEntry(FileAddressFromPath(site / "index.htm"), 2, "Local");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  EXPECT_TRUE(Contains(RunFile("GL0.htm"), "<html>\n\n<title>Local</title><a href=\"GL2.htm\">"));
  EXPECT_TRUE(Contains(RunFile("GL2.htm"), "<title>Sub Page</title>sub"));
  EXPECT_TRUE(Contains(RunFile("GL1.htm"), "<li><a href=\"GL2.htm\">Sub Page</a></li>"));
  EXPECT_EQ(FilesOf(), (std::vector<std::string>{"Brief0.cat", "Brief0.htm", "GL0.htm", "GL1.htm",
                                                 "GL2.htm"}));
  // The run number, the summary, then every file in the order the run created it.
  EXPECT_EQ(RunFile("Brief0.cat"), std::string("\x01"
                                               "0\x0a"
                                               "Brief0.htm\x07"
                                               "GL0.htm\x07"
                                               "GL1.htm\x07"
                                               "GL2.htm\0",
                                               38));
  ExpectLocalReferencesResolve();
}

TEST_F(GenerateTest, ASecondRunTakesTheNextFolderAndCarriesTheCountersOn) {
  Site site;
  site.Page("/", "<title>Root</title>root");
  AddEntry(site.Address("/"), 1, "Root");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  EXPECT_TRUE(std::filesystem::exists(RunFolder(1) / "Brief1.htm"));
  EXPECT_TRUE(std::filesystem::exists(RunFolder(1) / "GL1.htm"));
  EXPECT_EQ(document_.Brief.ArchivePaths,
            (std::vector<std::string>{"0\\Brief0.htm", "1\\Brief1.htm"}));
}

TEST_F(GenerateTest, InactiveEntriesWriteNothing) {
  Site site;
  site.Page("/", "<title>Root</title>root");
  AddEntry(site.Address("/"), 1, "Off").Active = false;
  AddEntry(site.Address("/"), 1, "On");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  const std::string summary = RunFile("Brief0.htm");
  EXPECT_FALSE(Contains(summary, "<hr size=1>"));
  EXPECT_FALSE(Contains(summary, "Off"));
  EXPECT_EQ(site.Requested().at("/"), 1);
}

}  // namespace
}  // namespace gl::test
