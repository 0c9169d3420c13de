#include "generate/page_rewrite.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "generate/generate_fixture.h"
#include "generate/page_clean.h"
#include "generate/page_prepare.h"
#include "generate/run_errors.h"
#include "generate/scan_copy.h"
#include "generate/unfetched_link_page.h"
#include "platform/cancellation.h"

namespace gl::test {
namespace {

constexpr std::string_view kPageAddress = "site.test/dir/index.htm";

using Links = std::vector<std::pair<std::string, int>>;

class RewriteTest : public RunFixture {
 protected:
  void TearDown() override {
    ClearStop();
    ClearSkip();
  }

  PageJob Job(int depth = 3) const {
    PageJob job;
    job.Address = std::string(kPageAddress);
    job.LocalName = "GL99.htm";
    job.Title = "T";
    job.Links = {"Brief0.htm", "", "http://site.test/dir/index.htm", ""};
    job.Depth = depth;
    job.RewriteLinks = true;
    return job;
  }

  // Cleans, prepares and rewrites a page body; returns what was written for it.
  std::string Rewrite(std::string_view body, PageJob job) {
    MemoryStream page = CannedPage(body).Stream;
    CleanPage(page);
    {
      CheckedFile out(output_ / "page.htm");
      job.FrameSet = PreparePage(run_, job, page, out);
      frameSet_ = job.FrameSet;
      const MemoryStream scanCopy = MakeScanCopy(page);
      StripBaseHref(page);
      RewritePage(run_, job, page, scanCopy, out);
      out.Close();
    }
    return ReadFileBytes(output_ / "page.htm");
  }
  std::string Rewrite(std::string_view body) { return Rewrite(body, Job()); }

  Links Filled() {
    Links links;
    for (auto* node = run_.FillingList().First(); node != nullptr; node = node->Next)
      links.emplace_back(node->Text, node->Flag);
    return links;
  }

  // The header a page of this test gets, stamped with the test time.
  std::string Header(std::string_view title, const LinkSet& links, bool frameSet = false) {
    {
      CheckedFile out(output_ / "header.htm");
      run_.WriteHeader(out, title, frameSet, links);
      out.Close();
    }
    return ReadFileBytes(output_ / "header.htm");
  }

  TempFolder output_;
  bool frameSet_ = false;
};

TEST_F(RewriteTest, APageWithoutTagsIsCopiedUnchanged) {
  BeginEntry();
  EXPECT_EQ(Rewrite("just text\r\nand a > sign"), "just text\r\nand a > sign");
  EXPECT_TRUE(RunFiles().empty());
}

TEST_F(RewriteTest, AnchorsBecomePromisedPagesInAnyCaseAndQuoting) {
  BeginEntry();
  const std::string out = Rewrite(
      "<a href=\"a.htm\">A</a> <A HREF='b.htm'>B</A> <a\nhref=c.htm>C</a> <abbr title=a.htm>"
      "<a href=\"a.htm#part\">again</a> <a href=\"A.HTM\">case</a>");
  EXPECT_EQ(out,
            "<a href=\"GL0.htm\">A</a> <A HREF='GL1.htm'>B</A> <a\nhref=GL2.htm>C</a> "
            "<abbr title=a.htm><a href=\"GL0.htm#part\">again</a> <a href=\"GL3.htm\">case</a>");
  EXPECT_EQ(Filled(), (Links{{"!!--site.test/dir/a.htm", 0},
                             {"!!--site.test/dir/b.htm", 0},
                             {"!!--site.test/dir/c.htm", 0},
                             {"!!--site.test/dir/a.htm", 0},
                             {"!!--site.test/dir/A.HTM", 0}}));
  const TPageRecord* record = run_.Pages->Find("!!--site.test/dir/a.htm");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->LocalName, "GL0.htm");
  EXPECT_EQ(record->FlagB, 0);
  EXPECT_EQ(record->Number, 2);
  ASSERT_NE(record->TocNode, nullptr);
  EXPECT_EQ(record->TocNode->Name, "error");
  EXPECT_EQ(run_.Contents->Count, 4);
  EXPECT_TRUE(fetched_.empty());
}

TEST_F(RewriteTest, AFragmentGoesToTheContentsNodeOfANewPage) {
  BeginEntry();
  EXPECT_EQ(Rewrite("<a href=\"x.htm#top\">"), "<a href=\"GL0.htm#top\">");
  EXPECT_EQ(run_.Contents->First()->Fragment, "#top");
}

TEST_F(RewriteTest, LinksOfAGeneratedPageAreLeftAlone) {
  BeginEntry();
  PageJob job = Job();
  job.RewriteLinks = false;
  EXPECT_EQ(Rewrite("<a href=\"http://x/\">x</a>", job), "<a href=\"http://x/\">x</a>");
  EXPECT_TRUE(Filled().empty());
}

TEST_F(RewriteTest, ImagesOffReadNotLoaded) {
  BeginEntry(false);
  EXPECT_EQ(Rewrite("<img src=\"p.gif\"><IMAGE\nSRC=q.jpg><embed src=m.mid>"),
            "<img src=\"/images/NotLoaded\"><IMAGE\nSRC=/images/NotLoaded>"
            "<embed src=/images/NotLoaded>");
  EXPECT_TRUE(fetched_.empty());
}

TEST_F(RewriteTest, AnImageIsFetchedOnceAndStoredWithoutItsHeader) {
  BeginEntry();
  answers_["site.test/dir/p.GIF"] = CannedPage(std::string("GIF89a\0\1", 8), true, true);
  const std::string out =
      Rewrite("<img src=\"p.GIF#x\" alt=a><p><img src='p.GIF'><img src=\"data:image/png,AA\">");
  EXPECT_EQ(out,
            "<img src=\"GL0.gif\" alt=a><p><img src='GL0.gif'><img src=\"data:image/png,AA\">");
  EXPECT_EQ(fetched_, std::vector<std::string>{"site.test/dir/p.GIF"});
  EXPECT_EQ(ReadRunFile("GL0.gif"), std::string("GIF89a\0\1", 8));
  EXPECT_EQ(run_.Counters.Images, 1);
  EXPECT_EQ(CatalogueNames(), std::vector<std::string>{"GL0.gif"});
}

TEST_F(RewriteTest, AFailedDownloadLeavesTheImageOnTheWeb) {
  BeginEntry();
  EXPECT_EQ(Rewrite("<img src=\"gone.gif\">"), "<img src=\"http://site.test/dir/gone.gif\">");
  EXPECT_TRUE(RunFiles().empty());
  EXPECT_EQ(run_.Counters.Images, 0);
}

TEST_F(RewriteTest, TheBaseTagIsBlankedAndLinksResolveAgainstThePage) {
  BeginEntry();
  const std::string address = "href=\"http://elsewhere.test/x/\"";
  EXPECT_EQ(Rewrite("<base " + address + "><a href=\"a.htm\">"),
            "<base " + std::string(address.size(), ' ') + "><a href=\"GL0.htm\">");
  EXPECT_EQ(Filled(), (Links{{"!!--site.test/dir/a.htm", 0}}));
}

TEST_F(RewriteTest, AFrameSetGetsANavigationRowAndItsFramesAreFollowedAsFrames) {
  BeginEntry();
  const std::string frameSet = "<FRAMESET cols=\"50%,*\">";
  const std::string out =
      Rewrite("<html>" + frameSet + "<frame src=\"l.htm\"><frame\tsrc=r.htm></frameset></html>");
  EXPECT_TRUE(frameSet_);
  EXPECT_EQ(out,
            "<frameset rows=\"36,*\"><frame src=\"GL0.htm\" marginwidth=\"1\" "
            "marginheight=\"1\" scrolling=\"no\" resize>" +
                frameSet + "<html>" + std::string(frameSet.size(), ' ') +
                "<frame src=\"GL1.htm\"><frame\tsrc=GL2.htm></frameset></html>");
  EXPECT_EQ(Filled(), (Links{{"!!--site.test/dir/l.htm", 1}, {"!!--site.test/dir/r.htm", 1}}));
  EXPECT_EQ(run_.Pages->Find("!!--site.test/dir/l.htm")->FlagC, 1);
  EXPECT_EQ(ReadRunFile("GL0.htm"),
            Header("T", {"Brief0.htm", "", "http://site.test/dir/index.htm", "GL99.htm"}, true));
  EXPECT_EQ(CatalogueNames(), std::vector<std::string>{"GL0.htm"});
}

TEST_F(RewriteTest, AFrameSetInsideAFrameIsLeftAsItStands) {
  BeginEntry();
  PageJob job = Job();
  job.Frame = true;
  EXPECT_EQ(Rewrite("<frameset rows=1><frame src=a.htm></frameset>", job),
            "<frameset rows=1><frame src=GL0.htm></frameset>");
  EXPECT_TRUE(frameSet_);
  EXPECT_EQ(Filled(), (Links{{"!!--site.test/dir/a.htm", 1}}));
}

TEST_F(RewriteTest, NoFramesPartsGetTheNavigationBarAndTopWindowLinks) {
  BeginEntry();
  const std::string out =
      Rewrite("<frameset><frame src=f.htm><NOFRAMES><a href=n.htm>n</a></noframes></frameset>");
  const LinkSet links{"Brief0.htm", "", "http://site.test/dir/index.htm", ""};
  std::string footer;
  {
    CheckedFile file(output_ / "footer.htm");
    PrintBriefFooter(file, links);
    file.Close();
    footer = ReadFileBytes(output_ / "footer.htm");
  }
  EXPECT_NE(out.find("<frame src=GL1.htm><NOFRAMES>" + Header("T", links) +
                     "<a href=GL2.htm>n</a>" + footer + "</noframes>"),
            std::string::npos);
  EXPECT_EQ(Filled(), (Links{{"!!--site.test/dir/f.htm", 1}, {"site.test/dir/n.htm", 0}}));
}

TEST_F(RewriteTest, APageStoredThroughOrdinaryLinksServesATopWindowLink) {
  BeginEntry();
  run_.Pages->Add("!!--site.test/dir/a.htm", "GL50.htm", 0, 2, 1, nullptr, 0);
  run_.Pages->Add("!!--site.test/dir/f.htm", "GL51.htm", 0, 2, 1, nullptr, 1);
  EXPECT_EQ(Rewrite("<a href=a.htm target=_top><a href=f.htm target=_top>"),
            "<a href=GL50.htm target=_top><a href=GL0.htm target=_top>");
  EXPECT_EQ(Filled(), (Links{{"!!--site.test/dir/a.htm", 0}, {"site.test/dir/f.htm", 0}}));
}

TEST_F(RewriteTest, NewWindowTargetsAreTopWindowLinks) {
  BeginEntry();
  EXPECT_EQ(Rewrite("<a target=\"_TOP\" href=a.htm><a href=b.htm target=_blank><a href=c.htm "
                    "target=main>"),
            "<a target=\"_TOP\" href=GL0.htm><a href=GL1.htm target=_blank><a href=GL2.htm "
            "target=main>");
  EXPECT_EQ(Filled(), (Links{{"site.test/dir/a.htm", 0},
                             {"site.test/dir/b.htm", 0},
                             {"!!--site.test/dir/c.htm", 0}}));
}

TEST_F(RewriteTest, StoredPagesServeLinksInEitherRole) {
  BeginEntry();
  // The entry's top page is known by its bare address; an ordinary link back to it is served.
  run_.Pages->Add("site.test/dir/index.htm", "GL50.htm", 0, 3, 1, nullptr, 0);
  EXPECT_EQ(Rewrite("<a href=\"index.htm\"><a href=\"#sec\"><a href=\"./\">"),
            "<a href=\"GL50.htm\"><a href=\"GL50.htm#sec\"><a href=\"GL0.htm\">");
  EXPECT_EQ(Filled(), (Links{{"site.test/dir/index.htm", 0},
                             {"site.test/dir/index.htm", 0},
                             {"!!--site.test/dir/", 0}}));
}

TEST_F(RewriteTest, AtTheLastLevelLinksLeadToSpiderLimitPages) {
  BeginEntry();
  run_.Pages->Add("!!--site.test/dir/stored.htm", "GL51.htm", 0, 2, 1, nullptr, 0);
  const std::string out = Rewrite(
      "<a href=far.htm><a href=\"far.htm#x\"><a href=stored.htm><a href=#own>"
      "<a href=\"INDEX.HTM#own\">",
      Job(1));
  EXPECT_EQ(out,
            "<a href=GL0.htm><a href=\"GL0.htm#x\"><a href=GL51.htm><a href=GL99.htm#own>"
            "<a href=\"GL99.htm#own\">");
  EXPECT_TRUE(Filled().empty());
  const std::string limit = ReadRunFile("GL0.htm");
  EXPECT_NE(limit.find(SpecialPageBody(SpecialPage::SpiderLimit, "http://site.test/dir/far.htm")),
            std::string::npos);
  EXPECT_EQ(RunFiles(), std::vector<std::string>{"GL0.htm"});
}

TEST_F(RewriteTest, MailAndOtherSchemesGetSpecialPagesOnce) {
  BeginEntry();
  const std::string out = Rewrite(
      "<a href=\"mailto:ann@site.test\">m</a><a href=\"https://secure.test/\">s</a>"
      "<a href=\"mailto:ann@site.test\">again</a>");
  EXPECT_EQ(out, "<a href=\"GL0.htm\">m</a><a href=\"GL1.htm\">s</a><a href=\"GL0.htm\">again</a>");
  EXPECT_NE(
      ReadRunFile("GL0.htm").find(SpecialPageBody(SpecialPage::MailLink, "mailto:ann@site.test")),
      std::string::npos);
  EXPECT_NE(ReadRunFile("GL1.htm").find(
                SpecialPageBody(SpecialPage::UnsupportedProtocol, "https://secure.test/")),
            std::string::npos);
  EXPECT_TRUE(Filled().empty());
  EXPECT_TRUE(fetched_.empty());
}

TEST_F(RewriteTest, AfterStopTheRestIsCopiedWithAbsoluteLinks) {
  BeginEntry();
  answers_["site.test/dir/p.gif"] = CannedPage("GIF", true, true);
  RequestStop();
  EXPECT_EQ(Rewrite("<a href=\"../a.htm\">a</a><img src=p.gif><a href=\"mailto:x@y\">"),
            "<a href=\"http://site.test/a.htm\">a</a><img src=http://site.test/dir/p.gif>"
            "<a href=\"mailto:x@y\">");
  EXPECT_TRUE(fetched_.empty());
  EXPECT_TRUE(Filled().empty());
  EXPECT_TRUE(RunFiles().empty());
}

TEST_F(RewriteTest, ImageMapsKeepTheirServerAndAlwaysLoadTheImage) {
  BeginEntry(false);
  answers_["site.test/dir/m.gif"] = CannedPage("GIF", true, true);
  EXPECT_EQ(Rewrite("<a href=\"map.cgi\"><img src=\"m.gif\" ISMAP></a><a href=pic.JPG>p</a>"),
            "<a href=\"http://site.test/dir/map.cgi\"><img src=\"GL0.gif\" ISMAP></a>"
            "<a href=http://site.test/dir/pic.JPG>p</a>");
  EXPECT_TRUE(Filled().empty());
}

TEST_F(RewriteTest, BodyTagsAndScriptsGoFirst) {
  BeginEntry();
  answers_["site.test/img/bg.gif"] = CannedPage("BG", true, true);
  const std::string script = "<script>document.write('<a href=x.htm>');</script>";
  const std::string body = "<BODY background=\"../img/bg.gif\" text=red>";
  const std::string out = Rewrite("<html>" + script + body + "<a href=y.htm>y</a></body></html>");
  EXPECT_EQ(out, "<BODY background=\"GL0.gif\" text=red>" + script + "<html>" +
                     std::string(script.size() + body.size(), ' ') +
                     "<a href=GL0.htm>y</a></body></html>");
  EXPECT_EQ(ReadRunFile("GL0.gif"), "BG");
  EXPECT_EQ(Filled(), (Links{{"!!--site.test/dir/y.htm", 0}}));
}

TEST_F(RewriteTest, ABodyBackgroundWithImagesOff) {
  BeginEntry(false);
  EXPECT_EQ(Rewrite("<body background=bg.gif>x"),
            "<body background=/images/NotLoaded>" + std::string(24, ' ') + "x");
}

TEST_F(RewriteTest, ATagAcrossWhatWouldBeABlockBoundaryIsRewritten) {
  BeginEntry();
  const std::string lead(4995, 'x');
  EXPECT_EQ(Rewrite(lead + "<a href=\"a.htm\">"), lead + "<a href=\"GL0.htm\">");
}

TEST_F(RewriteTest, LongTagsAreReadOnlyAsFarAsTheTagBuffer) {
  BeginEntry();
  const std::string padding(6000, 'p');
  // The address is inside the buffer: rewritten, the rest of the tag copied as it was.
  EXPECT_EQ(Rewrite("<a href=a.htm title=\"" + padding + "\">"),
            "<a href=GL0.htm title=\"" + padding + "\">");
  // The address lies beyond it: the tag stays as it is.
  EXPECT_EQ(Rewrite("<a title=\"" + padding + "\" href=b.htm>"),
            "<a title=\"" + padding + "\" href=b.htm>");
}

TEST_F(RewriteTest, FreeSpaceAtTheMinimumEndsThePass) {
  BeginEntry();
  freeSpace_ = settings_.DiskBuffer;
  EXPECT_THROW(Rewrite("<a href=a.htm>"), EInOutError);
  EXPECT_THROW(Rewrite("no tags at all"), EInOutError);
  freeSpace_ = settings_.DiskBuffer + 1;
  EXPECT_NO_THROW(Rewrite("<a href=a.htm>"));
}

}  // namespace
}  // namespace gl::test
