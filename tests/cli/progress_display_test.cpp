#include "cli/progress_display.h"

#include <gtest/gtest.h>

namespace gl::cli {
namespace {

ProgressState SampleState() {
  return ProgressState{.BriefName = "Morning news",
                       .CurrEntry = "Front page",
                       .CurrAddr = "http://127.0.0.1:8080/news/index.htm",
                       .CurrDepth = "2 of 3",
                       .PagesLoaded = "12",
                       .ImagesLoaded = "4",
                       .BytesLoaded = "345",
                       .Percent = 40,
                       .Status = " Receiving data"};
}

TEST(ProgressDisplayTest, ShowsEveryItemWithItsLabel) {
  const std::vector<std::string> expected = {
      "Brief: Morning news",
      "Entry: Front page",
      "Page:  http://127.0.0.1:8080/news/index.htm",
      "Depth 2 of 3   Pages 12   Images 4   KB 345",
      "[############------------------] 40%  Receiving data",
  };
  EXPECT_EQ(RenderProgressLines(SampleState(), 80), expected);
}

TEST(ProgressDisplayTest, LongTextsEndInAnEllipsisInsideTheWidth) {
  ProgressState state = SampleState();
  state.CurrAddr = "http://www.example.com/" + std::string(200, 'x') + ".htm";
  const std::vector<std::string> lines = RenderProgressLines(state, 40);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[2], "Page:  http://www.example.com/xxxxxx...");
  EXPECT_EQ(lines[3], "Depth 2 of 3   Pages 12   Images 4  ...");
  EXPECT_EQ(lines[4], "[############------------------] 40%...");
}

// A line as wide as the terminal would wrap and break the redraw in place.
TEST(ProgressDisplayTest, NoLineReachesTheLastColumnAtAnyWidth) {
  ProgressState state = SampleState();
  state.BriefName = std::string(300, 'b');
  state.CurrEntry = std::string(300, 'e');
  state.CurrAddr = std::string(300, 'a');
  for (int columns = 1; columns <= 160; ++columns) {
    SCOPED_TRACE(columns);
    const std::vector<std::string> lines = RenderProgressLines(state, columns);
    ASSERT_EQ(lines.size(), 5u);
    for (const std::string& line : lines) {
      EXPECT_LE(line.size(), static_cast<std::size_t>(std::max(columns - 1, 1))) << line;
    }
  }
}

TEST(ProgressDisplayTest, PercentIsHeldBetweenNoneAndAll) {
  ProgressState state = SampleState();
  state.Status.clear();
  state.Percent = 250;
  EXPECT_EQ(RenderProgressLines(state, 80)[4], "[" + std::string(30, '#') + "] 100%");
  state.Percent = -7;
  EXPECT_EQ(RenderProgressLines(state, 80)[4], "[" + std::string(30, '-') + "] 0%");
  EXPECT_EQ(RenderProgressLines(state, 7)[4], "[-] 0%");
  EXPECT_EQ(RenderProgressLines(state, 5)[4], "0%");
}

}  // namespace
}  // namespace gl::cli
