#pragma once

#include <string>
#include <string_view>
#include <vector>

// The archived-brief list shows each run's stamp ("3/5/1997  9:07:02 AM") in fixed columns:
// "Mar-05-1997" and "9:07:02 AM", every number in its own column so the rows line up. This
// splits a stamp into the pieces to draw and says where each goes. The year starts just after
// the day's dash: four digits ending at a fixed column would run into the dash.

namespace gl {

struct StampPiece {
  std::string Text;
  int X = 0;                  // pixels from the row's left edge
  bool RightAligned = false;  // the text ends at X; else it starts there

  bool operator==(const StampPiece&) const = default;
};

// "Jan" to "Dec" for 1 to 12; empty for other numbers.
std::string_view GetMonth(int month);

// The pieces of a stamp of the form month/day/year, blanks, hours:minutes:seconds, a blank and
// AM or PM. A stamp without "/" gives none; a piece after a separator that is missing is left
// out, so a damaged stamp shows what it has.
std::vector<StampPiece> StampColumns(std::string_view stamp);

}  // namespace gl
