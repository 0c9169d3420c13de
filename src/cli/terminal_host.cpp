#include "cli/terminal_host.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>
#include <utility>

#include "browser/browse_to.h"
#include "cli/terminal_text.h"

namespace gl::cli {
namespace {

constexpr int kDefaultColumns = 80;

// Plain lines keep their whole text but never a control character.
std::string CleanText(const std::string& text) {
  return FitText(text, std::string::npos);
}

// Showing the summary from the command line: the status texts have no bar to go to, and a
// message goes to the error output.
class TerminalBrowserHost final : public BrowserHost {
 public:
  explicit TerminalBrowserHost(std::ostream& err) : err_(err) {}
  void SetStatusText(const std::string&) override {}
  void ShowMessage(const UserMessage& message) override {
    err_ << message.Title << ": " << message.Text << '\n';
  }

 private:
  std::ostream& err_;
};

}  // namespace

bool IsTerminal(const std::ostream& out) {
  if (&out == &std::cout) return isatty(STDOUT_FILENO) == 1;
  if (&out == &std::cerr) return isatty(STDERR_FILENO) == 1;
  return false;
}

int TerminalColumns() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return kDefaultColumns;
  return size.ws_col;
}

TerminalHost::TerminalHost(std::ostream& out, std::ostream& err, DisplayMode mode,
                           ColumnsSource columns)
    : out_(out), err_(err), mode_(mode), columns_(std::move(columns)) {}

void TerminalHost::SetStatusText(const std::string& text) {
  state_.Status = text;
  Redraw();
}

void TerminalHost::SetProgress(int percent) {
  state_.Percent = percent;
  Redraw();
}

void TerminalHost::OpenProgressWindow() {
  windowOpen_ = true;
  Redraw();
}

void TerminalHost::UpdateItem(ProgressItem item, const std::string& text) {
  switch (item) {
    case ProgressItem::BriefName:
      state_.BriefName = text;
      if (mode_ == DisplayMode::Lines && text != briefAnnounced_) {
        briefAnnounced_ = text;
        WriteLine("Brief: " + CleanText(text));
      }
      break;
    case ProgressItem::CurrEntry:
      state_.CurrEntry = text;
      if (mode_ == DisplayMode::Lines) WriteLine("Entry: " + CleanText(text));
      break;
    case ProgressItem::CurrAddr:
      state_.CurrAddr = text;
      if (mode_ == DisplayMode::Lines) {
        const std::string depth = CleanText(state_.CurrDepth);
        WriteLine("  " + (depth.empty() ? "" : "[" + depth + "] ") + CleanText(text));
      }
      break;
    case ProgressItem::CurrDepth:
      state_.CurrDepth = text;
      break;
    case ProgressItem::PagesLoaded:
      state_.PagesLoaded = text;
      break;
    case ProgressItem::ImagesLoaded:
      state_.ImagesLoaded = text;
      break;
    case ProgressItem::BytesLoaded:
      state_.BytesLoaded = text;
      break;
  }
  Redraw();
}

void TerminalHost::CloseProgressWindow() {
  windowOpen_ = false;
}

void TerminalHost::EndRun() {
  if (mode_ != DisplayMode::Lines) return;
  WriteLine("Loaded: " + CleanText(state_.PagesLoaded) + " pages, " +
            CleanText(state_.ImagesLoaded) + " images and files, " + CleanText(state_.BytesLoaded) +
            " KB");
}

void TerminalHost::BriefReady(const std::string&, const std::string& summaryAddress) {
  if (!browser_) return;
  TerminalBrowserHost browserHost(err_);
  const BrowseResult shown = BrowseTo(summaryAddress, *browser_, browserHost);
  if (shown.Outcome == BrowseOutcome::ProgramNotStarted) err_ << shown.Message << '\n';
}

void TerminalHost::ShowError(const std::string& title, const std::string& text) {
  out_.flush();
  err_ << title << ": " << text << std::endl;
  // The message now stands below the block; a later redraw starts a new block under it.
  drawn_.clear();
}

// Moves the cursor up to the block's first line and writes each line over the old one, clearing
// what the old line had beyond it. Nothing is written when the block would not change.
void TerminalHost::Redraw() {
  if (mode_ != DisplayMode::Live || !windowOpen_) return;
  std::vector<std::string> lines = RenderProgressLines(state_, columns_());
  if (lines == drawn_) return;
  if (!drawn_.empty()) out_ << "\x1b[" << drawn_.size() << 'A';
  for (const std::string& line : lines)
    out_ << '\r' << line << "\x1b[K\n";
  out_.flush();
  drawn_ = std::move(lines);
}

void TerminalHost::WriteLine(const std::string& line) {
  if (line == lastLine_) return;
  lastLine_ = line;
  out_ << line << '\n';
  out_.flush();
}

}  // namespace gl::cli
