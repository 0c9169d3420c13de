#include "ui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <system_error>

#include "core/bookmark_reader.h"
#include "core/brief_file.h"
#include "core/byte_text.h"
#include "core/settings_io.h"
#include "net/texts.h"
#include "platform/disk_space.h"
#include "ui/bookmarks_window.h"
#include "ui/brief_window.h"
#include "ui/entry_rows.h"
#include "ui/help.h"
#include "ui/message_dialogs.h"
#include "ui/preferences_dialog.h"
#include "ui/print_canvas.h"
#include "ui/qt_text.h"
#include "ui/run_thread.h"
#include "ui/shell_texts.h"
#include "ui/window_placement.h"

namespace gl {
namespace {

namespace st = shell_texts;

constexpr QSize kBriefWindowSize(560, 360);
constexpr QSize kBookmarksWindowSize(380, 460);

// Paths of the same brief compare equal whatever their form ("./a.brf") or letter case.
std::string BriefKey(const std::filesystem::path& fileName) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::weakly_canonical(fileName, error);
  return LowerAscii((error ? fileName : full).string());
}

TGleanerForm* FormOf(const QMdiSubWindow* window) {
  return window == nullptr ? nullptr : qobject_cast<TGleanerForm*>(window->widget());
}

}  // namespace

TMDIFrame::TMDIFrame(FrameOptions options)
    : programFolder_(std::move(options.ProgramFolder)),
      prompts_(options.Prompts),
      fileDialogs_(options.FileDialogs),
      browse_(std::move(options.Browse)),
      startRun_(std::move(options.StartRun)),
      store_(DefaultSettingsFile()),
      mdiArea_(new QMdiArea(this)) {
  setObjectName("MDIFrame");
  setWindowTitle(st::kProgramCaption);
  std::error_code error;
  firstStart_ = !std::filesystem::exists(store_.File(), error) ||
                ReadStartupValue(store_, settings_keys::kFirstStart) == "Yes";
  ReadSettings(store_, settings_);

  if (prompts_ == nullptr) {
    ownPrompter_ = std::make_unique<DialogPrompter>(this);
    prompts_ = ownPrompter_.get();
  }
  if (fileDialogs_ == nullptr) {
    ownFileDialogs_ = std::make_unique<QtBriefFileDialogs>(this);
    fileDialogs_ = ownFileDialogs_.get();
  }
  if (!browse_) {
    browse_ = [this](const std::string& address) {
      static_cast<void>(BrowseTo(address, settings_, *this));  // it has said what went wrong
    };
  }
  if (!startRun_) startRun_ = [this](TGleanerForm& form) { StartGeneration(form); };
  SetHelpBrowser(browse_);

  mdiArea_->setObjectName("MDIArea");
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  actions_ = BuildFrameActions(*this);
  recentSeparator_ = actions_.FileMenu->insertSeparator(actions_.Exit1);
  recentSeparator_->setVisible(false);

  QStatusBar* bar = statusBar();
  bar->setObjectName("GleanerStatusBar");
  statusText_ = new QLabel(bar);
  statusText_->setObjectName("StatusText");
  bar->addWidget(statusText_, 1);
  SetStatusText(std::string(texts::kIdleStatus));

  ConnectActions();
  SetMenuStuff();
}

TMDIFrame::~TMDIFrame() {
  SetHelpBrowser({});
}

void TMDIFrame::ConnectActions() {
  const auto onActive = [this](QAction* action, void (TGleanerForm::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] {
      if (TGleanerForm* form = ActiveBrief()) (form->*handler)();
    });
  };
  const FrameActions& a = actions_;
  connect(a.New1, &QAction::triggered, this, &TMDIFrame::New1Click);
  connect(a.Open1, &QAction::triggered, this, &TMDIFrame::Open1Click);
  connect(a.Close1, &QAction::triggered, this, &TMDIFrame::Close1Click);
  connect(a.SaveAs1, &QAction::triggered, this, &TMDIFrame::SaveAs1Click);
  connect(a.Exit1, &QAction::triggered, this, &QWidget::close);
  connect(a.Preferences1, &QAction::triggered, this, &TMDIFrame::Preferences1Click);
  connect(a.ImportHotlist1, &QAction::triggered, this, &TMDIFrame::ImportHotlist1Click);
  connect(a.Print1, &QAction::triggered, this, &TMDIFrame::PrintButtonClick);
  connect(a.PrintSetup1, &QAction::triggered, this, &TMDIFrame::PrintSetup1Click);
  connect(a.GetBrowserURL, &QAction::triggered, this, &TMDIFrame::GetBrowserURLClick);
  onActive(a.Cut1, &TGleanerForm::Cut1Click);
  connect(a.Copy1, &QAction::triggered, this, [this] {
    if (TBkMarks* bookmarks = ActiveBookmarks()) {
      bookmarks->Copy1Click();
    } else if (TGleanerForm* form = ActiveBrief()) {
      form->Copy1Click();
    }
  });
  onActive(a.Paste1, &TGleanerForm::Paste1Click);
  onActive(a.GenerateBriefs, &TGleanerForm::GenerateBriefsClick);
  onActive(a.ShowBrief, &TGleanerForm::ShowBriefClick);
  onActive(a.BriefSetup1, &TGleanerForm::BriefProperties1Click);
  onActive(a.CreateWebEntry, &TGleanerForm::CreateWebEntryClick);
  onActive(a.DeleteEntry1, &TGleanerForm::DeleteEntryClick);
  onActive(a.WebSetup1, &TGleanerForm::Properties1Click);
  onActive(a.SortEntries, &TGleanerForm::SortEntriesClick);
  connect(a.Cascade1, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
  connect(a.Tile1, &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);
  connect(a.Contents1, &QAction::triggered, this, [] { ShowHelp(help_context::kContents); });
  connect(a.About1, &QAction::triggered, this, &TMDIFrame::About1Click);
  connect(a.WindowMenu, &QMenu::aboutToShow, this, &TMDIFrame::UpdateWindowMenu);
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TMDIFrame::SetMenuStuff);
}

QList<TGleanerForm*> TMDIFrame::Briefs() const {
  QList<TGleanerForm*> forms;
  for (const QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::StackingOrder))
    if (TGleanerForm* form = FormOf(window)) forms.append(form);
  return forms;
}

TGleanerForm* TMDIFrame::ActiveBrief() const {
  return FormOf(mdiArea_->activeSubWindow());
}

TBkMarks* TMDIFrame::ActiveBookmarks() const {
  const QMdiSubWindow* window = mdiArea_->activeSubWindow();
  return window == nullptr ? nullptr : qobject_cast<TBkMarks*>(window->widget());
}

bool TMDIFrame::AnyGenerating() const {
  for (const TGleanerForm* form : Briefs())
    if (form->State().Generating) return true;
  return false;
}

TGleanerForm* TMDIFrame::RunningBrief() const {
  for (TGleanerForm* form : Briefs())
    if (form->HasRun()) return form;
  return nullptr;
}

// With a bookmark window in front no brief is active: only copy works on it.
void TMDIFrame::SetMenuStuff() {
  const TGleanerForm* form = ActiveBrief();
  const TBkMarks* bookmarks = ActiveBookmarks();
  const BriefCommands commands = form != nullptr ? form->Commands() : BriefCommands{};
  const FrameActions& a = actions_;
  a.Close1->setEnabled(commands.Close);
  a.SaveAs1->setEnabled(commands.SaveAs);
  a.GenerateBriefs->setEnabled(commands.Generate);
  a.ShowBrief->setEnabled(commands.ShowBrief);
  a.BriefSetup1->setEnabled(commands.BriefSetup);
  a.Cut1->setEnabled(commands.Cut);
  a.Copy1->setEnabled(bookmarks != nullptr ? bookmarks->CanCopy() : commands.Copy);
  a.Paste1->setEnabled(commands.Paste);
  a.CreateWebEntry->setEnabled(commands.AddEntry);
  a.DeleteEntry1->setEnabled(commands.DeleteEntry);
  a.WebSetup1->setEnabled(commands.WebSetup);
  a.SortEntries->setEnabled(commands.Sort);
  a.Print1->setEnabled(commands.Print);
  a.GetBrowserURL->setEnabled(commands.AddEntry);
  const bool anyWindow = !mdiArea_->subWindowList().isEmpty();
  a.Cascade1->setEnabled(anyWindow);
  a.Tile1->setEnabled(anyWindow);
}

QMdiSubWindow* TMDIFrame::FindBrief(const std::filesystem::path& fileName) const {
  const std::string key = BriefKey(fileName);
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    const TGleanerForm* form = FormOf(window);
    if (form != nullptr && BriefKey(form->FileName()) == key) return window;
  }
  return nullptr;
}

void TMDIFrame::ShowAlreadyOpen() {
  prompts_->ShowError(st::kAlreadyOpenTitle, st::kAlreadyOpenText);
}

TGleanerForm* TMDIFrame::DoFileOpen(const std::filesystem::path& fileName,
                                    const std::optional<WindowPlacement>& placement) {
  const std::filesystem::path file = std::filesystem::absolute(fileName);
  if (FindBrief(file) != nullptr) {
    ShowAlreadyOpen();
    return nullptr;
  }
  LoadResult loaded = ReadBriefs2(file);
  if (!loaded.Loaded) {
    if (!loaded.Message.Empty()) prompts_->ShowError(loaded.Message.Title, loaded.Message.Text);
    return nullptr;
  }
  TGleanerForm* form = CreateBriefWindow(std::move(loaded.Document), placement);
  UseRecent(file);
  return form;
}

TGleanerForm* TMDIFrame::CreateBriefWindow(TBriefDocument document,
                                           const std::optional<WindowPlacement>& placement) {
  BriefWindowServices services;
  services.Prompts = prompts_;
  services.Holder = &ClipEntry;
  services.Browse = browse_;
  services.StartRun = startRun_;
  services.RunGoing = [this] { return RunningBrief() != nullptr; };
  services.DialogParent = this;
  auto* form = new TGleanerForm(std::move(document), std::move(services));
  QMdiSubWindow* window = mdiArea_->addSubWindow(form);
  window->setAttribute(Qt::WA_DeleteOnClose);
  connect(form, &TGleanerForm::CommandsChanged, this, &TMDIFrame::SetMenuStuff);
  connect(form, &QWidget::windowTitleChanged, this, &TMDIFrame::SetMenuStuff);
  if (placement) {
    const QRect area(QPoint(0, 0), mdiArea_->viewport()->size());
    ApplyPlacement(*window, *placement, {area}, area);
  } else {
    window->resize(kBriefWindowSize.boundedTo(mdiArea_->viewport()->size()));
    window->show();
  }
  mdiArea_->setActiveSubWindow(window);
  SetMenuStuff();
  return form;
}

std::filesystem::path TMDIFrame::BriefFolder(bool forSaving) const {
  std::error_code error;
  const std::filesystem::path briefs = programFolder_ / "briefs";
  const std::filesystem::path folder =
      std::filesystem::is_directory(briefs, error) ? briefs : programFolder_;
  // An installed program's folders are read-only: new briefs go to the user's home instead.
  if (forSaving && !QFileInfo(PathToQString(folder)).isWritable())
    return QStringToPath(QDir::homePath());
  return folder;
}

std::optional<std::filesystem::path> TMDIFrame::DoSaveAs(const std::filesystem::path& current) {
  const QString name = PathToQString(current.filename());
  const QString title = current.empty() ? QString("Save As") : "Save " + name + " As";
  std::optional<std::filesystem::path> chosen =
      fileDialogs_->ChooseBriefToSave(title, BriefFolder(true), name);
  if (chosen) chosen = std::filesystem::absolute(*chosen);
  return chosen;
}

void TMDIFrame::New1Click() {
  const std::optional<std::filesystem::path> fileName = DoSaveAs({});
  if (!fileName) return;
  if (FindBrief(*fileName) != nullptr) {
    ShowAlreadyOpen();
    return;
  }
  TBriefDocument document;
  document.FileName = *fileName;
  CreateNewBrief(document.Brief);
  CreateBriefWindow(std::move(document), std::nullopt)->SaveBriefs();
  UseRecent(*fileName);
}

void TMDIFrame::Open1Click() {
  if (const std::optional<std::filesystem::path> fileName =
          fileDialogs_->ChooseBriefToOpen(BriefFolder(false)))
    DoFileOpen(*fileName, std::nullopt);
}

void TMDIFrame::Close1Click() {
  mdiArea_->closeActiveSubWindow();
}

void TMDIFrame::SaveAs1Click() {
  TGleanerForm* form = ActiveBrief();
  if (form == nullptr || !form->Commands().SaveAs) return;
  const std::optional<std::filesystem::path> fileName = DoSaveAs(form->FileName());
  if (!fileName) return;
  const QMdiSubWindow* holder = FindBrief(*fileName);
  if (holder != nullptr && FormOf(holder) != form) {
    ShowAlreadyOpen();
    return;
  }
  form->SetFileName(*fileName);
  form->SaveBriefs();
  UseRecent(*fileName);
}

void TMDIFrame::Preferences1Click() {
  TGLPrefs dialog(settings_, store_, AnyGenerating(), *prompts_, this);
  dialog.exec();
}

void TMDIFrame::ImportHotlist1Click() {
  const std::optional<std::filesystem::path> fileName =
      fileDialogs_->ChooseBookmarks(QStringToPath(QDir::homePath()));
  if (!fileName) return;
  BookmarkLoadResult loaded = LoadBookmarks(*fileName);
  if (!loaded.Loaded) {
    prompts_->ShowError(loaded.Message.Title, loaded.Message.Text);
    return;
  }
  auto* bookmarks = new TBkMarks(std::move(loaded.Tree), ClipEntry);
  QMdiSubWindow* window = mdiArea_->addSubWindow(bookmarks);
  window->setAttribute(Qt::WA_DeleteOnClose);
  connect(bookmarks, &TBkMarks::CommandsChanged, this, &TMDIFrame::SetMenuStuff);
  window->resize(kBookmarksWindowSize.boundedTo(mdiArea_->viewport()->size()));
  window->show();
  mdiArea_->setActiveSubWindow(window);
  SetMenuStuff();
}

QPrinter& TMDIFrame::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void TMDIFrame::PrintButtonClick() {
  TGleanerForm* form = ActiveBrief();
  if (form == nullptr || !form->Commands().Print) return;
  form->WebList().CommitEdit();
  QPrintDialog dialog(&Printer(), this);
  dialog.setObjectName("GleanerPrinterDialog");
  // The brief is printed whole: there are no pages to pick before it is laid out.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!PrintBriefOn(Printer(), form->Document().Brief))
    prompts_->ShowError(st::kPrintErrorTitle, st::kPrintErrorText);
}

void TMDIFrame::PrintSetup1Click() {
  QPageSetupDialog dialog(&Printer(), this);
  dialog.setObjectName("GleanerPrinterSetup");
  dialog.exec();
}

void TMDIFrame::UpdateWindowMenu() {
  QMenu& menu = *actions_.WindowMenu;
  menu.clear();
  menu.addActions({actions_.Cascade1, actions_.Tile1});
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  if (!windows.isEmpty()) menu.addSeparator();
  for (int i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows[i];
    const TGleanerForm* form = FormOf(window);
    QString name = form != nullptr ? PathToQString(form->FileName()) : window->windowTitle();
    QAction* item = menu.addAction(QString("&%1 %2").arg(i + 1).arg(name.replace("&", "&&")));
    item->setCheckable(true);
    item->setChecked(window == mdiArea_->activeSubWindow());
    connect(item, &QAction::triggered, mdiArea_,
            [this, window] { mdiArea_->setActiveSubWindow(window); });
  }
}

void TMDIFrame::GetBrowserURLClick() {
  TGleanerForm* form = ActiveBrief();
  if (form == nullptr || !form->Commands().AddEntry) return;
  if (const std::optional<BrowserPage> page = CurrentBrowserPage(settings_))
    form->AddBrowserPage(page->Address, page->Title);
}

void TMDIFrame::SetStatusText(const std::string& text) {
  statusText_->setText(ToQString(text));
  statusText_->repaint();
}

void TMDIFrame::ShowMessage(const UserMessage& message) {
  prompts_->ShowError(message.Title, message.Text);
}

void TMDIFrame::StartGeneration(TGleanerForm& form) {
  if (RunningBrief() != nullptr) return;
  RunServices services;
  services.Prompts = prompts_;
  services.Browse = browse_;
  services.SetStatusText = [this](const std::string& text) { SetStatusText(text); };
  services.MainWindow = this;
  services.Leaving = [this] { return closeAfterRun_; };
  services.RunSettings = settings_;
  services.Environment.ProgramDirectory = programFolder_;
  services.Environment.FreeSpace = FreeDiskBytes;
  auto* run = new TGleanerThread(form, std::move(services));
  connect(run, &TGleanerThread::Ended, this, &TMDIFrame::RunEnded);
  SetMenuStuff();
}

void TMDIFrame::RunEnded() {
  SetMenuStuff();
  if (closeAfterRun_) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TMDIFrame::About1Click() {
  QMessageBox::about(this, "About Gleaner-Light",
                     "<h3>Gleaner-Light " + QApplication::applicationVersion() +
                         "</h3><p>Offline digests of web sites.</p>");
}

void TMDIFrame::closeEvent(QCloseEvent* event) {
  // A run ends before the program does: once the user has stopped it, the program closes when
  // it has ended.
  if (TGleanerForm* running = RunningBrief()) {
    event->ignore();
    if (closeAfterRun_ || running->ClosingAfterRun() || running->AskStopRun())
      closeAfterRun_ = true;
    return;
  }
  RememberFiles();
  mdiArea_->closeAllSubWindows();
  event->accept();
}

}  // namespace gl
