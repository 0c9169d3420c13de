#pragma once

#include <QList>
#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "browser/browse_to.h"
#include "core/entry_holder.h"
#include "core/settings.h"
#include "core/startup_layout.h"
#include "platform/settings_store.h"
#include "ui/brief_file_dialogs.h"
#include "ui/browse_function.h"
#include "ui/frame_actions.h"
#include "ui/prompter.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPrinter;

// TMDIFrame, the program's main window: the brief windows and bookmark windows in its area, the
// menus, tool bar and status bar, start-up and the file commands. It owns the settings, the entry
// holder and the printer, routes the brief and entry commands (cut, copy and paste among them) to
// the active brief window and copy to the active bookmark window, starts the runs, one at a time,
// and shows pages in the browser for every window.

namespace gl {

class TBkMarks;
class TGleanerForm;

struct FrameOptions {
  // The folder with the sample briefs in briefs/.
  std::filesystem::path ProgramFolder;
  // Questions and messages; none: the program's message dialogs over the main window.
  Prompter* Prompts = nullptr;
  // The file dialogs; none: Qt's.
  BriefFileDialogs* FileDialogs = nullptr;
  // Shows an address in the browser; none: the browser of the settings.
  BrowseFunction Browse;
  // Starts a run on a brief window; none: a generation thread of the main window's own.
  std::function<void(TGleanerForm&)> StartRun;
};

class TMDIFrame : public QMainWindow, public BrowserHost {
  Q_OBJECT
 public:
  // Reads the settings; a settings file that does not exist yet means a first start.
  explicit TMDIFrame(FrameOptions options);
  ~TMDIFrame() override;

  Settings& ProgramSettings() { return settings_; }
  const RecentBriefs& Recent() const { return recent_; }
  const FrameActions& Actions() const { return actions_; }
  // The open brief windows, the one in front last.
  QList<TGleanerForm*> Briefs() const;
  TGleanerForm* ActiveBrief() const;
  TBkMarks* ActiveBookmarks() const;

  // Once, at start: shows the main window where it was, opens the sample briefs on a first
  // start, reopens the briefs of the last exit, fills the recently used list, then opens the
  // brief files named on the command line.
  void FormActivate(const std::vector<std::filesystem::path>& commandLineFiles);

  // Opens a brief file in a new window; none when it is open already (the user is told) or does
  // not load (the loading error is shown).
  TGleanerForm* DoFileOpen(const std::filesystem::path& fileName,
                           const std::optional<WindowPlacement>& placement);
  void New1Click();
  void Open1Click();
  void Close1Click();
  void SaveAs1Click();
  void Preferences1Click();
  // "Import Bookmarks": the chosen bookmark file in a new bookmark window, or its loading error.
  void ImportHotlist1Click();
  // The print dialog, then the active brief on the printer chosen there.
  void PrintButtonClick();
  void PrintSetup1Click();

  // A new entry in the active brief for the page that the running browser shows.
  void GetBrowserURLClick();

  // Browser control's messages: the status bar, repainted at once, and the OK message box.
  void SetStatusText(const std::string& text) override;
  void ShowMessage(const UserMessage& message) override;

  // Writes the open briefs with their placements and the recently used briefs to the settings.
  void RememberFiles();
  // Enables the commands for the active brief window's state.
  void SetMenuStuff();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectActions();
  void PlaceFrame(const std::optional<WindowPlacement>& placement);
  void OpenSampleBriefs();
  void OpenCommandLineFile(const std::filesystem::path& fileName);
  TGleanerForm* CreateBriefWindow(TBriefDocument document,
                                  const std::optional<WindowPlacement>& placement);
  // The window that has this file open, whatever the letter case of the name.
  QMdiSubWindow* FindBrief(const std::filesystem::path& fileName) const;
  void ShowAlreadyOpen();
  // The save dialog of New and Save As; `current` names the brief being saved again.
  std::optional<std::filesystem::path> DoSaveAs(const std::filesystem::path& current);
  std::filesystem::path BriefFolder(bool forSaving) const;
  void UseRecent(const std::filesystem::path& fileName);
  void UpdateRecentMenu();
  void UpdateWindowMenu();
  bool AnyGenerating() const;
  // The printer that print set-up and printing share, made when first needed.
  QPrinter& Printer();
  // The brief window whose brief a run is generating; none when no run is going.
  TGleanerForm* RunningBrief() const;
  void StartGeneration(TGleanerForm& form);
  void RunEnded();
  void About1Click();

  std::filesystem::path programFolder_;
  std::unique_ptr<Prompter> ownPrompter_;
  Prompter* prompts_;
  std::unique_ptr<BriefFileDialogs> ownFileDialogs_;
  BriefFileDialogs* fileDialogs_;
  BrowseFunction browse_;
  std::function<void(TGleanerForm&)> startRun_;

  SettingsStore store_;
  Settings settings_;
  bool firstStart_ = false;
  bool activated_ = false;
  bool closeAfterRun_ = false;
  EntryHolder ClipEntry;
  RecentBriefs recent_;
  std::unique_ptr<QPrinter> printer_;

  QMdiArea* mdiArea_;
  FrameActions actions_;
  QAction* recentSeparator_;
  QList<QAction*> recentActions_;
  QLabel* statusText_;
};

}  // namespace gl
