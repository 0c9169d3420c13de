#include "core/stamp_columns.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

// The pieces in a short form: "Mar>23" ends at 23, "-@25" starts at 25.
std::string Layout(std::string_view stamp) {
  std::string layout;
  for (const StampPiece& piece : StampColumns(stamp))
    layout += piece.Text + (piece.RightAligned ? ">" : "@") + std::to_string(piece.X) + " ";
  return layout;
}

TEST(StampColumns, EachPartGoesToItsColumnAndDamagedStampsShowWhatTheyHave) {
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
