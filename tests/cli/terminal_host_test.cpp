#include "cli/terminal_host.h"

#include <gtest/gtest.h>

#include <sstream>

namespace gl::cli {
namespace {

// What a run reports for a brief with one entry of two pages.
void PlaySmallRun(TerminalHost& host) {
  host.BeginRun();
  host.UpdateItem(ProgressItem::BriefName, "Morning news");
  host.OpenProgressWindow();
  host.UpdateItem(ProgressItem::CurrDepth, "1 of 2");
  host.UpdateItem(ProgressItem::CurrEntry, "Front page");
  host.UpdateItem(ProgressItem::CurrAddr, "http://127.0.0.1/index.htm");
  host.SetStatusText(" Contacting host...");
  host.SetProgress(50);
  host.UpdateItem(ProgressItem::PagesLoaded, "1");
  host.UpdateItem(ProgressItem::BytesLoaded, "3");
  host.UpdateItem(ProgressItem::CurrDepth, "2 of 2");
  host.UpdateItem(ProgressItem::CurrAddr, "http://127.0.0.1/a.htm");
  host.UpdateItem(ProgressItem::PagesLoaded, "2");
  host.UpdateItem(ProgressItem::ImagesLoaded, "1");
  host.UpdateItem(ProgressItem::BytesLoaded, "7");
  host.CloseProgressWindow();
  host.EndRun();
}

TEST(TerminalHostTest, PlainModeWritesOneLinePerEntryAndPage) {
  std::ostringstream out;
  std::ostringstream err;
  TerminalHost host(out, err, DisplayMode::Lines);
  PlaySmallRun(host);
  EXPECT_EQ(out.str(),
            "Brief: Morning news\n"
            "Entry: Front page\n"
            "  [1 of 2] http://127.0.0.1/index.htm\n"
            "  [2 of 2] http://127.0.0.1/a.htm\n"
            "Loaded: 2 pages, 1 images and files, 7 KB\n");
  EXPECT_EQ(err.str(), "");
}

TEST(TerminalHostTest, PlainModeNeverWritesControlCodesOrRepeatsTheBrief) {
  std::ostringstream out;
  std::ostringstream err;
  TerminalHost host(out, err, DisplayMode::Lines);
  host.UpdateItem(ProgressItem::BriefName, "News");
  host.OpenProgressWindow();
  host.UpdateItem(ProgressItem::CurrEntry, "\x1b]0;owned\x07 Title\r\nsecond line");
  // A skipped entry closes and reopens the window with the brief name again.
  host.CloseProgressWindow();
  host.UpdateItem(ProgressItem::BriefName, "News");
  host.OpenProgressWindow();
  host.UpdateItem(ProgressItem::CurrEntry, "Next");
  EXPECT_EQ(out.str(),
            "Brief: News\n"
            "Entry: \\x1B]0;owned\\x07 Title\n"
            "Entry: Next\n");
}

TEST(TerminalHostTest, QuietModeWritesNothingButErrors) {
  std::ostringstream out;
  std::ostringstream err;
  TerminalHost host(out, err, DisplayMode::Quiet);
  PlaySmallRun(host);
  host.ShowError("Disk Error", "Your disk appears to be full.");
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "Disk Error: Your disk appears to be full.\n");
}

class LiveTerminalHostTest : public ::testing::Test {
 protected:
  std::ostringstream out_;
  std::ostringstream err_;
  int columns_ = 60;
  TerminalHost host_{out_, err_, DisplayMode::Live, [this] { return columns_; }};

  std::string TakeOutput() {
    std::string text = out_.str();
    out_.str({});
    return text;
  }
};

TEST_F(LiveTerminalHostTest, DrawsTheBlockOnceOpenThenRedrawsItInPlace) {
  host_.UpdateItem(ProgressItem::BriefName, "News");
  EXPECT_EQ(TakeOutput(), "");  // no window yet

  host_.OpenProgressWindow();
  EXPECT_EQ(TakeOutput(),
            "\rBrief: News\x1b[K\n"
            "\rEntry: \x1b[K\n"
            "\rPage:  \x1b[K\n"
            "\rDepth    Pages 0   Images 0   KB 0\x1b[K\n"
            "\r[------------------------------] 0%\x1b[K\n");

  host_.UpdateItem(ProgressItem::PagesLoaded, "1");
  EXPECT_EQ(TakeOutput(),
            "\x1b[5A"
            "\rBrief: News\x1b[K\n"
            "\rEntry: \x1b[K\n"
            "\rPage:  \x1b[K\n"
            "\rDepth    Pages 1   Images 0   KB 0\x1b[K\n"
            "\r[------------------------------] 0%\x1b[K\n");

  host_.UpdateItem(ProgressItem::PagesLoaded, "1");
  EXPECT_EQ(TakeOutput(), "");  // nothing changed, nothing drawn
}

TEST_F(LiveTerminalHostTest, FollowsTheTerminalWidth) {
  host_.UpdateItem(ProgressItem::CurrAddr, "http://127.0.0.1/" + std::string(100, 'p'));
  host_.OpenProgressWindow();
  EXPECT_NE(TakeOutput().find("\rPage:  http://127.0.0.1/" + std::string(32, 'p') + "...\x1b[K\n"),
            std::string::npos);
  columns_ = 30;
  host_.SetProgress(10);
  EXPECT_NE(TakeOutput().find("\rPage:  http://127.0.0.1/pp...\x1b[K\n"), std::string::npos);
}

TEST_F(LiveTerminalHostTest, AnErrorStartsAFreshBlockBelowIt) {
  host_.OpenProgressWindow();
  TakeOutput();
  host_.ShowError("Disk Error", "Your disk appears to be full.");
  host_.UpdateItem(ProgressItem::PagesLoaded, "3");
  const std::string redraw = TakeOutput();
  EXPECT_EQ(redraw.find("\x1b[5A"), std::string::npos);
  EXPECT_NE(redraw.find("Pages 3"), std::string::npos);
  EXPECT_EQ(err_.str(), "Disk Error: Your disk appears to be full.\n");
}

TEST_F(LiveTerminalHostTest, AReopenedWindowKeepsRedrawingTheSameBlock) {
  host_.OpenProgressWindow();
  host_.CloseProgressWindow();
  TakeOutput();
  host_.SetProgress(20);
  EXPECT_EQ(TakeOutput(), "");  // closed: nothing drawn
  host_.OpenProgressWindow();
  EXPECT_EQ(TakeOutput().rfind("\x1b[5A", 0), 0u);
}

struct StartCall {
  std::string Program;
  std::vector<std::string> Arguments;
};

TEST(TerminalHostBrowserTest, OpensTheSummaryOnlyWhenAsked) {
  std::ostringstream out;
  std::ostringstream err;
  std::vector<StartCall> calls;
  auto record = [&calls](const std::string& program, const std::vector<std::string>& arguments) {
    calls.push_back({program, arguments});
    return ProgramStartResult{true, {}};
  };

  TerminalHost host(out, err, DisplayMode::Quiet);
  host.BriefReady("News", "file:///tmp/briefs/0/Brief0.htm");
  EXPECT_TRUE(calls.empty());

  host.OpenWhenReady("/usr/bin/firefox", record);
  host.BriefReady("News", "file:///tmp/briefs/0/Brief0.htm");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Program, "/usr/bin/firefox");
  EXPECT_EQ(calls[0].Arguments, std::vector<std::string>{"file:///tmp/briefs/0/Brief0.htm"});
  EXPECT_EQ(err.str(), "");
}

TEST(TerminalHostBrowserTest, AFailedStartIsReportedOnTheErrorStream) {
  std::ostringstream out;
  std::ostringstream err;
  TerminalHost host(out, err, DisplayMode::Lines);
  host.OpenWhenReady("/nonexistent/browser",
                     [](const std::string&, const std::vector<std::string>&) {
                       return ProgramStartResult{
                           false, "Cannot start /nonexistent/browser: No such file or directory"};
                     });
  host.BriefReady("News", "file:///tmp/0/Brief0.htm");
  EXPECT_EQ(err.str(), "Cannot start /nonexistent/browser: No such file or directory\n");
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace gl::cli
