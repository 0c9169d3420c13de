#include "ui/brief_setup_dialog.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "generate/archived_runs.h"
#include "platform/file_address.h"
#include "ui/dialog_layout.h"
#include "ui/dialog_texts.h"
#include "ui/help.h"
#include "ui/stamp_delegate.h"

namespace gl {
namespace {

constexpr std::string_view kDeleteTitle = "Delete Archived Brief?";
constexpr std::string_view kDeleteQuestion = "Are you sure you want to delete this archived brief?";

// The date column ends before the time column's hours, at this x in the designed layout.
constexpr int kDateColumnWidth = 100;

}  // namespace

TBriefOpts::TBriefOpts(TBriefDocument& document, bool generating, std::filesystem::path archiveBase,
                       Prompter& prompter, BrowseFunction browse, QWidget* parent)
    : QDialog(parent),
      document_(document),
      generating_(generating),
      archiveBase_(std::move(archiveBase)),
      prompter_(prompter),
      browse_(std::move(browse)) {
  setWindowTitle(QStringLiteral("Brief Setup"));
  notebook_ = new QTabWidget;
  (new QVBoxLayout(this))->addWidget(notebook_);
  FollowPageDefaults(*notebook_, {BuildPropertiesPage(), BuildArchivePage()});

  nameText_ = FilledText::Fill(*BriefName, document_.Brief.Name);
  commentsText_ = FilledText::Fill(*BriefComments, document_.Brief.Comments);
  FillArchiveList();
  if (generating_) {
    SetEnabledWithLabel(*BriefName, false);
    SetEnabledWithLabel(*BriefComments, false);
  }
}

QPushButton* TBriefOpts::BuildPropertiesPage() {
  const DialogPage page = AddDialogPage(*notebook_, "Properties");
  QFormLayout& group = AddGroup(*page.Body, "Information ");
  BriefName = AddLabelledField<QLineEdit>(group, "&Brief:", "BriefName");
  BriefName->setMaxLength(static_cast<int>(kMaxBriefNameCharacters));
  BriefName->setMinimumWidth(BriefName->fontMetrics().averageCharWidth() * 40);
  BriefComments = AddLabelledField<QPlainTextEdit>(group, "Comments:", "BriefComments");
  BriefComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  BriefComments->setTabChangesFocus(true);

  QPushButton* ok = AddPageButton(page, texts::kOK, "ApplyButton", QDialogButtonBox::AcceptRole);
  QPushButton* cancel =
      AddPageButton(page, texts::kCancel, "CancelButton", QDialogButtonBox::RejectRole);
  QPushButton* help = AddPageButton(page, texts::kHelp, "HelpButton", QDialogButtonBox::HelpRole);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &TBriefOpts::HelpButtonClick);
  return ok;
}

QPushButton* TBriefOpts::BuildArchivePage() {
  const DialogPage page = AddDialogPage(*notebook_, "Archived Briefs");
  QFormLayout& group = AddGroup(*page.Body, "Brief List ");
  ListBox2 = new QTreeWidget;
  ListBox2->setObjectName("ListBox2");
  ListBox2->setColumnCount(2);
  ListBox2->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Time")});
  ListBox2->setRootIsDecorated(false);
  ListBox2->setIndentation(0);
  ListBox2->setUniformRowHeights(true);
  ListBox2->setItemDelegate(new StampDelegate(ListBox2));
  QHeaderView* header = ListBox2->header();
  header->setSectionsMovable(false);
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->resizeSection(0, qRound(kDateColumnWidth * StampColumnScale(ListBox2->fontMetrics())));
  group.addRow(ListBox2);
  connect(ListBox2, &QTreeWidget::itemSelectionChanged, this, &TBriefOpts::ListBox2Click);
  connect(ListBox2, &QTreeWidget::itemDoubleClicked, this, &TBriefOpts::ListBox2DblClick);

  // View and Delete act on the list; Close ends the dialog like the other page's OK.
  ViewBrief = AddPageButton(page, "&View Brief", "ViewBrief", QDialogButtonBox::ActionRole);
  DeleteBrief = AddPageButton(page, "&Delete Brief", "DeleteBrief", QDialogButtonBox::ActionRole);
  ViewBriefClose = AddPageButton(page, "&Close", "ViewBriefClose", QDialogButtonBox::AcceptRole);
  ViewBriefHelp = AddPageButton(page, texts::kHelp, "ViewBriefHelp", QDialogButtonBox::HelpRole);
  connect(ViewBrief, &QPushButton::clicked, this, &TBriefOpts::ViewBriefClick);
  connect(DeleteBrief, &QPushButton::clicked, this, &TBriefOpts::DeleteBriefClick);
  connect(ViewBriefClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(ViewBriefHelp, &QPushButton::clicked, this, &TBriefOpts::ViewBriefHelpClick);
  return ViewBrief;
}

void TBriefOpts::FillArchiveList() {
  const TBriefRecord& brief = document_.Brief;
  for (std::size_t run = brief.ArchivePaths.size(); run-- > 0;) {
    const std::string& stamp = run < brief.ArchiveStamps.size() ? brief.ArchiveStamps[run] : "";
    auto* row = new QTreeWidgetItem(ListBox2, {ToQString(stamp)});
    row->setData(0, StampDelegate::StampRole,
                 QByteArray(stamp.data(), static_cast<qsizetype>(stamp.size())));
    row->setFirstColumnSpanned(true);
  }
  EnableArchiveButtons();
}

void TBriefOpts::EnableArchiveButtons() {
  const bool selected = SelectedRun() >= 0;
  ListBox2->setEnabled(ListBox2->topLevelItemCount() > 0);
  ViewBrief->setEnabled(selected);
  DeleteBrief->setEnabled(selected && !generating_);
}

int TBriefOpts::SelectedRun() const {
  QTreeWidgetItem* row = ListBox2->currentItem();
  if (row == nullptr || !row->isSelected()) return -1;
  return ListBox2->topLevelItemCount() - 1 - ListBox2->indexOfTopLevelItem(row);
}

void TBriefOpts::ListBox2Click() {
  EnableArchiveButtons();
}

void TBriefOpts::ListBox2DblClick() {
  if (SelectedRun() >= 0) ViewBriefClick();
}

void TBriefOpts::ViewBriefClick() {
  const int run = SelectedRun();
  if (run < 0) return;
  if (browse_)
    browse_(
        FileAddressFromPath(ArchivePathOnDisk(archiveBase_, document_.Brief.ArchivePaths[run])));
  accept();
}

void TBriefOpts::DeleteBriefClick() {
  const int run = SelectedRun();
  if (run < 0 || generating_ || !prompter_.AskYesNo(kDeleteTitle, kDeleteQuestion)) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (QPushButton* button : {ViewBrief, DeleteBrief, ViewBriefClose, ViewBriefHelp})
    button->setEnabled(false);

  const int row = ListBox2->indexOfTopLevelItem(ListBox2->currentItem());
  DeleteArchivedRun(document_, static_cast<std::size_t>(run));
  runDeleted_ = true;
  delete ListBox2->takeTopLevelItem(row);
  if (const int rows = ListBox2->topLevelItemCount(); rows > 0)
    ListBox2->setCurrentItem(ListBox2->topLevelItem(std::min(row, rows - 1)));

  ViewBriefClose->setEnabled(true);
  ViewBriefHelp->setEnabled(true);
  EnableArchiveButtons();
  QApplication::restoreOverrideCursor();
}

void TBriefOpts::HelpButtonClick() {
  ShowHelp(help_context::kBriefProperties);
}

void TBriefOpts::ViewBriefHelpClick() {
  ShowHelp(help_context::kArchivedBriefs);
}

bool TBriefOpts::ApplyOnClose() {
  if (result() != QDialog::Accepted || generating_) return runDeleted_;
  document_.Brief.Name = nameText_.Take(BriefName->text());
  if (BriefComments->document()->isModified())
    document_.Brief.Comments = commentsText_.Take(BriefComments->toPlainText());
  return true;
}

}  // namespace gl
