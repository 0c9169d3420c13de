#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generate/generate_fixture.h"
#include "generate/internal/srcset.h"
#include "generate/internal/style_scan.h"
#include "platform/cancellation.h"

namespace gl::test {
namespace {

Texts ScannedAddresses(std::string_view css) {
  Texts found;
  for (const StyleReference& reference : ScanStyleSheet(css))
    found.push_back((reference.Sheet ? "sheet:" : "") +
                    std::string(css.substr(reference.From, reference.To - reference.From)));
  return found;
}

TEST(StyleScan, FindsUrlsAndImportsButNotInCommentsOrStringsAndSplitsSrcsets) {
  const std::pair<std::string_view, Texts> rows[] = {
      {"a{background:URL( 'y z.png' ) ; b:url(\"q.gif\")}", {"y z.png", "q.gif"}},
      {"@import \"s.css\" screen; @IMPORT url(t.css); @import 'u.css'",
       {"sheet:s.css", "sheet:t.css", "sheet:u.css"}},
      {"/* url(no.png) */ a{content:\"url(no.png)\"} b{x:myurl(no.png)} c{x:url(yes.png)}",
       {"yes.png"}},
      {"a{x:url(a\\)b.png)} b{x:url()} c{x:url(\"\")}", {"a\\)b.png"}},
      {"a{x:url(cut.png", {"cut.png"}},
      {"a{x:url('cut.png", {"cut.png"}},
      {"/* unterminated url(x.png)", {}},
      {"@import", {}},
  };
  for (const auto& [css, expected] : rows) {
    SCOPED_TRACE(css);
    EXPECT_EQ(ScannedAddresses(css), expected);
  }
  // Candidates of a srcset are split as browsers do.
  const std::pair<std::string_view, Texts> candidates[] = {
      {" a.png 1x, b.png 2x ,c.png", {"a.png", "b.png", "c.png"}},
      {"a.png 100w,b.png 200w", {"a.png", "b.png"}},
      {"a.png,, b.png", {"a.png", "b.png"}},
      {"data:image/png;base64,AA== 1x, c.png 2x", {"data:image/png;base64,AA==", "c.png"}},
      {"a.png (odd, descriptor), b.png", {"a.png", "b.png"}},
      {" , ,", {}},
  };
  for (const auto& [value, expected] : candidates) {
    SCOPED_TRACE(value);
    Texts found;
    for (const SrcsetCandidate& candidate : SrcsetCandidates(value))
      found.emplace_back(value.substr(candidate.From, candidate.To - candidate.From));
    EXPECT_EQ(found, expected);
  }
}

// Sheets come whatever the options; what they exclude, and all after Stop, is read from the web.
TEST_F(GenerateTest, PageStylesSheetsPicturesAndFontsAreStoredOnceOrLeftOnTheWeb) {
  settings_.PageStyles = true;
  ServePage("/index.htm",
            "<html><head><title>Styled</title>\n"
            "<link rel=\"stylesheet\" href=\"css/site.css\"><link rel=icon href=\"/favicon.ico\">\n"
            "<style>@import \"css/print.css\"; body { background: url('img/bg.png') }</style>\n"
            "</head><body>\n<h1 style=\"background:url(img/dot.png)\">Styled</h1>\n"
            "<img srcset=\"img/a.png 1x, img/a2.png 2x\" src=\"img/a.png\" alt=a>\n"
            "<picture><source srcset=\"img/wide.png\" media=\"(min-width: 600px)\">"
            "<img src=\"img/a.png\"></picture>\n"
            "<object data=\"img/fig.svg\" type=\"image/svg+xml\"></object>\n"
            "<a href=\"page.htm\" style=\"color:red\">Page</a>\n</body></html>");
  ServePage("/page.htm",
            "<title>Page</title><body style=\"background:url(img/bg.png)\">"
            "<link rel=\"stylesheet\" href=\"css/site.css\">"
            "<p style=\"background:url(img/dot.png)\">p</p>");
  Serve("/css/site.css",
        PageAnswer("@import url(\"base.css\");\n"
                   "@font-face { font-family: F; src: url(../fonts/f.woff2) format(\"woff2\") }\n"
                   "h1 { background: url(../img/a.png#x) }\n"
                   ".x { background: url(file:///etc/passwd) }\n"
                   "/* url(hidden.png) */ .d { background: url(data:image/png;base64,AA==) }\n",
                   "text/css"));
  Serve("/css/base.css", PageAnswer("@import \"site.css\";\np { color: red }", "text/css"));
  Serve("/css/print.css", PageAnswer("body { background: url(../img/bg.png) }", "text/css"));
  for (const char* picture :
       {"/img/bg.png", "/img/dot.png", "/img/a.png", "/img/a2.png", "/img/wide.png"})
    Serve(picture, PageAnswer(std::string("PNG ") + picture, "image/png"));
  Serve("/img/fig.svg", PageAnswer("<svg/>", "image/svg+xml"));
  Serve("/favicon.ico", PageAnswer("ICO", "image/x-icon"));
  Serve("/fonts/f.woff2", PageAnswer("wOF2", "font/woff2"));
  AddEntry(Address("/index.htm"), 2, "Styled");
  EXPECT_EQ(Generate().Outcome, RunOutcome::Completed);
  EXPECT_EQ(server_.RequestCount(), 13u);  // every file once
  EXPECT_EQ(RunFile("GL0.css"),
            "@import url(\"GL1.css\");\n"
            "@font-face { font-family: F; src: url(GL2.wof) format(\"woff2\") }\n"
            "h1 { background: url(GL3.png#x) }\n"
            ".x { background: url(file:///etc/passwd) }\n"
            "/* url(hidden.png) */ .d { background: url(data:image/png;base64,AA==) }\n");
  EXPECT_EQ(RunFile("GL1.css"), "@import \"GL0.css\";\np { color: red }");
  EXPECT_EQ(RunFile("GL5.css"), "body { background: url(GL6.png) }");
  EXPECT_TRUE(Contains(
      RunFile("GL0.htm"),
      "<link rel=\"stylesheet\" href=\"GL0.css\"><link rel=icon href=\"GL4.ico\">\n"
      "<style>@import \"GL5.css\"; body { background: url('GL6.png') }</style>\n"
      "</head>      \n<h1 style=\"background:url(GL7.png)\">Styled</h1>\n"
      "<img srcset=\"GL3.png 1x, GL8.png 2x\" src=\"GL3.png\" alt=a>\n"
      "<picture><source srcset=\"GL9.png\" media=\"(min-width: 600px)\"><img src=\"GL3.png\">"
      "</picture>\n<object data=\"GL10.svg\" type=\"image/svg+xml\"></object>\n"
      "<a href=\"GL2.htm\" style=\"color:red\">Page</a>\n"));
  EXPECT_TRUE(RunFile("GL2.htm").starts_with("<body style=\"background:url(GL6.png)\">"));
  EXPECT_TRUE(Contains(RunFile("GL2.htm"),
                       "<link rel=\"stylesheet\" href=\"GL0.css\">"
                       "<p style=\"background:url(GL7.png)\">p</p>"));
  EXPECT_FALSE(Contains(RunFile("GL1.htm"), ".css"));
  EXPECT_EQ(host_.Shown[ProgressItem::ImagesLoaded].back(), "11");
  ExpectWholeArchive();

  StartOver();
  TWebEntry& entry = AddEntry(Address("/index.htm"), 1, "Plain");
  entry.Images = entry.OtherFiles = false;
  onRequest_ = [](const std::string& path) {
    if (path == "/css/base.css") RequestStop();
  };
  EXPECT_EQ(Generate().Outcome, RunOutcome::Aborted);
  EXPECT_EQ(server_.RequestCount(), 13u + 3u);  // the page and the two sheets before Stop
  const std::string site = Address("");
  ExpectFilesHave({{"GL0.css", "@import url(\"" + site + "/css/base.css\");\n"},
                   {"GL0.css", "src: url(" + site + "/fonts/f.woff2) format"},
                   {"GL0.css", "h1 { background: url(" + site + "/img/a.png#x) }"},
                   {"GL0.htm", "<style>@import \"" + site + "/css/print.css\";"},
                   {"GL0.htm", "<img srcset=\"" + site + "/img/a.png 1x, " + site +
                                   "/img/a2.png 2x\" src=\"/images/NotLoaded\""}});
  ExpectWholeArchive();
}

}  // namespace
}  // namespace gl::test
