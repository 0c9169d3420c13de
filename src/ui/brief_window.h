#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/brief_record.h"
#include "core/entry_holder.h"
#include "generate/generate_brief.h"
#include "ui/browse_function.h"
#include "ui/command_state.h"
#include "ui/prompter.h"

class QAction;
class QFileSystemWatcher;
class QLabel;
class QMenu;

// TGleanerForm, the brief window: a header with the brief's name and state, the column header
// and one row per web entry. It owns its brief and saves it to its file after every change, and
// takes up what another program (the command line) saved to the file meanwhile, so that its
// next save does not undo it.

namespace gl {

class TGleanerForm;
class TWebList;
class TWebScrollBox;

// What a brief window takes from the main window.
struct BriefWindowServices {
  Prompter* Prompts = nullptr;
  EntryHolder* Holder = nullptr;
  BrowseFunction Browse;
  // Starts a run on the window's brief; empty while the desktop cannot run briefs.
  std::function<void(TGleanerForm&)> StartRun;
  // Whether a run is going in any window: one run at a time, since Stop and Skip are
  // program-wide. None: never.
  std::function<bool()> RunGoing;
  // The window that dialogs are centred over.
  QWidget* DialogParent = nullptr;
};

class TGleanerForm : public QWidget {
  Q_OBJECT
 public:
  // `document` has its file name: every window's brief lives in a file.
  TGleanerForm(TBriefDocument document, BriefWindowServices services, QWidget* parent = nullptr);
  ~TGleanerForm() override;

  const TBriefDocument& Document() const { return document_; }
  const std::filesystem::path& FileName() const { return document_.FileName; }
  // The base of the brief's archive paths: the folder the brief was opened or made in.
  const std::filesystem::path& Folder() const { return folder_; }
  // Save As: a new file and caption; the archive folder stays.
  void SetFileName(const std::filesystem::path& fileName);

  TWebList& WebList() const;
  BriefState State() const;
  BriefCommands Commands() const { return CommandsFor(State()); }

  // Writes the brief to its file. A failure shows the saving error; the window keeps the brief
  // as it is, and the file on disk stays as it was.
  bool SaveBriefs();

  void CreateWebEntryClick();
  // A new last entry for a page the browser shows, named after its title, then saved.
  void AddBrowserPage(const std::string& address, const std::string& title);
  // Asks "<verb> a Web Entry"; on Yes deletes the selected entry and saves.
  void DeleteCurrWebEntry(const char* verb);
  // The delete command: DeleteCurrWebEntry with the verb "Delete".
  void DeleteEntryClick();
  void Cut1Click();
  void Copy1Click();
  // A copy of the held entry becomes the first row.
  void Paste1Click();
  void CopyWebEntryData(EntryHolder& holder) const;
  void DoWebEntryPaste(const EntryHolder& holder);
  void SortEntriesClick();
  // A click on a row's check mark: toggles Active and saves, unless the brief is generating.
  void CheckMarkClick(int index);
  // A row of `source` (this window or another) was dropped on row `target`.
  void FinishDragDrop(TGleanerForm& source, int sourceIndex, int target, bool copy);
  // Entries from outside the brief windows (bookmarks) were dropped on row `target`: they become
  // new rows from there on, in their order, the first of them selected; the brief is saved once.
  void DropEntries(const std::vector<EntryHolder>& entries, int target);
  // Shows the selected entry's page in the browser.
  void ViewPage1Click();
  // Shows the brief's latest archived run in the browser, when there is one on disk.
  void ShowBriefClick();
  void GenerateBriefsClick();
  void Properties1Click();
  void BriefProperties1Click();
  void ShowEntryMenu(const QPoint& globalPoint);
  void ShowBriefMenu(const QPoint& globalPoint);

  // A run started or ended on this brief: while it works the brief is read-only.
  void BeginRun();
  void EndRun();

  // The counters that name a run's files carry on from run to run while the window is open.
  const NameCounters& Names() const { return names_; }
  // A run starts working on this brief: the window cannot close until it has ended.
  void AttachRun(std::shared_ptr<RunHandle> run);
  // The run has ended: the run it recorded in the brief file joins this window's copy, the name
  // counters go on from where it left them, and the brief becomes editable again. A window that
  // was asked to close meanwhile closes now.
  void FinishRun(const RunReport& report, const NameCounters& names);
  // During a run: asks "Stop Brief?" and on Yes stops the run; true for Yes.
  bool AskStopRun();
  bool HasRun() const { return run_ != nullptr; }
  bool ClosingAfterRun() const { return closeAfterRun_; }

 signals:
  // The enabled state of the brief and entry commands may have changed.
  void CommandsChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* BuildHeaderPanel();
  void BuildMenus();
  QAction* AddAction(const char* name, const char* caption, void (TGleanerForm::*handler)());
  void UpdateMenus();
  void ShowHeader();
  // The entry of row `index` with the text of its depth column.
  void CopyRow(int index, EntryHolder& holder) const;
  // Row `index` takes the held entry and its depth text.
  void ShowHeld(int index, const EntryHolder& holder);
  // A copy of the held entry at `index`, then saved. The selection stays on its row.
  void InsertCopy(int index, const EntryHolder& holder);
  void EntryChanged(int index);
  // Loads the brief again when its file is not what this window last saved or loaded, unless
  // the brief is generating or a row is being edited: then its own copy is the one that counts.
  void TakeUpChangedFile();
  // Watches the brief's file, which each save replaces, and notes what it is now.
  void WatchFile();

  // When the file was last written and its size: a file that another program saved differs.
  struct FileStamp {
    std::filesystem::file_time_type Written;
    std::uintmax_t Size = 0;
    bool operator==(const FileStamp&) const = default;
  };
  static std::optional<FileStamp> StampOf(const std::filesystem::path& file);

  TBriefDocument document_;
  QFileSystemWatcher* watcher_;
  std::optional<FileStamp> knownStamp_;  // of the file as this window last saved or loaded it
  BriefWindowServices services_;
  std::filesystem::path folder_;
  NameCounters names_;
  std::shared_ptr<RunHandle> run_;
  bool closeAfterRun_ = false;
  QLabel* HeaderBriefName;
  QLabel* HeaderActive;
  TWebScrollBox* Rows;
  QMenu* WebEntryMenu;
  QMenu* BriefPopupMenu;
  struct PopupActions {
    QAction* Properties1;
    QAction* PopupAddEntry;
    QAction* PopupDeleteEntry;
    QAction* FetchPage1;
    QAction* Cut1;
    QAction* Copy1;
    QAction* Paste1;
    QAction* BriefProperties1;
    QAction* ShowBrief1;
    QAction* GenerateBriefs1;
  } popup_{};
};

}  // namespace gl
