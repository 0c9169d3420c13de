#pragma once

#include <string>
#include <vector>

namespace gl::cli {

// What the terminal's progress display shows: the progress window's labels, the transfer's
// progress and the latest status text.
struct ProgressState {
  std::string BriefName;
  std::string CurrEntry;
  std::string CurrAddr;
  std::string CurrDepth;
  std::string PagesLoaded = "0";
  std::string ImagesLoaded = "0";
  std::string BytesLoaded = "0";  // whole kilobytes
  int Percent = 0;
  std::string Status;
};

// The display's lines for a terminal `columns` wide. Every line is at most columns - 1 wide, so
// the terminal never wraps one and the block can be redrawn in place.
std::vector<std::string> RenderProgressLines(const ProgressState& state, int columns);

}  // namespace gl::cli
