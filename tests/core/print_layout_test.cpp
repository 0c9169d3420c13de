#include "core/print_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/stamp_columns.h"

namespace gl {
namespace {

// 850 by 1100 pixels at 100 per inch; a character half its point size wide, a line twice as high.
class FakeCanvas : public PrintCanvas {
 public:
  void SetFont(std::string_view family, int points) override {
    points_ = points;
    calls.push_back("font " + std::string(family) + " " + std::to_string(points));
  }
  int TextWidth(std::string_view text) override { return int(text.size()) * points_ / 2; }
  int TextHeight(std::string_view) override { return points_ * 2; }
  void DrawText(int x, int y, std::string_view text) override {
    calls.push_back(std::to_string(x) + "," + std::to_string(y) + " " + std::string(text));
    aborted_ = --drawsBeforeAbort == 0;
  }
  void NewPage() override { calls.push_back("new page"); }
  int PixelsPerInchX() const override { return 100; }
  int PixelsPerInchY() const override { return 100; }
  int PageWidth() const override { return 850; }
  int PageHeight() const override { return pageHeight; }
  bool Aborted() const override { return aborted_; }

  std::vector<std::string> calls;
  int pageHeight = 1100;
  int drawsBeforeAbort = -1;  // the user stops the job after this many lines

 private:
  int points_ = 8;
  bool aborted_ = false;
};

const std::vector<std::string> kBriefLines = {
    "font Helvetica 16",    "369,100 Brief Contents",
    "font Helvetica 12",    "100,196 Brief Name: New Brief",
    "100,232 Active: True", "100,268 Comments: "};

// The band above the bottom margin starts at 812 - 100 - 96 = 616; the "Depth" line would reach it.
TEST(PrintLayoutTest, EntriesBreakPagesAtTheBandAboveTheBottomMargin) {
  TBriefRecord brief;
  TWebEntry& entry = CreateNewWebEntry(brief, 0);
  entry.Name = "News";
  entry.URL = "http://www.bbc.co.uk/";
  entry.Active = false;
  entry.Images = true;
  entry.Depth = 3;
  entry.StayLocal = false;
  entry.Password = "p\xC3\xA4ss";
  FakeCanvas canvas;
  canvas.pageHeight = 812;
  PrintBrief(brief, canvas);
  std::vector<std::string> expected = kBriefLines;
  const char* lines[] = {"100,340 News",
                         "125,376 URL: http://www.bbc.co.uk/",
                         "125,412 Active: False",
                         "125,448 Download Images: True",
                         "125,484 Download Other Files: False",
                         "125,520 User Name: Not Set",
                         "125,556 Password: ****",
                         "407,688 Page 1",
                         "new page",
                         "125,100 Depth to Load: 3",
                         "125,136 Follow External Links: True",
                         "407,688 Page 2"};
  expected.insert(expected.end(), std::begin(lines), std::end(lines));
  EXPECT_EQ(canvas.calls, expected);
}

// 625 pixels hold 104 characters; after the eighth line the user stops the job, footer and all.
TEST(PrintLayoutTest, CommentsFollowTheirLabelWrappedAndAnAbortedJobStops) {
  TBriefRecord brief;
  brief.Comments = "Morning papers\r\n\r\n" + std::string(100, 'w') + " tail end\r\n";
  CreateNewWebEntry(brief, 0);
  FakeCanvas canvas;
  canvas.drawsBeforeAbort = 8;
  PrintBrief(brief, canvas);
  std::vector<std::string> expected = kBriefLines;
  const std::string comments[] = {"125,304 Morning papers", "125,340 ",
                                  "125,376 " + std::string(100, 'w'), "125,412 tail end"};
  expected.insert(expected.end(), std::begin(comments), std::end(comments));
  EXPECT_EQ(canvas.calls, expected);
}

// The pieces in a short form: "Mar>23" ends at 23, "-@25" starts at 25.
std::string Layout(std::string_view stamp) {
  std::string layout;
  for (const StampPiece& piece : StampColumns(stamp))
    layout += piece.Text + (piece.RightAligned ? ">" : "@") + std::to_string(piece.X) + " ";
  return layout;
}

TEST(StampColumnsTest, EachPartGoesToItsColumnAndDamagedStampsShowWhatTheyHave) {
  const std::string date = "Mar>23 -@25 05>41 -@43 1997@47 ";
  const struct {
    std::string_view stamp;
    std::string expected;
  } rows[] = {
      {"3/5/1997  9:07:02 AM", date + "9>133 :@135 07>153 :@155 02>173 AM@180 "},
      {"12/25/2001 \t11:59:59 PM",
       "Dec>23 -@25 25>41 -@43 2001@47 11>133 :@135 59>153 :@155 59>173 PM@180 "},
      {"3/5/1997  9:07:02", date + "9>133 :@135 07>153 :@155 02>173 "},
      {"3/5/1997  9:07", date + "9>133 :@135 "},
      {"3/5/1997  ", date},
      {"3/5/1997", date},
      {"13/x/97", "-@25 x>41 -@43 97@47 "},
      {"3/5", "Mar>23 -@25 "},
      {"no date", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stamp);
    EXPECT_EQ(Layout(row.stamp), row.expected);
  }
}

}  // namespace
}  // namespace gl
