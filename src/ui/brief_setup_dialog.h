#pragma once

#include <QDialog>
#include <filesystem>

#include "core/brief_record.h"
#include "ui/browse_function.h"
#include "ui/filled_text.h"
#include "ui/prompter.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

// "Brief Setup": a brief's name and comments, and the list of its archived runs (newest first),
// each of which can be shown in the browser or deleted from the disk. Opened read-only while the
// brief is being generated.
//
//   TBriefOpts dialog(document, document.Brief.Generating, document.FileName.parent_path(),
//                     prompter, browse, mainWindow);
//   dialog.exec();
//   if (dialog.ApplyOnClose()) { ...save the brief, refresh the window header }

namespace gl {

class TBriefOpts : public QDialog {
  Q_OBJECT
 public:
  // `archiveBase`: the folder that the brief's archive paths are relative to, the brief's folder,
  // also while a run is in progress (every run's path, the new one's too, is relative to it).
  TBriefOpts(TBriefDocument& document, bool generating, std::filesystem::path archiveBase,
             Prompter& prompter, BrowseFunction browse, QWidget* parent);

  // After the dialog closed: when it closed with OK and the brief is not being generated, takes
  // the name and comments into the brief. True when the caller must save the brief: it closed
  // with OK, or an archived run was deleted (its files are gone whatever button closed it).
  bool ApplyOnClose();

  // A row was selected: View and Delete (unless generating) become available.
  void ListBox2Click();
  void ListBox2DblClick();
  // Shows the selected run's summary page in the browser and closes with OK.
  void ViewBriefClick();
  // After a Yes to "Delete Archived Brief?", deletes the selected run's files and its row.
  void DeleteBriefClick();
  void HelpButtonClick();
  void ViewBriefHelpClick();

 private:
  // Each page's builder returns the page's default button.
  QPushButton* BuildPropertiesPage();
  QPushButton* BuildArchivePage();
  void FillArchiveList();
  void EnableArchiveButtons();
  // The index into the brief's archive lists of the selected row; -1 without a selection.
  int SelectedRun() const;

  TBriefDocument& document_;
  const bool generating_;
  const std::filesystem::path archiveBase_;
  Prompter& prompter_;
  BrowseFunction browse_;
  bool runDeleted_ = false;

  QTabWidget* notebook_ = nullptr;
  QLineEdit* BriefName = nullptr;
  QPlainTextEdit* BriefComments = nullptr;
  QTreeWidget* ListBox2 = nullptr;  // one row per run, the newest first
  QPushButton* ViewBrief = nullptr;
  QPushButton* DeleteBrief = nullptr;
  QPushButton* ViewBriefClose = nullptr;
  QPushButton* ViewBriefHelp = nullptr;

  FilledText nameText_;
  FilledText commentsText_;
};

}  // namespace gl
