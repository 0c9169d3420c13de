#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the desktop program remembers between runs in its Startup settings: the windows that were
// open ("Open Briefs") and the most recently used brief files ("Previous Briefs").
//
// "Open Briefs" is one line with the main window's placement, then two lines per brief window,
// its file name and its placement; a placement is five decimal numbers each followed by ",":
//   40,30,900,640,0,
//   /home/ann/briefs/News.brf
//   0,0,420,300,0,
// In file names "%" is written "%25" and a line break "%0A", so any name fits on its line.
// "Previous Briefs" holds one file name per line in the same form.

namespace gl {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Left, top, width and height of a window (a brief window's within the main window's area).
struct WindowPlacement {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  WindowState State = WindowState::Normal;

  bool operator==(const WindowPlacement&) const = default;
};

struct OpenBrief {
  std::string FileName;
  std::optional<WindowPlacement> Placement;  // none: the default placement
};

struct OpenBriefsLayout {
  std::optional<WindowPlacement> Frame;
  std::vector<OpenBrief> Briefs;
};

std::string OpenBriefsText(const OpenBriefsLayout& layout);

// Reads what OpenBriefsText wrote. A placement whose numbers cannot be read, or are out of range,
// is none; empty file names are dropped.
OpenBriefsLayout ParseOpenBriefs(std::string_view text);

// The most recently used brief files, the most recent first, at most four.
class RecentBriefs {
 public:
  static constexpr std::size_t kMaxCount = 4;

  // A brief that was just opened or saved goes to the top.
  void Use(const std::string& fileName);

  // A name from an earlier run goes below the others, when it is not listed and there is room.
  void AddOlder(const std::string& fileName);

  const std::vector<std::string>& Names() const { return names_; }

 private:
  std::vector<std::string> names_;
};

std::string PreviousBriefsText(const RecentBriefs& recent);
std::vector<std::string> ParsePreviousBriefs(std::string_view text);

}  // namespace gl
