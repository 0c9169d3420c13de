#include "ui/entry_setup_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/texts.h"
#include "ui/dialog_layout.h"
#include "ui/dialog_texts.h"
#include "ui/help.h"

namespace gl {
namespace {

constexpr std::string_view kDepthNote =
    "Spider Depths above 5 are not usually recommended, since they may result in the retrieval "
    "of thousands of pages.";

QFormLayout& AddFields(QVBoxLayout& body) {
  auto* form = new QFormLayout;
  body.addLayout(form);
  return *form;
}

}  // namespace

TWebProperties::TWebProperties(TWebEntry& entry, bool editable, Prompter& prompter, QWidget* parent)
    : QDialog(parent), entry_(entry), prompter_(prompter), editable_(editable) {
  setWindowTitle(QStringLiteral("Web Page Setup"));
  PropsNotebook = new QTabWidget;
  PropsNotebook->setObjectName("PropsNotebook");
  (new QVBoxLayout(this))->addWidget(PropsNotebook);
  FollowPageDefaults(*PropsNotebook,
                     {BuildPropertiesPage(), BuildRetrievalPage(), BuildPasswordPage()});
  Fill();
  if (!editable_) {
    for (QWidget* field :
         std::initializer_list<QWidget*>{Active, EditName, EditURL, ImageToggle, LoadBinaries,
                                         DepthOfSearch, LocalOnly, UserName, Password, Confirm})
      SetEnabledWithLabel(*field, false);
  }
  ConnectChanges();
}

QPushButton* TWebProperties::BuildPropertiesPage() {
  const DialogPage page = AddDialogPage(*PropsNotebook, "Properties");
  QFormLayout& fields = AddFields(*page.Body);
  Active = AddCheckBox(fields, "&Active", "Active");
  EditName = AddLabelledField<QLineEdit>(fields, "Page &Name:", "EditName");
  EditURL = AddLabelledField<QLineEdit>(fields, "Page A&ddress:", "EditURL");
  EditURL->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
  const EditButtons buttons = AddButtons(page, {"OKButton", "CancelButton", "Apply", "HelpButton"},
                                         help_context::kEntryProperties);
  Apply = buttons.Apply;
  return buttons.OK;
}

QPushButton* TWebProperties::BuildRetrievalPage() {
  const DialogPage page = AddDialogPage(*PropsNotebook, "Retrieval Options");
  QFormLayout& fields = AddFields(*page.Body);
  ImageToggle = AddCheckBox(fields, "&Images && Plug-ins", "ImageToggle");
  LoadBinaries = AddCheckBox(fields, "&Other Files", "LoadBinaries");
  DepthOfSearch = AddNumberField(fields, "&Spider Depth:", "DepthOfSearch", kMinDepth, kMaxDepth);
  LocalOnly = AddCheckBox(fields, "&Follow External Links", "LocalOnly");
  auto* note = new QLabel(ToQString(kDepthNote));
  note->setWordWrap(true);
  page.Body->addWidget(note);
  const EditButtons buttons = AddButtons(page, {"RO_OK", "RO_Cancel", "RO_Apply", "RO_Help"},
                                         help_context::kEntryRetrieval);
  RO_Apply = buttons.Apply;
  return buttons.OK;
}

QPushButton* TWebProperties::BuildPasswordPage() {
  const DialogPage page = AddDialogPage(*PropsNotebook, "Password");
  QFormLayout& fields = AddFields(*page.Body);
  UserName = AddLabelledField<QLineEdit>(fields, texts::kUserNameCaption, "UserName");
  Password = AddLabelledField<QLineEdit>(fields, texts::kPasswordCaption, "Password");
  Password->setEchoMode(QLineEdit::Password);
  Confirm = AddLabelledField<QLineEdit>(fields, texts::kConfirmCaption, "Confirm");
  Confirm->setEchoMode(QLineEdit::Password);
  fields.labelForField(Confirm)->setObjectName("ConfirmLabel");
  SetEnabledWithLabel(*Confirm, false);
  const EditButtons buttons =
      AddButtons(page, {"PW_OK", "PW_Cancel", "PW_Apply", "PW_Help"}, help_context::kEntryPassword);
  PW_Apply = buttons.Apply;
  return buttons.OK;
}

EditButtons TWebProperties::AddButtons(const DialogPage& page, const EditButtonNames& names,
                                       int helpContext) {
  return AddEditButtons(
      page, names, *this, [this] { OKButtonClick(); }, [this] { ApplyClick(); }, helpContext);
}

void TWebProperties::Fill() {
  Active->setChecked(entry_.Active);
  nameText_ = FilledText::Fill(*EditName, entry_.NameSet ? entry_.Name : std::string());
  urlText_ = FilledText::Fill(*EditURL, entry_.URL);
  ImageToggle->setChecked(entry_.Images);
  LoadBinaries->setChecked(entry_.OtherFiles);
  DepthOfSearch->setValue(entry_.Depth);
  LocalOnly->setChecked(!entry_.StayLocal);
  userNameText_ = FilledText::Fill(*UserName, entry_.UserName);
  passwordText_ = FilledText::Fill(*Password, entry_.Password);
  PropsNotebook->setCurrentIndex(0);
}

void TWebProperties::ConnectChanges() {
  for (QCheckBox* box : {Active, ImageToggle, LoadBinaries, LocalOnly})
    connect(box, &QCheckBox::toggled, this, &TWebProperties::EditNameChange);
  for (QLineEdit* edit : {EditName, EditURL, UserName, Confirm})
    connect(edit, &QLineEdit::textEdited, this, &TWebProperties::EditNameChange);
  connect(DepthOfSearch, &QSpinBox::valueChanged, this, &TWebProperties::EditNameChange);
  connect(Password, &QLineEdit::textEdited, this, &TWebProperties::PasswordChange);
}

void TWebProperties::EditNameChange() {
  SetApplyEnabled(true);
}

void TWebProperties::PasswordChange() {
  if (Password->isModified() && !Confirm->isEnabled()) SetEnabledWithLabel(*Confirm, true);
  EditNameChange();
}

void TWebProperties::SetApplyEnabled(bool enabled) {
  for (QPushButton* button : {Apply, RO_Apply, PW_Apply})
    button->setEnabled(enabled);
}

void TWebProperties::ApplyClick() {
  applyOk_ = true;
  if (editable_) {
    entry_.Active = Active->isChecked();
    entry_.Name = nameText_.Take(EditName->text());
    entry_.URL = urlText_.Take(EditURL->text());
    entry_.Depth = DepthOfSearch->value();
    entry_.Images = ImageToggle->isChecked();
    entry_.OtherFiles = LoadBinaries->isChecked();
    entry_.StayLocal = !LocalOnly->isChecked();
    if (UserName->isModified() || Password->isModified()) {
      if (Password->isModified() && Password->text() != Confirm->text()) {
        prompter_.ShowError(texts::kPasswordErrorTitle, texts::kPasswordErrorText);
        applyOk_ = false;
      } else {
        entry_.Password = passwordText_.Take(Password->text());
        entry_.UserName = userNameText_.Take(UserName->text());
      }
    }
    applied_ = true;
  }
  SetApplyEnabled(false);
}

void TWebProperties::OKButtonClick() {
  ApplyClick();
  if (applyOk_) accept();
}

void TWebProperties::FinishEditing() {
  if (!applied_) return;
  entry_.NameSet = !entry_.Name.empty();
  UpdateShownName(entry_);
}

}  // namespace gl
