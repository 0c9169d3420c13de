#include "core/startup_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gl {
namespace {

TEST(StartupLayoutTest, OpenBriefsRoundTripUnreadablePlacementsGiveTheDefaultRecentKeepFour) {
  OpenBriefsLayout layout;
  layout.Frame = WindowPlacement{-20, 30, 900, 640, WindowState::Maximized};
  layout.Briefs = {{"/home/ann/News.brf", WindowPlacement{0, 0, 420, 300, WindowState::Normal}},
                   {"/tmp/100%\nodd,name.brf", std::nullopt}};
  const std::string text = OpenBriefsText(layout);
  EXPECT_EQ(text,
            "-20,30,900,640,2,\n/home/ann/News.brf\n0,0,420,300,0,\n/tmp/100%25%0Aodd,name.brf\n");
  EXPECT_EQ(OpenBriefsText(ParseOpenBriefs(text)), text);  // the text is pinned: so is its reading
  // Unreadable placements give the default.
  for (const char* line :
       {"1,2,3,4,", "1,2,3,4,5,", "1,2,0,4,0,", "1,2,3,4,0,9", "a,2,3,4,0,", " 1,2,3,4,0,"}) {
    SCOPED_TRACE(line);
    const OpenBriefsLayout read = ParseOpenBriefs(std::string(line) + "\n/a.brf\n" + line);
    EXPECT_EQ(read.Frame, std::nullopt);
    ASSERT_EQ(read.Briefs.size(), 1u);
    EXPECT_EQ(read.Briefs[0].Placement, std::nullopt);
  }

  RecentBriefs recent;
  for (const char* name : {"a", "b", "c", "d", "e", "d"})
    recent.Use(name);
  EXPECT_EQ(recent.Names(), (std::vector<std::string>{"d", "e", "c", "b"}));

  RecentBriefs started;
  started.Use("x");
  for (const std::string& name : ParsePreviousBriefs(PreviousBriefsText(recent) + "\n\nf"))
    started.AddOlder(name);
  started.AddOlder("x");
  EXPECT_EQ(started.Names(), (std::vector<std::string>{"x", "d", "e", "c"}));
}

}  // namespace
}  // namespace gl
