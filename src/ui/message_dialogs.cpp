#include "ui/message_dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "ui/dialog_texts.h"
#include "ui/qt_text.h"

namespace gl {
namespace {

constexpr std::string_view kBriefReadyTitle = "Brief Ready";
constexpr int kWrapCharacters = 60;
constexpr std::string_view kBriefReadyText = "The brief has been generated. Do you want to see it?";

// Lays out a message window: the icon at the left, the lines of text beside it, and an empty
// button row below for the caller to fill.
QDialogButtonBox& BuildMessage(QDialog& dialog, std::string_view title,
                               const std::vector<QLabel*>& lines, QStyle::StandardPixmap icon) {
  dialog.setWindowTitle(ToQString(title));
  dialog.setModal(true);

  auto* iconLabel = new QLabel;
  const int iconSize = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &dialog);
  iconLabel->setPixmap(dialog.style()->standardIcon(icon, nullptr, &dialog).pixmap(iconSize));
  iconLabel->setAlignment(Qt::AlignTop);

  auto* text = new QVBoxLayout;
  // Wide enough that one or two sentences wrap into a few lines, not a narrow column.
  const QFontMetrics metrics = dialog.fontMetrics();
  const int widest = metrics.averageCharWidth() * kWrapCharacters;
  for (QLabel* line : lines) {
    line->setMinimumWidth(std::min(metrics.horizontalAdvance(line->text()), widest));
    line->setWordWrap(true);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->addWidget(line);
  }
  auto* message = new QHBoxLayout;
  message->setSpacing(dialog.style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) * 2);
  message->addWidget(iconLabel);
  message->addLayout(text, 1);

  auto* buttons = new QDialogButtonBox;
  buttons->setCenterButtons(true);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(message);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return *buttons;
}

QLabel* PlainLabel(std::string_view text) {
  auto* label = new QLabel(ToQString(text));
  label->setTextFormat(Qt::PlainText);
  return label;
}

QPushButton* AddButton(QDialogButtonBox& buttons, std::string_view caption,
                       QDialogButtonBox::ButtonRole role) {
  auto* button = new QPushButton(ToQString(caption));
  buttons.addButton(button, role);
  return button;
}

// Adds Yes, the default button, and No, which rejects the dialog; the caller connects Yes.
QPushButton* AddYesNo(QDialog& dialog, QDialogButtonBox& buttons) {
  QPushButton* yes = AddButton(buttons, texts::kYes, QDialogButtonBox::YesRole);
  QPushButton* no = AddButton(buttons, texts::kNo, QDialogButtonBox::NoRole);
  yes->setDefault(true);
  QObject::connect(no, &QPushButton::clicked, &dialog, &QDialog::reject);
  return yes;
}

}  // namespace

TErrorDlg::TErrorDlg(std::string_view title, std::string_view text, QWidget* parent)
    : QDialog(parent) {
  QDialogButtonBox& buttons =
      BuildMessage(*this, title, {PlainLabel(text)}, QStyle::SP_MessageBoxCritical);
  QPushButton* ok = AddButton(buttons, texts::kOK, QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

TErrorCheckDlg::TErrorCheckDlg(std::string_view title, std::string_view text, QWidget* parent)
    : QDialog(parent) {
  QPushButton* yes = AddYesNo(
      *this, BuildMessage(*this, title, {PlainLabel(text)}, QStyle::SP_MessageBoxQuestion));
  connect(yes, &QPushButton::clicked, this, &QDialog::accept);
}

TBtnRightDlg::TBtnRightDlg(std::string_view briefName, std::string summaryAddress,
                           BrowseFunction browse, QWidget* parent)
    : QDialog(parent), summaryAddress_(std::move(summaryAddress)), browse_(std::move(browse)) {
  QLabel* name = PlainLabel(briefName);
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  QDialogButtonBox& buttons =
      BuildMessage(*this, kBriefReadyTitle, {name, PlainLabel(kBriefReadyText)},
                   QStyle::SP_MessageBoxInformation);
  connect(AddYesNo(*this, buttons), &QPushButton::clicked, this, &TBtnRightDlg::OKBtnClick);
}

void TBtnRightDlg::OKBtnClick() {
  if (browse_) browse_(summaryAddress_);
  accept();
}

void TBtnRightDlg::showEvent(QShowEvent* event) {
  QApplication::beep();
  QDialog::showEvent(event);
}

bool DialogPrompter::AskYesNo(std::string_view title, std::string_view text) {
  TErrorCheckDlg dialog(title, text, parent_);
  return dialog.exec() == QDialog::Accepted;
}

void DialogPrompter::ShowError(std::string_view title, std::string_view text) {
  TErrorDlg dialog(title, text, parent_);
  dialog.exec();
}

}  // namespace gl
