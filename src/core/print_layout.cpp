#include "core/print_layout.h"

#include <string>
#include <vector>

#include "core/utf8_text.h"

namespace gl {
namespace {

constexpr std::string_view kFace = "Helvetica";
constexpr int kTitlePoints = 16;
constexpr int kLinePoints = 12;
constexpr std::string_view kTitle = "Brief Contents";
constexpr std::string_view kNotSet = "Not Set";

std::string TrueFalse(bool value) {
  return value ? "True" : "False";
}

std::string OrNotSet(std::string_view text) {
  return std::string(text.empty() ? kNotSet : text);
}

// The lines of a text typed in a multi-line box, which ends them with CR LF; a bare CR or LF
// also ends a line. Line ends at the very end make no empty lines.
std::vector<std::string_view> LinesOf(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
    text.remove_suffix(1);
  std::vector<std::string_view> lines;
  if (text.empty()) return lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) break;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

class BriefPrinter {
 public:
  explicit BriefPrinter(PrintCanvas& canvas)
      : canvas_(canvas),
        left_(canvas.PixelsPerInchX()),
        top_(canvas.PixelsPerInchY()),
        right_(canvas.PageWidth() - canvas.PixelsPerInchX()),
        bottom_(canvas.PageHeight() - canvas.PixelsPerInchY()),
        indent_(canvas.PixelsPerInchX() / 4),
        y_(top_) {}

  void Print(const TBriefRecord& brief) {
    canvas_.SetFont(kFace, kTitlePoints);
    titleHeight_ = canvas_.TextHeight(kTitle);
    if (!canvas_.Aborted()) canvas_.DrawText(Centred(kTitle), y_, kTitle);
    y_ += 3 * titleHeight_;
    canvas_.SetFont(kFace, kLinePoints);

    PrintField("Brief Name: " + brief.Name, left_);
    PrintItem("Active: " + TrueFalse(brief.Active), left_);
    PrintItem("Comments: ", left_);
    for (const std::string_view line : LinesOf(brief.Comments))
      PrintWrapped(line, left_ + indent_, left_ + indent_);

    for (const TWebEntry& entry : brief.WebList) {
      y_ += lastHeight_ * 3 / 2;
      const int x = left_ + indent_;
      PrintField(entry.Name, left_);
      PrintField("URL: " + entry.URL, x);
      PrintItem("Active: " + TrueFalse(entry.Active), x);
      PrintItem("Download Images: " + TrueFalse(entry.Images), x);
      PrintItem("Download Other Files: " + TrueFalse(entry.OtherFiles), x);
      PrintField("User Name: " + OrNotSet(entry.UserName), x);
      // Printed paper lies where anyone can pick it up: a password shows only as stars.
      PrintField("Password: " + OrNotSet(MaskedPassword(entry.Password)), x);
      PrintItem("Depth to Load: " + std::to_string(entry.Depth), x);
      PrintItem("Follow External Links: " + TrueFalse(!entry.StayLocal), x);
    }
    PrintFooter();
  }

 private:
  // The x that centres the text between the margins.
  int Centred(std::string_view text) {
    return left_ + ((right_ - left_ + 1) - canvas_.TextWidth(text)) / 2;
  }

  // Prints one line at x and the current y, first moving to a new page when the line would reach
  // into the band of three title lines above the bottom margin. Nothing is printed once the job
  // was stopped.
  void PrintItem(std::string_view text, int x) {
    if (canvas_.Aborted()) return;
    const int height = canvas_.TextHeight(text);
    if (bottom_ - 3 * titleHeight_ <= y_ + height) {
      PrintFooter();
      ++page_;
      canvas_.NewPage();
      y_ = top_;
    }
    canvas_.DrawText(x, y_, text);
    y_ += height * 3 / 2;
    lastHeight_ = height;
  }

  // A field that may be longer than a line: its parts after the first are indented one step more.
  void PrintField(std::string_view text, int x) { PrintWrapped(text, x, x + indent_); }

  // The text wrapped at the right margin: the first part at `x`, the others at `nextX`.
  void PrintWrapped(std::string_view text, int x, int nextX) {
    const std::vector<std::string> parts = Wrapped(text, right_ - x, right_ - nextX);
    for (std::size_t at = 0; at < parts.size(); ++at)
      PrintItem(parts[at], at == 0 ? x : nextX);
  }

  void PrintFooter() {
    if (canvas_.Aborted()) return;
    const std::string text = "Page " + std::to_string(page_);
    canvas_.DrawText(Centred(text), bottom_ - canvas_.TextHeight(text), text);
  }

  // The line cut into parts no wider than `firstWidth` for the first and `width` for the others:
  // at blanks, and a word too wide for a part of its own (an address has no blanks) wherever its
  // characters reach the margin.
  std::vector<std::string> Wrapped(std::string_view line, int firstWidth, int width) {
    std::vector<std::string> parts;
    std::string part;
    const auto room = [&] { return parts.empty() ? firstWidth : width; };
    for (std::size_t start = 0; start <= line.size();) {
      std::size_t end = line.find(' ', start);
      if (end == std::string_view::npos) end = line.size();
      const std::string_view word = line.substr(start, end - start);
      std::string longer = part.empty() ? std::string(word) : part + ' ' + std::string(word);
      if (!part.empty() && canvas_.TextWidth(longer) > room() && canvas_.TextWidth(word) <= width) {
        parts.push_back(part);
        longer = word;
      }
      while (canvas_.TextWidth(longer) > room()) {
        const std::size_t fit = FittingBytes(longer, room());
        if (fit == longer.size()) break;
        parts.push_back(longer.substr(0, fit));
        longer.erase(0, fit);
      }
      part = longer;
      start = end + 1;
    }
    parts.push_back(part);
    return parts;
  }

  // The bytes of the most whole characters at the start of `text` that fit in `width`, at least
  // one character.
  std::size_t FittingBytes(std::string_view text, int width) {
    std::size_t fit = FirstCharacters(text, 1).size();
    for (std::size_t count = 2; fit < text.size(); ++count) {
      const std::string_view longer = FirstCharacters(text, count);
      if (canvas_.TextWidth(longer) > width) break;
      fit = longer.size();
    }
    return fit;
  }

  PrintCanvas& canvas_;
  const int left_, top_, right_, bottom_, indent_;
  int y_;
  int titleHeight_ = 0;
  int lastHeight_ = 0;
  int page_ = 1;
};

}  // namespace

void PrintBrief(const TBriefRecord& brief, PrintCanvas& canvas) {
  BriefPrinter(canvas).Print(brief);
}

}  // namespace gl
