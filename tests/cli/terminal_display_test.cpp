#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "cli/progress_display.h"
#include "cli/terminal_host.h"
#include "cli/terminal_text.h"

namespace gl::cli {
namespace {

using ::testing::HasSubstr;
using enum ProgressItem;

TEST(TerminalTextTest, ControlsBecomeEscapesEveryOtherByteStaysAndFitTextCutsWholeCharacters) {
  const std::pair<std::string, std::string> rows[] = {
      {"plain\ttab", "plain\ttab"},
      {"\x1b[2J\x07\x7f", "\\x1B[2J\\x07\\x7F"},
      {"line\r\n", "line\\x0D\\x0A"},
      {"csi\xc2\x9b", "csi\\xC2\\x9B"},  // U+009B, the one-character CSI, in UTF-8
      {"raw\x9b", "raw\\x9B"},           // the same as one byte of an 8-bit code page
      {"caf\xc3\xa9 \xe9t\xe9 \xc2\xa0", "caf\xc3\xa9 \xe9t\xe9 \xc2\xa0"},  // letters, nbsp
      {"cut\xe6\x97", "cut\xe6\\x97"},  // a sequence that ends early leaves a lone 0x97
  };
  for (const auto& [text, shown] : rows) {
    SCOPED_TRACE(text);
    EXPECT_EQ(TerminalText(text), shown);
  }
  const std::tuple<std::string, std::size_t, std::string> fits[] = {
      {"  \t\r\n lead", 10, "lead"},
      {"first\tsecond", 20, "first"},
      {"abcdefghij", 9, "abcdef..."},
      {"abcdefghij", 2, ".."},
      {"bell\x07", 8, "bell\\x07"},
      {"bell\x07", 7, "bell..."},
      // Latin-1 bytes and UTF-8 characters take a column each, wide ones two.
      {"\xe9t\xe9", 3, "\xe9t\xe9"},
      {"caf\xc3\xa9", 4, "caf\xc3\xa9"},
      {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 4, "\xc3\xa9..."},
      {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe3\x83\x86\xe3\x82\xad", 8,
       "\xe6\x97\xa5\xe6\x9c\xac..."},
  };
  for (const auto& [text, columns, fitted] : fits) {
    SCOPED_TRACE("\"" + text + "\" in " + std::to_string(columns));
    EXPECT_EQ(FitText(text, columns), fitted);
  }
}

// A line as wide as the terminal would wrap and break the redraw in place.
TEST(ProgressDisplayTest, NoLineReachesTheLastColumnTheBarShrinksAndPercentIsHeldWithin0To100) {
  ProgressState state;
  state.BriefName = state.CurrAddr = std::string(300, 'a');
  state.CurrDepth = "2 of 3";
  state.Percent = 40;
  state.Status = " Receiving data";
  for (int columns = 1; columns <= 160; ++columns) {
    SCOPED_TRACE(columns);
    const std::vector<std::string> lines = RenderProgressLines(state, columns);
    ASSERT_EQ(lines.size(), 5u);
    for (const std::string& line : lines)
      EXPECT_LE(line.size(), static_cast<std::size_t>(std::max(columns - 1, 1))) << line;
  }
  state.Status.clear();
  state.Percent = 250;
  EXPECT_EQ(RenderProgressLines(state, 80)[4], "[" + std::string(30, '#') + "] 100%");
  state.Percent = -7;
  EXPECT_EQ(RenderProgressLines(state, 7)[4], "[-] 0%");
  EXPECT_EQ(RenderProgressLines(state, 5)[4], "0%");
}

// A skipped entry reopens the window and names the brief again, which is not written twice.
TEST(TerminalHostTest, PlainModeWritesOneCleanLinePerEntryAndPage) {
  std::ostringstream out, err;
  TerminalHost host(out, err, DisplayMode::Lines);
  for (const char* entry : {"\x1b]0;owned\x07 Front\r\nsecond line", "Next"}) {
    host.UpdateItem(BriefName, "Morning news");
    host.OpenProgressWindow();
    host.UpdateItem(CurrEntry, entry);
    host.UpdateItem(CurrDepth, "1 of 2");
    host.UpdateItem(CurrAddr, "http://127.0.0.1/index.htm");
    host.CloseProgressWindow();
  }
  EXPECT_EQ(out.str(),
            "Brief: Morning news\nEntry: \\x1B]0;owned\\x07 Front\n  [1 of 2] "
            "http://127.0.0.1/index.htm\n"
            "Entry: Next\n  [1 of 2] http://127.0.0.1/index.htm\n");
}

using Clock = TerminalHost::Clock;

// Until the clock stops every read moves it on, so every step redraws. Once it stands still, a
// change waits for the interval and is then drawn, even while the run is silent.
TEST(LiveTerminalHostTest, DrawsOnceOpenRedrawsInPlaceOnChangeFollowsTheWidthErrorsAndThrottles) {
  std::ostringstream out, err;
  std::atomic<int> columns = 60;
  std::atomic<bool> ticking = true, drawnLate = false;
  std::atomic<Clock::rep> now = 0;
  std::promise<void> lateDraw;
  const std::thread::id runThread = std::this_thread::get_id();
  TerminalHost host{
      out, err, DisplayMode::Live,
      [&] {
        if (std::this_thread::get_id() != runThread && !drawnLate.exchange(true))
          lateDraw.set_value();
        return columns.load();
      },
      [&] {
        return Clock::time_point(Clock::duration(ticking ? now += 1'000'000'000 : now.load()));
      }};
  const auto take = [&] {
    std::string text = out.str();
    out.str({});
    return text;
  };
  host.UpdateItem(BriefName, "News");
  host.UpdateItem(CurrEntry, "Front page");
  host.UpdateItem(CurrDepth, "2 of 3");
  host.UpdateItem(ImagesLoaded, "4");
  host.UpdateItem(BytesLoaded, "345");
  host.SetStatusText(" Receiving data");
  host.SetProgress(40);
  EXPECT_EQ(take(), "");  // no window yet

  host.OpenProgressWindow();
  const std::string block =
      "\rBrief: News\x1b[K\n\rEntry: Front page\x1b[K\n\rPage:  \x1b[K\n"
      "\rDepth 2 of 3   Pages 1   Images 4   KB 345\x1b[K\n"
      "\r[############------------------] 40%  Receiving data\x1b[K\n";
  EXPECT_EQ(take(), std::string(block).replace(block.find("Pages 1"), 7, "Pages 0"));
  host.UpdateItem(PagesLoaded, "1");
  EXPECT_EQ(take(), "\x1b[5A" + block);
  host.UpdateItem(PagesLoaded, "1");
  EXPECT_EQ(take(), "");  // nothing changed, nothing drawn

  host.CloseProgressWindow();
  host.SetProgress(20);
  EXPECT_EQ(take(), "");
  host.OpenProgressWindow();
  EXPECT_TRUE(take().starts_with("\x1b[5A"));

  // The width is read on every redraw.
  host.UpdateItem(CurrAddr, "http://127.0.0.1/" + std::string(100, 'p'));
  take();
  columns = 30;
  host.SetProgress(10);
  EXPECT_THAT(take(), HasSubstr("\rPage:  http://127.0.0.1/pp...\x1b[K\n"));

  // An error message stands below the block, so the next redraw starts a fresh block.
  host.ShowError("Disk Error", "Your disk appears to be full.");
  host.UpdateItem(PagesLoaded, "3");
  EXPECT_THAT(take(), ::testing::AllOf(::testing::Not(HasSubstr("\x1b[5A")), HasSubstr("Pages 3")));
  EXPECT_EQ(err.str(), "Disk Error: Your disk appears to be full.\n");

  columns = 80;
  ticking = false;
  for (int step = 1; step <= 1000; ++step)
    host.SetProgress(step % 100);
  host.SetStatusText(" Connecting");
  EXPECT_EQ(take(), "");
  now += std::chrono::duration_cast<Clock::duration>(TerminalHost::kRedrawInterval).count();
  ASSERT_EQ(lateDraw.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
  host.UpdateItem(PagesLoaded, "7");
  host.CloseProgressWindow();
  host.EndRun();
  const std::string drawn = take(), head = drawn.substr(0, drawn.find("\rDepth"));
  const std::string tail =
      "   Images 4   KB 345\x1b[K\n\r[" + std::string(30, '-') + "] 0%  Connecting\x1b[K\n";
  EXPECT_EQ(drawn, head + "\rDepth 2 of 3   Pages 3" + tail + head + "\rDepth 2 of 3   Pages 7" +
                       tail + "Loaded: 7 pages, 4 images and files, 345 KB\n");
  EXPECT_TRUE(head.starts_with("\x1b[5A\rBrief: News")) << head;
}

}  // namespace
}  // namespace gl::cli
