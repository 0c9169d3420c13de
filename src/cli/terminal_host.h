#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
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
class TerminalHost final : public RunHost {
 public:
  using ColumnsSource = std::function<int()>;

  // The live display asks `columns` for the width on every redraw, so it follows a resize.
  TerminalHost(std::ostream& out, std::ostream& err, DisplayMode mode,
               ColumnsSource columns = TerminalColumns);

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
  void Redraw();
  void WriteLine(const std::string& line);

  std::ostream& out_;
  std::ostream& err_;
  DisplayMode mode_;
  ColumnsSource columns_;
  std::optional<Settings> browser_;

  ProgressState state_;
  std::vector<std::string> drawn_;  // the live block as it stands on the terminal
  bool windowOpen_ = false;
  std::string lastLine_;        // plain mode: the last line written, never repeated
  std::string briefAnnounced_;  // plain mode: the brief name already written
};

}  // namespace gl::cli
