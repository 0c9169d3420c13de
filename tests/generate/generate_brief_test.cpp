#include "generate/generate_brief.h"

#include <gtest/gtest.h>

#include <string>

#include "core/brief_file.h"
#include "generate/generate_fixture.h"
#include "generate/internal/unfetched_link_page.h"
#include "platform/cancellation.h"
#include "platform/file_address.h"
#include "support/scoped_environment.h"
#include "support/test_authority.h"

namespace gl::test {
namespace {

using namespace std::string_literals;

std::string DiskError(
    const std::filesystem::path& where,
    std::string_view why = "1024 KB free, at or below the disk buffer of 1024 KB") {
  return "error:Disk Error|Gleaner was unable to complete the retrieval. Your disk appears to be "
         "full.\n" +
         where.string() + ": " + std::string(why);
}

// Nested levels, frames, base tag, script, comment, images, image map, odd schemes, a redirect.
class SiteTest : public GenerateTest {
 protected:
  SiteTest() {
    ServePage("/index.htm",
              "<html><head><title>Home Page</title>\n"
              "<!-- <a href=\"hidden.htm\">hidden</a> -->\n"
              "<script>var s = \"<a href='script.htm'>\";</script>\n"
              "</head><body background=\"img/bg.gif\" text=black>\n"
              "<a href=\"a/one.htm\">One</a>\n<A HREF=\"a/one.htm#part\">One again</A>\n"
              "<a href=\"A/ONE.htm\">Case</a>\n<a href=\"frames.htm\">Frames</a>\n"
              "<a href=\"mailto:ann@site.test\">Mail</a>\n<a href=\"news:comp.misc\">News</a>\n"
              "<a href=\"http://localhost:" +
                  std::to_string(external_.Port()) +
                  "/ext.htm\">External</a>\n<a href=\"old.htm\">Moved</a>\n"
                  "<img src=\"img/logo.gif\"><IMG SRC=\"img/logo.gif\">\n"
                  "<a href=\"map.cgi\"><img src=\"img/map.gif\" ismap></a>\n"
                  "<map name=m><area shape=rect href=\"a/two.htm\"></map>\n"
                  "<a href=\"#top\">Top</a>\n</body></html>");
    ServePage("/a/one.htm",
              "<html><head><title>One</title><base href=\"http://elsewhere.invalid/\"></head>"
              "<body><a href=\"two.htm\">Two</a> <a href=\"../index.htm\">Home</a> "
              "<img src=\"../img/logo.gif\"></body></html>");
    ServePage("/a/two.htm",
              "<title>Two</title><a href=\"three.htm\">Three</a><a href=\"../a/one.htm\">One</a>");
    ServePage("/a/three.htm", "<title>Three</title><a href=\"four.htm\">Four</a>");
    ServePage("/A/ONE.htm", "<title>Upper</title>upper");
    ServePage("/frames.htm",
              "<html><head><title>Frames</title></head><frameset cols=\"30%,*\">"
              "<frame src=\"left.htm\" name=l><frame src=\"a/one.htm\" name=r>"
              "<noframes><a href=\"a/two.htm\">Two</a></noframes></frameset></html>");
    ServePage("/left.htm", "<title>Left</title><a href=\"a/three.htm\" target=\"_top\">3</a>");
    Serve("/old.htm", RedirectAnswer(302, "/new.htm"));
    ServePage("/new.htm", "<title>New</title>new <a href=\"index.htm\">home</a>");
    for (const char* image : {"/img/bg.gif", "/img/logo.gif", "/img/map.gif"})
      Serve(image, PageAnswer(kGif, "image/gif"));
  }

  RunReport GenerateWithin(rlim_t fileSizeLimit) {
    const ScopedFileSizeLimit limit(fileSizeLimit);
    return Generate();
  }

  LoopbackServer external_{[](const Request&) { return PageAnswer("<title>Ext</title>"); }};
};

TEST_F(SiteTest, GeneratesTheWholeSiteIntoANewRunFolder) {
  document_.Brief.Comments = "Daily <b>reading</b>";
  AddEntry(Address("/index.htm"), 3, "Site");
  // The run is recorded in the brief as it is when the run ends.
  onRequest_ = [this](const std::string&) {
    static_cast<void>(UpdateBrief(document_.FileName, [](TBriefDocument& onDisk) {
      onDisk.Brief.Name = "Renamed meanwhile";
      return true;
    }));
  };
  const RunReport report = Generate();
  EXPECT_EQ(report.Outcome, RunOutcome::Completed);
  EXPECT_EQ(report.SummaryPath, RunFolder() / "Brief0.htm");
  EXPECT_EQ(report.ArchivePath + "=" + report.ArchiveStamp,
            "0\\Brief0.htm=3/5/1997     9:07:02 AM");
  EXPECT_EQ(document_.Brief.Name, "Renamed meanwhile");
  ExpectWholeArchive();

  // Every page once in each role: one.htm is also a frame (without navigation).
  for (const char* never : {"/hidden.htm", "/script.htm", "/map.cgi", "/a/four.htm"})
    EXPECT_EQ(Count(never), 0) << never;
  EXPECT_EQ(Count("/a/one.htm"), 2);
  EXPECT_FALSE(Contains(RunFile("GL12.htm"), "toc.gif"));  // one.htm as a frame
  EXPECT_EQ(server_.RequestCount(), 13u);                  // the other eleven files once each
  EXPECT_EQ(external_.RequestCount(), 0u);

  const std::string summary = RunFile("Brief0.htm");
  for (const char* part :
       {"<title>News</title>", "Brief: </b>News", "Started: </b>3/5/1997     9:07:02 AM",
        "Information: </b>\r\nDaily <b>reading</b></font>", "<a href=\"GL0.htm\">Site</a>",
        "Top Page, Depth:3 levels\r\n</font><br></ul>\r\n<ul><font size=2><a href=\"GL1.htm\">Site "
        "Map</a></font></ul>\r\n<hr size=3>"})
    EXPECT_TRUE(Contains(summary, part)) << part;
  const std::string top = RunFile("GL0.htm");
  EXPECT_TRUE(
      top.starts_with("<body background=\"GL0.gif\" text=black>"
                      "<script>var s = \"<a href='script.htm'>\";</script>"
                      "<nobr>&#160<a href=\"Brief0.htm\" target=\"_top\">"));
  EXPECT_TRUE(top.ends_with(
      "<a href=\"GL0.htm#top\">Top</a>\n</body></html><hr size=3><nobr><center><font size=3>| "
      "<a href=\"Brief0.htm\">Brief Summary</a> | <a href=\"GL1.htm\">Site Map</a>| <a href=\"" +
      Address("/index.htm") +
      "\">Original Link</a> |</font><font size=3> Gleaner-Light<font size=1>(TM)</font></font>"
      "</center></nobr>\r\n</body></html>\r\n"));
  EXPECT_TRUE(Contains(
      RunFile("GL1.htm"),
      "<h1>Site Map</h1><ul><ul><li><a href=\"GL0.htm\">Home Page</a></li><ul><li><a "
      "href=\"GL2.htm\">One</a></li><li><a href=\"GL3.htm\">Upper</a></li><li><a href=\"GL4.htm\">"
      "Frames</a></li><ul><li><a href=\"GL11.htm\">Left</a></li><li><a href=\"GL12.htm\">One</a>"
      "</li></ul><li><a href=\"GL7.htm\">External Link</a></li><li><a href=\"GL8.htm\">New</a>"
      "</li><li><a href=\"GL9.htm\">Two</a></li><ul><li><a href=\"GL13.htm\">Three</a></li></ul>"
      "</ul></ul></ul><hr size=3>"));

  EXPECT_EQ(host_.Shown[ProgressItem::CurrDepth], (Texts{"1 of 3", "2 of 3", "3 of 3"}));
  EXPECT_EQ(host_.Calls.back(), "ready:News|" + FileAddressFromPath(RunFolder() / "Brief0.htm"));
  EXPECT_EQ(document_.Brief.ArchiveStamps, Texts{"3/5/1997     9:07:02 AM"});
}

// Stop ends the run, Skip the entry; both close the pages and fill every promised page.
TEST_F(SiteTest, StopAndSkipInTheMiddleOrBeforeTheStartAndExternalLinksWhenAllowed) {
  for (const bool stop : {true, false}) {
    SCOPED_TRACE(stop ? "Stop" : "Skip");
    StartOver();
    AddEntry(Address("/index.htm"), 3, "Site");
    AddEntry(Address("/new.htm"), 1, "Second");
    settings_.Connections = 1;  // no page of the level is on its way before Stop
    onRequest_ = [stop](const std::string& path) {
      if (path == "/a/one.htm") stop ? RequestStop() : RequestSkip();
    };
    EXPECT_EQ(Generate().Outcome, stop ? RunOutcome::Aborted : RunOutcome::Completed);
    EXPECT_EQ(Count("/a/two.htm"), 0);
    EXPECT_EQ(Count("/new.htm"), stop ? 0 : 1);
    EXPECT_EQ(Contains(RunFile("Brief0.htm"),
                       "<hr size=1><font size=4><b>Web Entry: </b><a href=\"GL10.htm\">Second"),
              !stop);
    EXPECT_TRUE(RunFile("GL1.htm").ends_with("</body></html>"));
    ExpectWholeArchive();
    EXPECT_TRUE(Contains(RunFile("GL9.htm"),
                         "skip <a href=\"" + Address("/a/two.htm") + "\">this Web entry</a>"));
    EXPECT_EQ(host_.Count("open"), stop ? 1 : 2);
    EXPECT_EQ(host_.Shown[ProgressItem::CurrEntry],
              (stop ? Texts{"Site"} : Texts{"Site", "Second"}));
    EXPECT_EQ(host_.Calls.back(), "ready:News|" + FileAddressFromPath(RunFolder() / "Brief0.htm"));
  }

  // A stray Stop flag left by an earlier run is cleared; one through the run's handle is kept.
  StartOver();
  onRequest_ = nullptr;
  AddEntry(Address("/index.htm"), 3, "Site").StayLocal = false;
  RequestStop();
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  RunHandle run;
  run.RequestStop();
  environment_.Handle = &run;
  EXPECT_EQ(Generate().Outcome, RunOutcome::Aborted);
  EXPECT_EQ(Count("/index.htm"), 3);  // not in the run stopped before its start
  EXPECT_EQ(document_.Brief.ArchivePaths, (Texts{"0\\Brief0.htm", "1\\Brief1.htm"}));
  EXPECT_EQ(external_.RequestCount(), 1u);
  EXPECT_TRUE(Contains(RunFile("GL1.htm"), ">Ext</a>"));
  ExpectWholeArchive();
}

// What was written before the disk error is closed and recorded; a page that failed goes.
TEST_F(SiteTest, DiskErrorsAndRunsThatCannotBeRecorded) {
  AddEntry(Address("/index.htm"), 3, "Site");
  lowSpaceAfter_ = 4;
  EXPECT_EQ(Generate().Outcome, RunOutcome::DiskError);
  EXPECT_EQ(host_.Count(DiskError(RunFolder())), 1);
  EXPECT_TRUE(RunFile("GL1.htm").ends_with("</body></html>"));  // the site map was finished
  ExpectWholeArchive(false);

  StartOver();
  lowSpaceAfter_ = -1;
  ServePage("/a/one.htm", std::string(300'000, 'x'));
  AddEntry(Address("/index.htm"), 2, "Site");
  EXPECT_EQ(GenerateWithin(200'000).Outcome, RunOutcome::DiskError);
  EXPECT_EQ(host_.Count(DiskError(RunFolder() / "GL2.htm", "File too large")), 1);
  EXPECT_FALSE(std::filesystem::exists(RunFolder() / "GL2.htm"));
  ExpectWholeArchive(false);

  // Runs that cannot start or be recorded leave no trace.
  StartOver();
  AddEntry("http://127.0.0.1:1/", 1).Active = false;
  lowSpaceAfter_ = 0;
  EXPECT_EQ(Generate().Outcome, RunOutcome::DiskError);
  EXPECT_FALSE(std::filesystem::exists(RunFolder()));
  EXPECT_EQ(host_.Calls,
            (Texts{"begin", DiskError(folder_.Path()), "status: Gleaner-Light", "end"}));
  lowSpaceAfter_ = -1;
  names_.Summary = 1000;
  EXPECT_EQ(Generate().Outcome, RunOutcome::NotStarted);
  EXPECT_TRUE(FilesOf().empty());
  EXPECT_TRUE(document_.Brief.ArchivePaths.empty());
  StartOver();
  const std::string removed =
      "error:Brief Not Recorded|Gleaner could not record this run in the "
      "brief, so its archive folder was removed.\n" +
      RunFolder().string();
  document_.Brief.Comments = std::string(2500, 'c');
  const RunReport report = GenerateWithin(2900);
  EXPECT_EQ(report.Outcome, RunOutcome::DiskError);
  EXPECT_EQ(report.SummaryPath, "");
  EXPECT_EQ(host_.Calls,
            (Texts{"begin", "open", "status: Gleaner-Light", "close", removed, "end"}));
  EXPECT_FALSE(std::filesystem::exists(RunFolder()));

  host_.Calls.clear();
  ServePage("/", "<title>Root</title>");
  AddEntry(Address("/"), 1);
  onRequest_ = [this](const std::string&) { std::filesystem::remove(document_.FileName); };
  EXPECT_EQ(Generate().ArchivePath, "");
  EXPECT_EQ(host_.Calls.end()[-2], removed);
  EXPECT_TRUE(host_.Calls.end()[-3].ends_with("news.brf: No such file or directory"));
  EXPECT_FALSE(std::filesystem::exists(RunFolder()));
}

// A file behind a link gets a page that shows or links it; credentials go to the entry's server.
TEST_F(GenerateTest, FilesCredentialsSecurePagesThenEntriesOfEveryKindInTwoRuns) {
  const std::string body = std::string(999, 'z') + '\0';  // ends in a zero byte of its own
  Serve("/pub/data.ZIP", PageAnswer(body, "application/zip"));
  AddEntry(Address("/pub/data.ZIP"), 2, "Data");
  ServePage("/index.htm",
            "<title>I</title><a href=\"big.png\">big</a><a href=\"x.gif\"><img src=\"x.gif\">"
            "</a><a href=\"doc.zip\">doc</a>");
  Serve("/big.png", PageAnswer("PNG", "image/png"));
  Serve("/x.gif", PageAnswer("GIF", "image/gif"));
  Serve("/doc.zip", PageAnswer("ZIP", "application/zip"));
  AddEntry(Address("/index.htm"), 2, "Files");
  LoopbackServer pictures([](const Request&) { return StatusAnswer(401); });
  Serve("/start", RedirectAnswer(302, "/dir/index.htm"));
  ServePage("/dir/index.htm",
            "<title>I</title><a href=\"page.htm\">p</a><a href=\"/start\">s</a>"
            "<img src=\"/own.gif\"><img src=\"" +
                pictures.Address("/p.gif") + "\">");
  Serve("/own.gif", StatusAnswer(401));
  ServePage("/dir/page.htm", "<title>P</title><a href=\"index.htm\">back</a>");
  TWebEntry& entry = AddEntry(Address("/start"), 2, "Moved");
  entry.UserName = "ann";
  entry.Password = "pw";
  settings_.SecurePages = true;
  const TrustedAuthority authority;
  const ServerIdentity identity = authority.Issue({"127.0.0.1"});
  LoopbackServer secure([this](const Request& r) { return AnswerFor(r); }, &identity);
  ServePage("/s/index.htm", "<title>S</title><a href=\"a.htm\">a</a><a href=\"" +
                                Address("/p.htm") + "\">p</a><img src=\"i.gif\">");
  ServePage("/s/a.htm", "<title>A</title>secure");
  Serve("/s/i.gif", PageAnswer(kGif, "image/gif"));
  ServePage("/p.htm", "<title>P</title><a href=\"" + secure.Address("/s/a.htm") + "\">a</a>");
  AddEntry(secure.Address("/s/index.htm"), 2, "Secure");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  ExpectWholeArchive();
  EXPECT_EQ(server_.RequestCount(), 11u);  // own.gif twice, every other file once
  EXPECT_EQ(secure.RequestCount(), 3u);
  EXPECT_EQ(RunFile("GL0.zip"), body);
  ExpectFilesHave(
      {{"Brief0.htm",
        "<font size=4><b>Web Entry: </b><a href=\"GL0.zip\">Data</a></font><br>\r\n"
        "<ul><font size=2><b>Retrieval Depth:</b>2 levels\r\n</font><br></ul>\r\n"},
       {"GL1.htm",
        "<a href=\"GL3.htm\">big</a><a href=\"GL4.htm\"><img src=\"GL0.gif\"></a>"
        "<a href=\"GL5.htm\">doc</a>"},
       {"GL3.htm", "<img src=\"GL1.png\""},
       {"GL4.htm", "<img src=\"GL0.gif\""},
       {"GL5.htm", "<a href=\"GL2.zip\">" + Address("/doc.zip") + "</a>"},
       {"GL8.htm", "<a href=\"GL6.htm\">back</a>"},
       {"GL6.htm", "<a href=\"GL6.htm\">s</a>"},
       {"GL9.htm", "<a href=\"GL11.htm\">a</a><a href=\"GL12.htm\">p</a><img src=\"GL3.gif\">"},
       {"GL12.htm", "<a href=\"GL11.htm\">a</a>"}});
  EXPECT_EQ(host_.Shown[ProgressItem::ImagesLoaded], (Texts{"0", "1", "2", "3", "4", "5"}));
  EXPECT_EQ(host_.Shown[ProgressItem::PagesLoaded].back(), "6");  // files are not pages

  ASSERT_EQ(pictures.RequestCount(), 1u);
  EXPECT_EQ(pictures.Requests()[0].Header("Authorization"), "");
  Texts own;
  for (const Request& request : server_.Requests())
    if (request.Target() == "/own.gif") own.push_back(request.Header("Authorization"));
  EXPECT_EQ(own, (Texts{"", "Basic YW5uOnB3"}));  // ann:pw after the challenge

  // Entries of every kind, and a second run that carries the counters on.
  StartOver();
  ServePage("/", "<title>Root</title>root");
  const std::filesystem::path site = folder_ / "site";
  std::filesystem::create_directories(site / "sub");
  WriteFileBytes(site / "index.htm",
                 "<html>\n\n<title>Local</title><a href=\"sub/page.htm\">p</a></html>");
  WriteFileBytes(site / "sub" / "page.htm", "<title>Sub Page</title>sub");
  AddEntry(Address("/"), 1, "Off").Active = false;
  AddEntry("mailto://ann@site.test", 1, "Write");
  AddEntry("ftp://files.test", 2, "Files");
  AddEntry(Address("/"), 1, "Root");
  AddEntry(FileAddressFromPath(site / "index.htm"), 2, "Local");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  EXPECT_EQ(Count("/"), 1);
  EXPECT_FALSE(Contains(RunFile("Brief0.htm"), "Off"));
  ExpectFilesHave(
      {{"Brief0.htm",
        "9:07:02 AM</font><font size=1><br></font>\r\n</font><font size=1><br>"
        "</font><hr size=3>\r\n<font size=4><b>Web Entry: </b><a href=\"GL0.htm\">Write</a>"
        "</font><br>\r\n<ul><font size=2><b>Retrieval:</b> Top Page, Depth:1 level"
        "\r\n</font><br></ul>\r\n<hr size=1><font size=4><b>Web Entry: </b><a "
        "href=\"GL1.htm\">Files</a></font><br>\r\n<ul><font size=2><b>Retrieval:"
        "</b> Top Page, Depth:2 levels\r\n</font><br></ul>\r\n<hr size=1><font size=4><b>Web "
        "Entry: </b><a href=\"GL2.htm\">Root</a></font><br>\r\n<ul><font size=2><b>"
        "Retrieval:</b> Top Page, Depth:1 level\r\n</font><br></ul>\r\n<hr size=1>"},
       {"GL0.htm", SpecialPageBody(SpecialPage::MailLink, "mailto://ann@site.test/")},
       {"GL1.htm", SpecialPageBody(SpecialPage::UnsupportedProtocol, "ftp://files.test/")},
       {"GL3.htm", "<html>\n\n<title>Local</title><a href=\"GL5.htm\">"},
       {"GL5.htm", "<title>Sub Page</title>sub"}});
  EXPECT_EQ(RunFile("Brief0.cat"),
            "\0010\012Brief0.htm\007GL0.htm\007GL1.htm\007GL2.htm\007GL3.htm"
            "\007GL4.htm\007GL5.htm\0"s);
  ExpectWholeArchive();

  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  EXPECT_EQ(FilesOf(1), (Texts{"Brief1.cat", "Brief1.htm", "GL10.htm", "GL11.htm", "GL6.htm",
                               "GL7.htm", "GL8.htm", "GL9.htm"}));
  EXPECT_EQ(document_.Brief.ArchivePaths, (Texts{"0\\Brief0.htm", "1\\Brief1.htm"}));
}

}  // namespace
}  // namespace gl::test
