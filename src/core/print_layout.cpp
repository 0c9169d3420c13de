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

    PrintItem("Brief Name: " + brief.Name, left_);
    PrintItem("Active: " + TrueFalse(brief.Active), left_);
    PrintItem("Comments: ", left_);
    for (const std::string_view line : LinesOf(brief.Comments)) {
      for (const std::string& part : Wrapped(line, right_ - left_ - indent_))
        PrintItem(part, left_ + indent_);
    }

    for (const TWebEntry& entry : brief.WebList) {
      y_ += lastHeight_ * 3 / 2;
      const int x = left_ + indent_;
      PrintItem(entry.Name, left_);
      PrintItem("URL: " + entry.URL, x);
      PrintItem("Active: " + TrueFalse(entry.Active), x);
      PrintItem("Download Images: " + TrueFalse(entry.Images), x);
      PrintItem("Download Other Files: " + TrueFalse(entry.OtherFiles), x);
      PrintItem("User Name: " + OrNotSet(entry.UserName), x);
      // Printed paper lies where anyone can pick it up: a password shows only as stars.
      PrintItem("Password: " + OrNotSet(MaskedPassword(entry.Password)), x);
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

  void PrintFooter() {
    if (canvas_.Aborted()) return;
    const std::string text = "Page " + std::to_string(page_);
    canvas_.DrawText(Centred(text), bottom_ - canvas_.TextHeight(text), text);
  }

  // The line cut at blanks into parts no wider than `width`; a word wider than that keeps a
  // part of its own.
  std::vector<std::string> Wrapped(std::string_view line, int width) {
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t start = 0; start <= line.size();) {
      std::size_t end = line.find(' ', start);
      if (end == std::string_view::npos) end = line.size();
      const std::string_view word = line.substr(start, end - start);
      const std::string longer = part.empty() ? std::string(word) : part + ' ' + std::string(word);
      if (!part.empty() && canvas_.TextWidth(longer) > width) {
        parts.push_back(part);
        part = word;
      } else {
        part = longer;
      }
      start = end + 1;
    }
    parts.push_back(part);
    return parts;
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
