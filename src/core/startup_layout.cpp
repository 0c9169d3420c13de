#include "core/startup_layout.h"

#include <algorithm>

#include "core/settings_io.h"

namespace gl {
namespace {

constexpr int kMaxCoordinate = 1000000;

std::string EscapedName(std::string_view name) {
  std::string text;
  for (const char byte : name) {
    if (byte == '%') {
      text += "%25";
    } else if (byte == '\n') {
      text += "%0A";
    } else {
      text += byte;
    }
  }
  return text;
}

std::string UnescapedName(std::string_view line) {
  std::string name;
  for (std::size_t at = 0; at < line.size(); ++at) {
    const std::string_view rest = line.substr(at);
    if (rest.starts_with("%25")) {
      name += '%';
      at += 2;
    } else if (rest.starts_with("%0A") || rest.starts_with("%0a")) {
      name += '\n';
      at += 2;
    } else {
      name += line[at];
    }
  }
  return name;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string PlacementText(const WindowPlacement& placement) {
  std::string text;
  for (const int number : {placement.Left, placement.Top, placement.Width, placement.Height,
                           static_cast<int>(placement.State)})
    text += std::to_string(number) + ",";
  return text;
}

std::optional<WindowPlacement> ParsePlacement(std::string_view line) {
  int numbers[5];
  const int lows[5] = {-kMaxCoordinate, -kMaxCoordinate, 1, 1, 0};
  const int highs[5] = {kMaxCoordinate, kMaxCoordinate, kMaxCoordinate, kMaxCoordinate, 2};
  for (int i = 0; i < 5; ++i) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const std::optional<int> number = DecimalInRange(line.substr(0, comma), lows[i], highs[i]);
    if (!number) return std::nullopt;
    numbers[i] = *number;
    line.remove_prefix(comma + 1);
  }
  if (!line.empty()) return std::nullopt;
  return WindowPlacement{numbers[0], numbers[1], numbers[2], numbers[3],
                         static_cast<WindowState>(numbers[4])};
}

}  // namespace

std::string OpenBriefsText(const OpenBriefsLayout& layout) {
  std::string text = layout.Frame ? PlacementText(*layout.Frame) : std::string();
  for (const OpenBrief& brief : layout.Briefs) {
    text += '\n';
    text += EscapedName(brief.FileName);
    text += '\n';
    if (brief.Placement) text += PlacementText(*brief.Placement);
  }
  return text;
}

OpenBriefsLayout ParseOpenBriefs(std::string_view text) {
  const std::vector<std::string_view> lines = Lines(text);
  OpenBriefsLayout layout;
  if (lines.empty()) return layout;
  layout.Frame = ParsePlacement(lines[0]);
  for (std::size_t at = 1; at < lines.size(); at += 2) {
    OpenBrief brief{UnescapedName(lines[at]), std::nullopt};
    if (at + 1 < lines.size()) brief.Placement = ParsePlacement(lines[at + 1]);
    if (!brief.FileName.empty()) layout.Briefs.push_back(std::move(brief));
  }
  return layout;
}

void RecentBriefs::Use(const std::string& fileName) {
  std::erase(names_, fileName);
  names_.insert(names_.begin(), fileName);
  if (names_.size() > kMaxCount) names_.resize(kMaxCount);
}

void RecentBriefs::AddOlder(const std::string& fileName) {
  if (fileName.empty() || names_.size() >= kMaxCount) return;
  if (std::find(names_.begin(), names_.end(), fileName) != names_.end()) return;
  names_.push_back(fileName);
}

std::string PreviousBriefsText(const RecentBriefs& recent) {
  std::string text;
  for (const std::string& name : recent.Names()) {
    if (!text.empty()) text += '\n';
    text += EscapedName(name);
  }
  return text;
}

std::vector<std::string> ParsePreviousBriefs(std::string_view text) {
  std::vector<std::string> names;
  for (const std::string_view line : Lines(text)) {
    if (names.size() == RecentBriefs::kMaxCount) break;
    if (!line.empty()) names.push_back(UnescapedName(line));
  }
  return names;
}

}  // namespace gl
