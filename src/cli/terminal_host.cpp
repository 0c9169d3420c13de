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
                           ColumnsSource columns, ClockSource clock)
    : out_(out), err_(err), mode_(mode), columns_(std::move(columns)), clock_(std::move(clock)) {
  if (mode_ == DisplayMode::Live) lateDrawer_ = std::thread([this] { DrawLateChanges(); });
}

TerminalHost::~TerminalHost() {
  if (!lateDrawer_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  lateDrawer_.join();
}

void TerminalHost::SetStatusText(const std::string& text) {
  const std::lock_guard lock(mutex_);
  state_.Status = text;
  Redraw();
}

void TerminalHost::SetProgress(int percent) {
  const std::lock_guard lock(mutex_);
  state_.Percent = percent;
  Redraw();
}

void TerminalHost::OpenProgressWindow() {
  const std::lock_guard lock(mutex_);
  windowOpen_ = true;
  if (mode_ == DisplayMode::Live) Draw();
}

void TerminalHost::UpdateItem(ProgressItem item, const std::string& text) {
  const std::lock_guard lock(mutex_);
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

// The block keeps the window's last state on the terminal.
void TerminalHost::CloseProgressWindow() {
  const std::lock_guard lock(mutex_);
  if (changed_) Draw();
  windowOpen_ = false;
}

void TerminalHost::EndRun() {
  const std::lock_guard lock(mutex_);
  if (mode_ == DisplayMode::Quiet) return;
  WriteLine("Loaded: " + CleanText(state_.PagesLoaded) + " pages, " +
            CleanText(state_.ImagesLoaded) + " images and files, " + CleanText(state_.BytesLoaded) +
            " KB");
  drawn_.clear();  // the line stands below the block; a later block starts under it
}

void TerminalHost::BriefReady(const std::string&, const std::string& summaryAddress) {
  if (!browser_) return;
  TerminalBrowserHost browserHost(err_);
  const BrowseResult shown = BrowseTo(summaryAddress, *browser_, browserHost);
  const std::lock_guard lock(mutex_);
  if (shown.Outcome == BrowseOutcome::ProgramNotStarted) err_ << shown.Message << '\n';
}

void TerminalHost::ShowError(const std::string& title, const std::string& text) {
  const std::lock_guard lock(mutex_);
  out_.flush();
  err_ << title << ": " << text << std::endl;
  // The message now stands below the block; a later redraw starts a new block under it.
  drawn_.clear();
}

void TerminalHost::Redraw() {
  if (mode_ != DisplayMode::Live || !windowOpen_) return;
  changed_ = true;
  if (drawn_.empty() || clock_() - drawnAt_ >= kRedrawInterval) Draw();
}

// Moves the cursor up to the block's first line and writes each line over the old one, clearing
// what the old line had beyond it. Nothing is written when the block would not change.
void TerminalHost::Draw() {
  changed_ = false;
  std::vector<std::string> lines = RenderProgressLines(state_, columns_());
  if (lines == drawn_) return;
  drawnAt_ = clock_();
  if (!drawn_.empty()) out_ << "\x1b[" << drawn_.size() << 'A';
  for (const std::string& line : lines)
    out_ << '\r' << line << "\x1b[K\n";
  out_.flush();
  drawn_ = std::move(lines);
}

void TerminalHost::DrawLateChanges() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, kRedrawInterval);
    if (changed_ && windowOpen_ && clock_() - drawnAt_ >= kRedrawInterval) Draw();
  }
}

void TerminalHost::WriteLine(const std::string& line) {
  if (line == lastLine_) return;
  lastLine_ = line;
  out_ << line << '\n';
  out_.flush();
}

}  // namespace gl::cli
