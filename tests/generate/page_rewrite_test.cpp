#include "generate/internal/page_rewrite.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "generate/generate_fixture.h"
#include "generate/internal/unfetched_link_page.h"
#include "platform/cancellation.h"

namespace gl::test {
namespace {

const LinkSet kLinks{"Brief0.htm", "", "http://site.test/dir/index.htm", ""};

class RewriteTest : public RunFixture {
 protected:
  std::string Rewrite(std::string_view body, PageJob job) {
    MemoryStream page = CannedPage(body).Stream;
    return Written([&](CheckedFile& out) { frameSet_ = WriteFetchedPage(run_, job, page, out); });
  }
  std::string Rewrite(std::string_view body) { return Rewrite(body, standalone_.Job(3)); }

  // The links waiting for pages, frames marked.
  Texts Filled() {
    Texts links;
    const TLList& list = run_.FillingList();
    for (std::size_t at = 0; at < list.Count(); ++at)
      links.push_back(run_.QueuedLink(list, list.At(at)) + (list.At(at).Flag != 0 ? " frame" : ""));
    return links;
  }

  bool frameSet_ = false;
};

// A tag is read only as far as the tag buffer; new-window targets are top-window links.
TEST_F(RewriteTest, AnchorsBecomePromisedPages) {
  const std::string lead(4995, 'x');
  const std::string padding(6000, 'p');
  const std::pair<std::string, std::string> rows[] = {
      {"just text\r\nand a > sign", "just text\r\nand a > sign"},
      {lead + "<a href=\"a.htm\">", lead + "<a href=\"GL0.htm\">"},
      {"<a href=a.htm title=\"" + padding + "\">", "<a href=GL0.htm title=\"" + padding + "\">"},
      {"<a title=\"" + padding + "\" href=b.htm>", "<a title=\"" + padding + "\" href=b.htm>"},
  };
  for (const auto& [body, expected] : rows) {
    SCOPED_TRACE(body.substr(0, 40));
    EXPECT_EQ(Rewrite(body), expected);
  }
  EXPECT_EQ(Rewrite("<a href=\"a.htm\">A</a> <A HREF='b.htm'>B</A> <a\nhref=c.htm>C</a> "
                    "<abbr title=a.htm><a href=\"a.htm#part\">again</a> <a href=\"A.HTM\">case</a>"
                    "<a href=\" Desktop Integration.htm \"><a href=my page.htm><a target=\"_TOP\" "
                    "href=t.htm><a href=u.htm target=_blank><a href=v.htm target=main>"
                    "<a href=\"x.htm#top\"><a href=\"mailto:ann@site.test\">m</a>"
                    "<a href=\"https://secure.test/\">s</a><a href=\"mailto:ann@site.test\">m</a>"),
            "<a href=\"GL0.htm\">A</a> <A HREF='GL1.htm'>B</A> <a\nhref=GL2.htm>C</a> "
            "<abbr title=a.htm><a href=\"GL0.htm#part\">again</a> <a href=\"GL3.htm\">case</a>"
            "<a href=\"GL4.htm\"><a href=GL5.htm page.htm><a target=\"_TOP\" "
            "href=GL6.htm><a href=GL7.htm target=_blank><a href=GL8.htm target=main>"
            "<a href=\"GL9.htm#top\"><a href=\"GL10.htm\">m</a><a href=\"GL11.htm\">s</a>"
            "<a href=\"GL10.htm\">m</a>");
  EXPECT_EQ(Filled(),
            (Texts{"!!--site.test/dir/a.htm", "!!--site.test/dir/b.htm", "!!--site.test/dir/c.htm",
                   "!!--site.test/dir/A.HTM", "!!--site.test/dir/Desktop Integration.htm",
                   "!!--site.test/dir/my", "site.test/dir/t.htm", "site.test/dir/u.htm",
                   "!!--site.test/dir/v.htm", "!!--site.test/dir/x.htm"}));
  const TPageRecord* record = run_.Pages().Find("!!--site.test/dir/a.htm");
  EXPECT_TRUE(record && !record->Stored && record->RemainingDepth() == 2);
  const TOCList& tree = run_.Contents();
  std::vector<std::uint32_t> nodes;
  for (std::uint32_t node = tree.First(); node != 0; node = tree.Next(node))
    nodes.push_back(node);
  ASSERT_EQ(nodes.size(), 10u);
  EXPECT_EQ(tree.Fragment(nodes.back()), "#top");
  EXPECT_TRUE(Contains(ReadRunFile("GL10.htm"),
                       SpecialPageBody(SpecialPage::MailLink, "mailto:ann@site.test")));
  EXPECT_TRUE(Contains(ReadRunFile("GL11.htm"),
                       SpecialPageBody(SpecialPage::UnsupportedProtocol, "https://secure.test/")));
  EXPECT_TRUE(fetched_.empty());
}

TEST_F(RewriteTest, AFrameSetGetsANavigationRowAndItsFramesAreFollowedAsFrames) {
  const std::string frameSet = "<FRAMESET cols=\"50%,*\">";
  EXPECT_EQ(Rewrite("<html>" + frameSet +
                    "<frame src=\"l.htm\"><frame\tsrc=r.htm><NOFRAMES><a href=n.htm>n</a>"
                    "</noframes></frameset>"),
            "<frameset rows=\"36,*\"><frame src=\"GL0.htm\" marginwidth=\"1\" "
            "marginheight=\"1\" scrolling=\"no\" resize>" +
                frameSet + "<html>" + std::string(frameSet.size(), ' ') +
                "<frame src=\"GL1.htm\"><frame\tsrc=GL2.htm><NOFRAMES>" + Header("T", kLinks) +
                "<a href=GL3.htm>n</a>" + Footer(kLinks) + "</noframes></frameset>");
  EXPECT_TRUE(frameSet_);
  EXPECT_EQ(Filled(), (Texts{"!!--site.test/dir/l.htm frame", "!!--site.test/dir/r.htm frame",
                             "site.test/dir/n.htm"}));
  EXPECT_TRUE(run_.Pages().Find("!!--site.test/dir/l.htm")->FrameRole);
  EXPECT_EQ(ReadRunFile("GL0.htm"),
            Header("T", {"Brief0.htm", "", "http://site.test/dir/index.htm", "GL99.htm"}, true));
  EXPECT_EQ(CatalogueNames(), Texts{"GL0.htm"});
  // A frame keeps its frame set; a generated page keeps its links.
  PageJob job = standalone_.Job(3);
  job.Frame = true;
  EXPECT_EQ(Rewrite("<frameset rows=1><frame src=a.htm></frameset>", job),
            "<frameset rows=1><frame src=GL4.htm></frameset>");
  EXPECT_TRUE(frameSet_);
  EXPECT_EQ(Filled().back(), "!!--site.test/dir/a.htm frame");
  job = standalone_.Job(3);
  job.RewriteLinks = false;
  EXPECT_EQ(Rewrite("<a href=\"http://x/\">x</a>", job), "<a href=\"http://x/\">x</a>");
  EXPECT_EQ(Filled().size(), 4u);
}

TEST_F(RewriteTest, StoredPagesTheLastLevelAndImagesOff) {
  // A top-window link is served by a page stored through ordinary links, but not by a frame.
  run_.Pages().AddStored("!!--site.test/dir/a.htm", "GL50.htm", 2);
  run_.Pages().AddStored("!!--site.test/dir/f.htm", "GL51.htm", 2, 0, true);
  run_.Pages().AddStored("site.test/dir/index.htm", "GL52.htm", 3);
  EXPECT_EQ(Rewrite("<a href=a.htm target=_top><a href=f.htm target=_top>"
                    "<a href=\"index.htm\"><a href=\"#sec\"><a href=\"./\">"),
            "<a href=GL50.htm target=_top><a href=GL0.htm target=_top>"
            "<a href=\"GL52.htm\"><a href=\"GL52.htm#sec\"><a href=\"GL1.htm\">");
  EXPECT_EQ(Filled(), (Texts{"site.test/dir/f.htm", "!!--site.test/dir/"}));

  // At the last level links lead to pages that say so, and no more are promised.
  EXPECT_EQ(Rewrite("<a href=far.htm><a href=\"far.htm#x\"><a href=a.htm><a href=#own>"
                    "<a href=\"INDEX.HTM#own\">",
                    standalone_.Job(1)),
            "<a href=GL2.htm><a href=\"GL2.htm#x\"><a href=GL50.htm><a href=GL99.htm#own>"
            "<a href=\"GL99.htm#own\">");
  EXPECT_EQ(Filled().size(), 2u);
  EXPECT_TRUE(Contains(ReadRunFile("GL2.htm"),
                       SpecialPageBody(SpecialPage::SpiderLimit, "http://site.test/dir/far.htm")));
  EXPECT_EQ(SortedNames(folder_.Path()), (Texts{"Brief0.cat", "GL2.htm"}));

  // With images off pictures read "not loaded", but an image map loads its image.
  standalone_.BeginEntry(false, 3);
  answers_["site.test/dir/m.gif"] = CannedPage("GIF", true, true);
  EXPECT_EQ(Rewrite("<body background=bg.gif><img src=\"p.gif\"><IMAGE\nSRC=q.jpg><embed src=m.mid>"
                    "<a href=\"map.cgi\"><img src=\"m.gif\" ISMAP></a><a href=pic.JPG>p</a>"),
            "<body background=/images/NotLoaded>" + std::string(24, ' ') +
                "<img src=\"/images/NotLoaded\"><IMAGE\nSRC=/images/NotLoaded>"
                "<embed src=/images/NotLoaded><a href=\"http://site.test/dir/map.cgi\">"
                "<img src=\"GL0.gif\" ISMAP></a><a href=http://site.test/dir/pic.JPG>p</a>");
  EXPECT_EQ(fetched_, Texts{"site.test/dir/m.gif"});
  EXPECT_TRUE(Filled().empty());
}

// Body tags and scripts go first; an image is fetched once and stored without its header.
TEST_F(RewriteTest, BodyTagsScriptsAndImages) {
  answers_["site.test/img/bg.gif"] = CannedPage("BG", true, true);
  answers_["site.test/dir/p.GIF"] = CannedPage(std::string("GIF89a\0\1", 8), true, true);
  const std::string script = "<script>document.write('<a href=x.htm>');</script>";
  const std::string body = "<BODY background=\"../img/bg.gif\" text=red>";
  EXPECT_EQ(Rewrite("<html>" + script + body + "<a href=y.htm>y</a><img src=\"p.GIF#x\" alt=a>" +
                    "<p><img src='p.GIF'><img src=\"data:image/png,AA\"><img src=\"gone.gif\">"),
            "<BODY background=\"GL0.gif\" text=red>" + script + "<html>" +
                std::string(script.size() + body.size(), ' ') +
                "<a href=GL0.htm>y</a><img src=\"GL1.gif\" alt=a><p><img src='GL1.gif'>"
                "<img src=\"data:image/png,AA\"><img src=\"http://site.test/dir/gone.gif\">");
  EXPECT_EQ(fetched_,
            (Texts{"site.test/img/bg.gif", "site.test/dir/p.GIF", "site.test/dir/gone.gif"}));
  EXPECT_EQ(ReadRunFile("GL0.gif"), "BG");
  EXPECT_EQ(ReadRunFile("GL1.gif"), std::string("GIF89a\0\1", 8));
  EXPECT_EQ(Filled(), (Texts{"!!--site.test/dir/y.htm"}));
  // A failed download stays on the web and leaves no file.
  EXPECT_EQ(CatalogueNames(), (Texts{"GL0.gif", "GL1.gif"}));
  EXPECT_EQ(SortedNames(folder_.Path()), (Texts{"Brief0.cat", "GL0.gif", "GL1.gif"}));
  // After Stop the rest is copied with absolute links.
  RequestStop();
  EXPECT_EQ(Rewrite("<a href=\"../a.htm\">a</a><img src=p.GIF><a href=\"mailto:x@y\">"),
            "<a href=\"http://site.test/a.htm\">a</a><img src=http://site.test/dir/p.GIF>"
            "<a href=\"mailto:x@y\">");
  EXPECT_EQ(fetched_.size(), 3u);
  EXPECT_EQ(Filled().size(), 1u);
  EXPECT_EQ(SortedNames(folder_.Path()).size(), 3u);
}

}  // namespace
}  // namespace gl::test
