#include "cli/progress_display.h"

#include <algorithm>
#include <cstddef>

#include "cli/terminal_text.h"

namespace gl::cli {
namespace {

constexpr int kBarWidth = 30;

// A label followed by its value, the value fitted into what the label leaves.
std::string Labelled(std::string_view label, const std::string& value, std::size_t columns) {
  if (label.size() >= columns) return FitText(label, columns);
  return std::string(label) + FitText(value, columns - label.size());
}

std::string Bar(int percent, std::size_t width) {
  const std::size_t filled = width * static_cast<std::size_t>(percent) / 100;
  std::string bar(1, '[');
  bar.append(filled, '#');
  bar.append(width - filled, '-');
  bar += ']';
  return bar;
}

}  // namespace

std::vector<std::string> RenderProgressLines(const ProgressState& state, int columns) {
  const auto usable = static_cast<std::size_t>(std::max(columns - 1, 1));
  const int percent = std::clamp(state.Percent, 0, 100);
  std::vector<std::string> lines;
  lines.push_back(Labelled("Brief: ", state.BriefName, usable));
  lines.push_back(Labelled("Entry: ", state.CurrEntry, usable));
  lines.push_back(Labelled("Page:  ", state.CurrAddr, usable));
  lines.push_back(FitText("Depth " + state.CurrDepth + "   Pages " + state.PagesLoaded +
                              "   Images " + state.ImagesLoaded + "   KB " + state.BytesLoaded,
                          usable));

  // The bar shrinks on narrow terminals so that the percentage stays visible.
  const std::string figure = ' ' + std::to_string(percent) + '%';
  const std::size_t barRoom = usable > figure.size() + 2 ? usable - figure.size() - 2 : 0;
  const std::size_t barWidth = std::min<std::size_t>(kBarWidth, barRoom);
  std::string progress = barWidth > 0 ? Bar(percent, barWidth) + figure : figure.substr(1);
  const std::string status = FitText(state.Status, usable);
  if (!status.empty()) progress += "  " + status;
  lines.push_back(FitText(progress, usable));
  return lines;
}

}  // namespace gl::cli
