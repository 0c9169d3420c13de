#include "ui/brief_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <system_error>

#include "core/brief_file.h"
#include "core/entry_sort.h"
#include "generate/archived_runs.h"
#include "platform/file_address.h"
#include "ui/brief_setup_dialog.h"
#include "ui/entry_rows.h"
#include "ui/entry_setup_dialog.h"
#include "ui/qt_text.h"
#include "ui/shell_texts.h"
#include "ui/tool_icons.h"
#include "ui/web_scroll_box.h"

namespace gl {

namespace st = shell_texts;

namespace {

// How often a changed brief file is looked at again while the window cannot take it up.
constexpr std::chrono::milliseconds kRetakeWait{250};

}  // namespace

TGleanerForm::TGleanerForm(TBriefDocument document, BriefWindowServices services, QWidget* parent)
    : QWidget(parent),
      document_(std::move(document)),
      watcher_(new QFileSystemWatcher(this)),
      services_(std::move(services)),
      folder_(document_.FileName.parent_path()) {
  setObjectName("GleanerForm");
  setWindowTitle(ToQString(CreateCaption(document_.FileName.string())));
  setWindowIcon(ToolIcon("x-office-document"));
  Rows = new TWebScrollBox(*this, document_.Brief, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(BuildHeaderPanel());
  layout->addWidget(Rows, 1);
  setFocusProxy(Rows);
  BuildMenus();
  ShowHeader();
  connect(&WebList(), &TWebList::SelectionChanged, this, &TGleanerForm::CommandsChanged);
  connect(&WebList(), &TWebList::EntryEdited, this, &TGleanerForm::EntryChanged);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &TGleanerForm::TakeUpChangedFile);
  WatchFile();
}

TGleanerForm::~TGleanerForm() {
  // The rows outlive this part of the window while it is taken down; an edit that their editor
  // gives up on the way must not reach it.
  disconnect(&WebList(), nullptr, this, nullptr);
}

QWidget* TGleanerForm::BuildHeaderPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("HeaderPanel");
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(8, 6, 8, 6);
  auto* caption = new QLabel("Brief:", panel);
  HeaderBriefName = new QLabel(panel);
  HeaderBriefName->setObjectName("HeaderBriefName");
  QFont bold = HeaderBriefName->font();
  bold.setBold(true);
  HeaderBriefName->setFont(bold);
  HeaderBriefName->setTextFormat(Qt::PlainText);
  HeaderActive = new QLabel(panel);
  HeaderActive->setObjectName("HeaderActive");
  layout->addWidget(caption);
  layout->addWidget(HeaderBriefName, 1);
  layout->addWidget(HeaderActive);
  return panel;
}

QAction* TGleanerForm::AddAction(const char* name, const char* caption,
                                 void (TGleanerForm::*handler)()) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, handler);
  return action;
}

void TGleanerForm::BuildMenus() {
  popup_.Properties1 = AddAction("Properties1", st::kWebSetup, &TGleanerForm::Properties1Click);
  popup_.PopupAddEntry =
      AddAction("PopupAddEntry", st::kAddEntry, &TGleanerForm::CreateWebEntryClick);
  popup_.PopupDeleteEntry =
      AddAction("PopupDeleteEntry", st::kDeleteEntry, &TGleanerForm::DeleteEntryClick);
  popup_.FetchPage1 =
      AddAction("FetchPage1", "Download &Original Page", &TGleanerForm::ViewPage1Click);
  popup_.Cut1 = AddAction("Cut1", st::kCut, &TGleanerForm::Cut1Click);
  popup_.Copy1 = AddAction("Copy1", st::kCopy, &TGleanerForm::Copy1Click);
  popup_.Paste1 = AddAction("Paste1", st::kPaste, &TGleanerForm::Paste1Click);
  popup_.Cut1->setShortcut(QKeySequence::Cut);
  popup_.Copy1->setShortcut(QKeySequence::Copy);
  popup_.Paste1->setShortcut(QKeySequence::Paste);
  for (QAction* action : {popup_.Cut1, popup_.Copy1, popup_.Paste1})
    action->setShortcutContext(Qt::WidgetShortcut);  // the main window's commands own the keys
  popup_.BriefProperties1 =
      AddAction("BriefProperties1", st::kBriefSetup, &TGleanerForm::BriefProperties1Click);
  popup_.ShowBrief1 = AddAction("ShowBrief1", st::kShowBrief, &TGleanerForm::ShowBriefClick);
  popup_.GenerateBriefs1 =
      AddAction("GenerateBriefs1", "&Generate Briefs", &TGleanerForm::GenerateBriefsClick);

  WebEntryMenu = new QMenu(this);
  WebEntryMenu->setObjectName("WebEntryMenu");
  WebEntryMenu->addActions({popup_.Properties1, popup_.FetchPage1});
  WebEntryMenu->addSeparator();
  WebEntryMenu->addActions({popup_.PopupAddEntry, popup_.PopupDeleteEntry});
  WebEntryMenu->addSeparator();
  WebEntryMenu->addActions({popup_.Cut1, popup_.Copy1, popup_.Paste1});

  BriefPopupMenu = new QMenu(this);
  BriefPopupMenu->setObjectName("BriefPopupMenu");
  BriefPopupMenu->addActions({popup_.BriefProperties1, popup_.ShowBrief1, popup_.GenerateBriefs1});
  BriefPopupMenu->addSeparator();
  BriefPopupMenu->addActions({popup_.PopupAddEntry, popup_.Paste1});
}

void TGleanerForm::UpdateMenus() {
  const BriefCommands commands = Commands();
  popup_.Properties1->setEnabled(commands.WebSetup);
  popup_.PopupAddEntry->setEnabled(commands.AddEntry);
  popup_.PopupDeleteEntry->setEnabled(commands.DeleteEntry);
  popup_.FetchPage1->setEnabled(commands.FetchPage);
  popup_.Cut1->setEnabled(commands.Cut);
  popup_.Copy1->setEnabled(commands.Copy);
  popup_.Paste1->setEnabled(commands.Paste);
  popup_.BriefProperties1->setEnabled(commands.BriefSetup);
  popup_.ShowBrief1->setEnabled(commands.ShowBrief);
  popup_.GenerateBriefs1->setEnabled(commands.Generate);
}

void TGleanerForm::ShowHeader() {
  HeaderBriefName->setText(ToQString(document_.Brief.Name));
  HeaderActive->setText(ToQString(StateText(document_.Brief)));
}

void TGleanerForm::SetFileName(const std::filesystem::path& fileName) {
  document_.FileName = fileName;
  setWindowTitle(ToQString(CreateCaption(fileName.string())));
  WatchFile();
}

std::optional<TGleanerForm::FileStamp> TGleanerForm::StampOf(const std::filesystem::path& file) {
  std::error_code error;
  FileStamp stamp{std::filesystem::last_write_time(file, error), 0};
  if (!error) stamp.Size = std::filesystem::file_size(file, error);
  if (error) return std::nullopt;
  return stamp;
}

void TGleanerForm::WatchFile() {
  // A save replaces the file, which ends the watch on the old one; Save As names another.
  if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
  knownStamp_ = StampOf(document_.FileName);
  if (knownStamp_) watcher_->addPath(QString::fromStdString(document_.FileName.string()));
}

void TGleanerForm::TakeUpChangedFile() {
  const std::optional<FileStamp> stamp = StampOf(document_.FileName);
  const QString path = QString::fromStdString(document_.FileName.string());
  if (stamp && !watcher_->files().contains(path)) watcher_->addPath(path);
  if (!stamp || stamp == knownStamp_ || document_.Brief.Generating) return;
  // A dialog, a question or the row editor may be working on an entry of this copy: the file is
  // taken up once they are done. (A run's end takes it up itself.)
  if (WebList().Editing() || QApplication::activeModalWidget() != nullptr) {
    QTimer::singleShot(kRetakeWait, this, &TGleanerForm::TakeUpChangedFile);
    return;
  }
  LoadResult loaded = ReadBriefs2(document_.FileName);
  if (!loaded.Loaded) return;  // damaged or gone: the window keeps its copy, and saves it next
  document_.Brief = std::move(loaded.Document.Brief);
  knownStamp_ = stamp;
  WebList().Reload();
  ShowHeader();
  emit CommandsChanged();
}

TWebList& TGleanerForm::WebList() const {
  return Rows->WebList();
}

BriefState TGleanerForm::State() const {
  BriefState state;
  state.HasEntries = WebList().Count() > 0;
  state.HasSelection = WebList().Selected() >= 0;
  state.HasArchive = !document_.Brief.ArchivePaths.empty();
  state.Generating = document_.Brief.Generating;
  state.HasClip = services_.Holder->HasClip();
  state.CanRun = services_.StartRun && !(services_.RunGoing && services_.RunGoing());
  return state;
}

bool TGleanerForm::SaveBriefs() {
  const SaveResult result = SaveBriefs2(document_);
  if (result.Outcome == SaveOutcome::Saved) {
    WatchFile();
    return true;
  }
  services_.Prompts->ShowError(result.Message.Title, result.Message.Text);
  return false;
}

void TGleanerForm::EntryChanged(int) {
  SaveBriefs();
}

void TGleanerForm::CreateWebEntryClick() {
  if (!Commands().AddEntry) return;
  WebList().Insert(WebList().Count());
  SaveBriefs();
  emit CommandsChanged();
}

void TGleanerForm::AddBrowserPage(const std::string& address, const std::string& title) {
  if (!Commands().AddEntry) return;
  const int index = WebList().Count();
  WebList().Insert(index);
  TWebEntry& entry = WebList().Entry(index);
  entry.URL = address;
  SetTypedName(entry, title);
  WebList().ShowEntry(index);
  SaveBriefs();
  emit CommandsChanged();
}

void TGleanerForm::DeleteCurrWebEntry(const char* verb) {
  if (!Commands().DeleteEntry) return;
  const UserMessage question = DeleteEntryQuestion(verb);
  if (!services_.Prompts->AskYesNo(question.Title, question.Text)) return;
  WebList().Delete(WebList().Selected());
  SaveBriefs();
  emit CommandsChanged();
}

void TGleanerForm::DeleteEntryClick() {
  DeleteCurrWebEntry(st::kDeleteVerb);
}

void TGleanerForm::Cut1Click() {
  if (!Commands().Cut) return;
  Copy1Click();
  DeleteCurrWebEntry(st::kCutVerb);
}

void TGleanerForm::Copy1Click() {
  if (!Commands().Copy) return;
  CopyWebEntryData(*services_.Holder);
  emit CommandsChanged();
}

void TGleanerForm::Paste1Click() {
  if (!Commands().Paste) return;
  InsertCopy(0, *services_.Holder);
}

void TGleanerForm::CopyWebEntryData(EntryHolder& holder) const {
  CopyRow(WebList().Selected(), holder);
}

void TGleanerForm::CopyRow(int index, EntryHolder& holder) const {
  holder.Copy(WebList().Entry(index), ToBytes(WebList().Row(index).DepthLabel()->text()));
}

void TGleanerForm::DoWebEntryPaste(const EntryHolder& holder) {
  ShowHeld(WebList().Selected(), holder);
  SaveBriefs();
}

void TGleanerForm::ShowHeld(int index, const EntryHolder& holder) {
  WebList().Entry(index) = holder.Entry();
  WebList().ShowEntry(index);
  WebList().SetDepthText(index, ToQString(holder.DepthText()));
}

void TGleanerForm::InsertCopy(int index, const EntryHolder& holder) {
  TWebList& list = WebList();
  list.Insert(index);
  const int selection = list.Selected();
  list.Select(index);
  DoWebEntryPaste(holder);
  if (selection >= 0) {
    list.Select(selection);
  } else {
    list.ClearSelection();
  }
  emit CommandsChanged();
}

void TGleanerForm::SortEntriesClick() {
  if (!Commands().Sort) return;
  WebList().Reorder(ExchangeSortOrder(document_.Brief.WebList));
  SaveBriefs();
}

void TGleanerForm::CheckMarkClick(int index) {
  if (document_.Brief.Generating) return;
  TWebEntry& entry = WebList().Entry(index);
  entry.Active = !entry.Active;
  WebList().ShowEntry(index);
  SaveBriefs();
}

void TGleanerForm::FinishDragDrop(TGleanerForm& source, int sourceIndex, int target, bool copy) {
  if (document_.Brief.Generating) return;
  TWebList& list = WebList();
  if (&source == this && !copy) {
    if (sourceIndex == target) return;
    list.Move(sourceIndex, target);
    SaveBriefs();
    return;
  }
  EntryHolder transfer;
  source.CopyRow(sourceIndex, transfer);
  InsertCopy(target, transfer);
  if (&source == this) {
    list.Select(target <= sourceIndex ? sourceIndex + 1 : sourceIndex);
  } else {
    list.Select(target);
  }
}

void TGleanerForm::DropEntries(const std::vector<EntryHolder>& entries, int target) {
  if (document_.Brief.Generating || entries.empty()) return;
  TWebList& list = WebList();
  for (std::size_t offset = 0; offset < entries.size(); ++offset) {
    const int index = target + static_cast<int>(offset);
    list.Insert(index);
    ShowHeld(index, entries[offset]);
  }
  list.Select(target);
  SaveBriefs();
  emit CommandsChanged();
}

void TGleanerForm::ViewPage1Click() {
  const int index = WebList().Selected();
  if (index < 0 || WebList().Entry(index).URL.empty()) return;
  services_.Browse(WebList().Entry(index).URL);
}

void TGleanerForm::ShowBriefClick() {
  const std::vector<std::string>& runs = document_.Brief.ArchivePaths;
  if (runs.empty()) return;
  const std::filesystem::path summary = ArchivePathOnDisk(folder_, runs.back());
  std::error_code error;
  if (!std::filesystem::is_regular_file(summary, error)) return;
  services_.Browse(FileAddressFromPath(summary));
}

void TGleanerForm::GenerateBriefsClick() {
  if (Commands().Generate) services_.StartRun(*this);
}

void TGleanerForm::Properties1Click() {
  TWebList& list = WebList();
  const int index = list.Selected();
  if (index < 0) return;
  list.CommitEdit();
  TWebProperties dialog(list.Entry(index), !document_.Brief.Generating, *services_.Prompts,
                        services_.DialogParent);
  dialog.exec();
  dialog.FinishEditing();
  list.ShowEntry(index);
  list.ShowDepth(index);
  SaveBriefs();
}

void TGleanerForm::BriefProperties1Click() {
  WebList().CommitEdit();
  TBriefOpts dialog(document_, document_.Brief.Generating, folder_, *services_.Prompts,
                    services_.Browse, services_.DialogParent);
  dialog.exec();
  if (!dialog.ApplyOnClose()) return;
  ShowHeader();
  SaveBriefs();
  emit CommandsChanged();
}

void TGleanerForm::ShowEntryMenu(const QPoint& globalPoint) {
  UpdateMenus();
  WebEntryMenu->popup(globalPoint);
}

void TGleanerForm::ShowBriefMenu(const QPoint& globalPoint) {
  UpdateMenus();
  BriefPopupMenu->popup(globalPoint);
}

void TGleanerForm::BeginRun() {
  WebList().CommitEdit();
  document_.Brief.Generating = true;
  emit CommandsChanged();
}

void TGleanerForm::EndRun() {
  document_.Brief.Generating = false;
  emit CommandsChanged();
}

void TGleanerForm::AttachRun(std::shared_ptr<RunHandle> run) {
  run_ = std::move(run);
}

void TGleanerForm::FinishRun(const RunReport& report, const NameCounters& names) {
  names_ = names;
  if (!report.ArchivePath.empty()) {
    document_.Brief.ArchivePaths.push_back(report.ArchivePath);
    document_.Brief.ArchiveStamps.push_back(report.ArchiveStamp);
  }
  run_.reset();
  EndRun();
  if (!closeAfterRun_) {
    // The run recorded itself in the file; whatever else was saved there meanwhile joins it.
    TakeUpChangedFile();
    return;
  }
  // Closed from the event loop, once whoever reported the end is done with this window.
  QWidget* window = qobject_cast<QMdiSubWindow*>(parentWidget());
  QMetaObject::invokeMethod(window != nullptr ? window : this, &QWidget::close,
                            Qt::QueuedConnection);
}

bool TGleanerForm::AskStopRun() {
  if (!services_.Prompts->AskYesNo(st::kStopBriefTitle, st::kStopBriefText)) return false;
  run_->RequestStop();
  return true;
}

void TGleanerForm::closeEvent(QCloseEvent* event) {
  // The run works for this window until it ends: the window closes once the user has stopped it
  // and it has ended.
  if (run_) {
    if (closeAfterRun_ || AskStopRun()) closeAfterRun_ = true;
    event->ignore();
    return;
  }
  WebList().CommitEdit();
  event->accept();
}

void TGleanerForm::contextMenuEvent(QContextMenuEvent* event) {
  ShowBriefMenu(event->globalPos());
}

}  // namespace gl
