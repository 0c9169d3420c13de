#include "ui/preferences_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/dialog_layout.h"
#include "ui/dialog_texts.h"
#include "ui/filled_text.h"
#include "ui/help.h"

namespace gl {
namespace {

// A name such as "ProxyApply" for each page's buttons.
QByteArray ButtonName(std::string_view page, const char* button) {
  return QByteArray(page.data(), static_cast<qsizetype>(page.size())) + button;
}

}  // namespace

TGLPrefs::TGLPrefs(Settings& settings, SettingsStore& store, bool generating, Prompter& prompter,
                   QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      store_(store),
      prompter_(prompter),
      generating_(generating),
      filled_(PreferencesFrom(settings)) {
  setWindowTitle(QStringLiteral("Gleaner-Light Preferences"));
  notebook_ = new QTabWidget;
  (new QVBoxLayout(this))->addWidget(notebook_);
  BuildGeneralPage();
  BuildProxyPage();
  BuildBriefPage();
  FollowPageDefaults(*notebook_, okButtons_);
}

void TGLPrefs::BuildGeneralPage() {
  QVBoxLayout& page = AddPage("General", "General", help_context::kPreferencesGeneral);
  QFormLayout& browser = AddGroup(page, "Web Browser ");
  Browser = new QLineEdit;
  Browser->setObjectName("Browser");
  Browser->setMinimumWidth(Browser->fontMetrics().averageCharWidth() * 36);
  auto* findButton = new QPushButton(QStringLiteral("&Find..."));
  findButton->setObjectName("FindButton");
  connect(findButton, &QPushButton::clicked, this, &TGLPrefs::FindButtonClick);
  auto* location = new QHBoxLayout;
  location->addWidget(Browser);
  location->addWidget(findButton);
  auto* label = new QLabel(QStringLiteral("&Location:"));
  label->setBuddy(Browser);
  browser.addRow(label, location);
  BindText(*Browser, &PreferencesInput::Browser);
  AddFlagField(browser, "&Auto Load at Startup", "AutoLoad", &PreferencesInput::AutoLoad);
  // Where a running browser's remote-debugging endpoint answers on 127.0.0.1.
  AddNumberField(browser, "&Debugging Port:", "DebuggingPort", &PreferencesInput::DebuggingPort,
                 kMinDebuggingPort, kMaxDebuggingPort);

  QFormLayout& disk = AddGroup(page, "Disk Space ");
  LockWhileGenerating(AddNumberField(disk, "&Minimum disk space (MB):", "DiskBuffer",
                                     &PreferencesInput::DiskBufferMegabytes,
                                     kMinDiskBufferMegabytes, kMaxDiskBufferMegabytes));
}

void TGLPrefs::BuildProxyPage() {
  QVBoxLayout& page = AddPage("Proxy", "Proxy", help_context::kPreferencesProxy);
  QFormLayout& proxy = AddGroup(page, "HTTP Proxy");
  ProxyServer = AddTextField(proxy, "&Server:", "ProxyServer", &PreferencesInput::ProxyServer);
  ProxyPort = AddNumberField(proxy, "&Port:", "ProxyPort", &PreferencesInput::ProxyPort,
                             kMinProxyPort, kMaxProxyPort);
  LockWhileGenerating(ProxyServer);
  ProxyServerChange();
  connect(ProxyServer, &QLineEdit::textEdited, this, &TGLPrefs::ProxyServerChange);
}

void TGLPrefs::BuildBriefPage() {
  QVBoxLayout& page = AddPage("Brief", "Brief", help_context::kPreferencesBrief);
  QFormLayout& retries = AddGroup(page, "Retries ");
  LockWhileGenerating(AddNumberField(retries, "&Number of Retries:", "NumRetries",
                                     &PreferencesInput::RetryCount, kMinRetries, kMaxRetries));

  QFormLayout& password = AddGroup(page, "Default Password ");
  UserName =
      AddTextField(password, texts::kUserNameCaption, "UserName", &PreferencesInput::UserName);
  Password =
      AddTextField(password, texts::kPasswordCaption, "Password", &PreferencesInput::Password);
  Confirm = AddTextField(password, texts::kConfirmCaption, "Confirm", &PreferencesInput::Confirm);
  Password->setEchoMode(QLineEdit::Password);
  Confirm->setEchoMode(QLineEdit::Password);
  LockWhileGenerating(UserName);
  LockWhileGenerating(Password);
  SetEnabledWithLabel(*Confirm, false);
  connect(Password, &QLineEdit::textEdited, this, &TGLPrefs::PasswordChange);

  QFormLayout& modernWeb = AddGroup(page, "Modern Web ");
  LockWhileGenerating(AddFlagField(modernWeb, "&Secure Pages (https://)", "SecurePages",
                                   &PreferencesInput::SecurePages));
  LockWhileGenerating(AddFlagField(modernWeb, "Page St&yles (style sheets, fonts, icons)",
                                   "PageStyles", &PreferencesInput::PageStyles));
  LockWhileGenerating(AddNumberField(modernWeb, "Co&nnections:", "Connections",
                                     &PreferencesInput::Connections, kMinConnections,
                                     kMaxConnections));
}

QVBoxLayout& TGLPrefs::AddPage(std::string_view caption, std::string_view name, int helpContext) {
  const DialogPage page = AddDialogPage(*notebook_, caption);
  const QByteArray ok = ButtonName(name, "OK"), cancel = ButtonName(name, "Cancel"),
                   apply = ButtonName(name, "Apply"), help = ButtonName(name, "Help");
  const EditButtons buttons = AddEditButtons(
      page, {ok, cancel, apply, help}, *this, [this] { OKClick(); }, [this] { DoApply(); },
      helpContext);
  applyButtons_.push_back(buttons.Apply);
  okButtons_.push_back(buttons.OK);
  return *page.Body;
}

void TGLPrefs::BindText(QLineEdit& field, std::string PreferencesInput::*member) {
  const FilledText filled = FilledText::Fill(field, filled_.*member);
  takeFields_.push_back([&field, member, filled](PreferencesInput& input) {
    input.*member = filled.Take(field.text());
  });
  connect(&field, &QLineEdit::textEdited, this, &TGLPrefs::FieldChange);
}

QLineEdit* TGLPrefs::AddTextField(QFormLayout& group, std::string_view caption, const char* name,
                                  std::string PreferencesInput::*member) {
  auto* field = AddLabelledField<QLineEdit>(group, caption, name);
  BindText(*field, member);
  return field;
}

QSpinBox* TGLPrefs::AddNumberField(QFormLayout& group, std::string_view caption, const char* name,
                                   int PreferencesInput::*member, int low, int high) {
  QSpinBox* field = gl::AddNumberField(group, caption, name, low, high);
  field->setValue(filled_.*member);
  takeFields_.push_back(
      [field, member](PreferencesInput& input) { input.*member = field->value(); });
  connect(field, &QSpinBox::valueChanged, this, &TGLPrefs::FieldChange);
  return field;
}

QCheckBox* TGLPrefs::AddFlagField(QFormLayout& group, std::string_view caption, const char* name,
                                  bool PreferencesInput::*member) {
  QCheckBox* field = AddCheckBox(group, caption, name);
  field->setChecked(filled_.*member);
  takeFields_.push_back(
      [field, member](PreferencesInput& input) { input.*member = field->isChecked(); });
  connect(field, &QCheckBox::toggled, this, &TGLPrefs::FieldChange);
  return field;
}

void TGLPrefs::LockWhileGenerating(QWidget* field) {
  if (generating_) SetEnabledWithLabel(*field, false);
}

void TGLPrefs::FieldChange() {
  SetApplyEnabled(true);
}

void TGLPrefs::SetApplyEnabled(bool enabled) {
  for (QPushButton* button : applyButtons_)
    button->setEnabled(enabled);
}

void TGLPrefs::ProxyServerChange() {
  SetEnabledWithLabel(*ProxyPort, !generating_ && !ProxyServer->text().isEmpty());
}

void TGLPrefs::PasswordChange() {
  if (Confirm->text().isEmpty()) SetEnabledWithLabel(*Confirm, true);
}

void TGLPrefs::FindButtonClick() {
  const QFileInfo current(Browser->text());
  QString folder = current.absolutePath();
  if (Browser->text().isEmpty() || !QFileInfo(folder).isDir())
    folder = QCoreApplication::applicationDirPath();
  // Programs on this system carry no extension, so every file is offered.
  const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Find Browser"), folder,
                                                      QStringLiteral("Executable Files (*)"));
  if (chosen.isEmpty()) return;
  Browser->setText(chosen);
  FieldChange();
}

PreferencesInput TGLPrefs::Input() const {
  PreferencesInput input = filled_;
  for (const auto& take : takeFields_)
    take(input);
  input.UserNameModified = UserName->isModified();
  input.PasswordModified = Password->isModified();
  return input;
}

bool TGLPrefs::DoApply() {
  const ApplyResult result = gl::DoApply(Input(), settings_, store_);
  if (!result.Applied) {
    prompter_.ShowError(result.Message.Title, result.Message.Text);
    return false;
  }
  SetApplyEnabled(false);
  return true;
}

void TGLPrefs::OKClick() {
  if (DoApply()) accept();
}

}  // namespace gl
