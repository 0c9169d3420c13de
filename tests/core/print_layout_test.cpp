#include "core/print_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "core/stamp_columns.h"

namespace gl {
namespace {

// 850 by 1100 pixels at 100 per inch; a character half its point size wide, a line twice as high.
class FakeCanvas : public PrintCanvas {
 public:
  void SetFont(std::string_view family, int points) override {
    fontPoints = points;
    calls += "font " + std::string(family) + " " + std::to_string(points) + "\n";
  }
  int TextWidth(std::string_view text) override { return int(text.size()) * fontPoints / 2; }
  int TextHeight(std::string_view) override { return fontPoints * 2; }
  void DrawText(int x, int y, std::string_view text) override {
    calls += std::to_string(x) + "," + std::to_string(y) + " " + std::string(text) + "\n";
    if (drawsBeforeAbort > 0) --drawsBeforeAbort;
  }
  void NewPage() override { calls += "new page\n"; }
  int PixelsPerInchX() const override { return 100; }
  int PixelsPerInchY() const override { return 100; }
  int PageWidth() const override { return 850; }
  int PageHeight() const override { return pageHeight; }
  bool Aborted() const override { return drawsBeforeAbort == 0; }

  std::string calls;  // one line per call
  int pageHeight = 1100;
  int drawsBeforeAbort = -1;  // the user stops the job after this many lines
  int fontPoints = 8;
};

constexpr std::string_view kBriefLines =
    "font Helvetica 16\n369,100 Brief Contents\nfont Helvetica 12\n100,196 Brief Name: New Brief\n"
    "100,232 Active: True\n100,268 Comments: \n";

// The band above the bottom margin starts at 812 - 100 - 96 = 616; the "Depth" line would reach it.
TEST(PrintLayoutTest, EntriesBreakPagesAboveTheBottomMarginCommentsWrapAndAnAbortedJobStops) {
  TBriefRecord brief;
  brief.WebList = {{false, "News", true, "http://www.bbc.co.uk/", 3, true, true, false, false, "",
                    "p\xC3\xA4ss", ""}};
  FakeCanvas canvas;
  canvas.pageHeight = 812;
  PrintBrief(brief, canvas);
  EXPECT_EQ(canvas.calls,
            std::string(kBriefLines) +
                "100,340 News\n125,376 URL: http://www.bbc.co.uk/\n125,412 Active: False\n"
                "125,448 Download Images: True\n125,484 Download Other Files: False\n"
                "125,520 User Name: Not Set\n125,556 Password: ****\n407,688 Page 1\nnew page\n"
                "125,100 Depth to Load: 3\n125,136 Follow External Links: True\n407,688 Page 2\n");

  // A field longer than a line goes on, indented one step more, where its characters reach the
  // margin: 625 pixels hold 104 characters, 600 hold 100.
  brief.WebList[0].URL = "http://site.test/" + std::string(200, 'a');
  FakeCanvas wide;
  PrintBrief(brief, wide);
  EXPECT_NE(wide.calls.find("\n125,376 URL: http://site.test/" + std::string(82, 'a') +
                            "\n150,412 " + std::string(100, 'a') + "\n150,448 " +
                            std::string(18, 'a') + "\n125,484 Active: False\n"),
            std::string::npos)
      << wide.calls;

  // 625 pixels hold 104 characters; after the eighth line the user stops the job: no entry, no
  // footer.
  brief.Comments = "Morning papers\r\n\r\n" + std::string(100, 'w') + " tail end\r\n";
  FakeCanvas aborted;
  aborted.drawsBeforeAbort = 8;
  PrintBrief(brief, aborted);
  EXPECT_EQ(aborted.calls, std::string(kBriefLines) + "125,304 Morning papers\n125,340 \n125,376 " +
                               std::string(100, 'w') + "\n125,412 tail end\n");
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
  const std::pair<std::string_view, std::string> rows[] = {
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
  for (const auto& [stamp, expected] : rows) {
    SCOPED_TRACE(stamp);
    EXPECT_EQ(Layout(stamp), expected);
  }
}

}  // namespace
}  // namespace gl
