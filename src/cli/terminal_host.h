#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/progress_display.h"
#include "core/settings.h"
#include "generate/run_host.h"

namespace gl::cli {

enum class DisplayMode {
  Live,   // a progress block redrawn in place: standard output is a terminal
  Lines,  // plain log lines without control codes: output goes to a file or a pipe
  Quiet   // nothing but errors
};

// True when `out` is this process's standard output or error and that is a terminal.
bool IsTerminal(const std::ostream& out);

// The width of the terminal on standard output; 80 when it cannot be read.
int TerminalColumns();

// The command line's run host: progress goes to `out` in the chosen mode, errors to `err`.
//
// The live block is redrawn at most once in kRedrawInterval, however fast a run reports its
// steps: a change within the interval after a redraw is drawn when it has passed, by the next
// step or, when the run is waiting, by a small thread of the host. When the run ends the block
// shows its final state and the "Loaded:" line follows it.
class TerminalHost final : public RunHost {
 public:
  using ColumnsSource = std::function<int()>;
  using Clock = std::chrono::steady_clock;
  using ClockSource = std::function<Clock::time_point()>;

  static constexpr std::chrono::milliseconds kRedrawInterval{50};

  // The live display asks `columns` for the width on every redraw, so it follows a resize, and
  // `clock` for the time, which tests set.
  TerminalHost(std::ostream& out, std::ostream& err, DisplayMode mode,
               ColumnsSource columns = TerminalColumns, ClockSource clock = Clock::now);
  TerminalHost(const TerminalHost&) = delete;
  TerminalHost& operator=(const TerminalHost&) = delete;
  ~TerminalHost() override;

  // Shows the summary page in the browser of `settings` once the brief is ready (`--open`).
  void OpenWhenReady(const Settings& settings) { browser_ = settings; }

  void SetStatusText(const std::string& text) override;
  void SetProgress(int percent) override;
  void BeginRun() override {}
  void EndRun() override;
  void OpenProgressWindow() override;
  void UpdateItem(ProgressItem item, const std::string& text) override;
  void CloseProgressWindow() override;
  void BriefReady(const std::string& briefName, const std::string& summaryAddress) override;
  void ShowError(const std::string& title, const std::string& text) override;

 private:
  // The live block's state changed: redraws it unless it was redrawn within the interval.
  void Redraw();
  // Redraws the live block now. The caller holds mutex_.
  void Draw();
  // The live display's thread: draws a change that waited for the interval.
  void DrawLateChanges();
  void WriteLine(const std::string& line);

  std::ostream& out_;
  std::ostream& err_;
  DisplayMode mode_;
  ColumnsSource columns_;
  std::optional<Settings> browser_;
  ClockSource clock_;

  // Everything below is shared with the live display's thread.
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread lateDrawer_;
  ProgressState state_;
  std::vector<std::string> drawn_;  // the live block as it stands on the terminal
  Clock::time_point drawnAt_{};
  bool changed_ = false;  // the state differs from the block drawn
  bool windowOpen_ = false;
  std::string lastLine_;        // plain mode: the last line written, never repeated
  std::string briefAnnounced_;  // plain mode: the brief name already written
};

}  // namespace gl::cli
