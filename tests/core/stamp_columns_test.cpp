#include "core/stamp_columns.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

using Pieces = std::vector<StampPiece>;

const Pieces kDate = {
    {"Mar", 23, true}, {"-", 25, false}, {"05", 41, true}, {"-", 43, false}, {"1997", 60, true}};

Pieces DateThen(const Pieces& more) {
  Pieces pieces = kDate;
  pieces.insert(pieces.end(), more.begin(), more.end());
  return pieces;
}

TEST(StampColumns, EachPartGoesToItsColumnAndDamagedStampsShowWhatTheyHave) {
  const Pieces time = {{"9", 133, true},  {":", 135, false}, {"07", 153, true},
                       {":", 155, false}, {"02", 173, true}, {"AM", 180, false}};
  const struct {
    std::string_view stamp;
    Pieces expected;
  } rows[] = {
      {"3/5/1997  9:07:02 AM", DateThen(time)},
      {"3/5/1997 \t9:07:02 AM", DateThen(time)},
      {"12/25/2001  11:59:59 PM",
       {{"Dec", 23, true},
        {"-", 25, false},
        {"25", 41, true},
        {"-", 43, false},
        {"2001", 60, true},
        {"11", 133, true},
        {":", 135, false},
        {"59", 153, true},
        {":", 155, false},
        {"59", 173, true},
        {"PM", 180, false}}},
      {"3/5/1997  9:07:02", DateThen({{"9", 133, true},
                                      {":", 135, false},
                                      {"07", 153, true},
                                      {":", 155, false},
                                      {"02", 173, true}})},
      {"3/5/1997  9:07", DateThen({{"9", 133, true}, {":", 135, false}})},
      {"3/5/1997  ", kDate},
      {"3/5/1997", kDate},
      {"13/x/97", {{"-", 25, false}, {"x", 41, true}, {"-", 43, false}, {"97", 60, true}}},
      {"3/5", {{"Mar", 23, true}, {"-", 25, false}}},
      {"no date", {}},
      {"", {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stamp);
    EXPECT_EQ(StampColumns(row.stamp), row.expected);
  }
}

}  // namespace
}  // namespace gl
