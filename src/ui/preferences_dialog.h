#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "core/settings_io.h"
#include "platform/settings_store.h"
#include "ui/prompter.h"

class QCheckBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QVBoxLayout;

// "Gleaner-Light Preferences": the program-wide settings on three notebook pages, each with its
// own OK, Cancel, Apply and Help buttons. Applying writes them through DoApply of the settings
// rules. While a brief is being generated only the browser fields can be changed.
//
// Each field is one Add...Field call that binds a control to a member of PreferencesInput, so a
// new setting is a member there and one line here.

namespace gl {

class TGLPrefs : public QDialog {
  Q_OBJECT
 public:
  TGLPrefs(Settings& settings, SettingsStore& store, bool generating, Prompter& prompter,
           QWidget* parent);

  // Marks a change: the Apply buttons become enabled.
  void FieldChange();
  // The port follows whether a proxy server is named.
  void ProxyServerChange();
  // A typed password opens the confirmation while that is empty.
  void PasswordChange();
  // Asks for a browser program and puts it into the location field.
  void FindButtonClick();
  // Takes the fields into the settings and writes them; false after "Password Error".
  bool DoApply();
  // Applies and closes the dialog when the apply passed.
  void OKClick();

 private:
  void BuildGeneralPage();
  void BuildProxyPage();
  void BuildBriefPage();
  // A page with its OK, Cancel, Apply and Help buttons; its groups go into the result.
  QVBoxLayout& AddPage(std::string_view caption, std::string_view name, int helpContext);

  // Fills the field from the member and takes it back on applying; a change enables Apply.
  void BindText(QLineEdit& field, std::string PreferencesInput::*member);
  QLineEdit* AddTextField(QFormLayout& group, std::string_view caption, const char* name,
                          std::string PreferencesInput::*member);
  QSpinBox* AddNumberField(QFormLayout& group, std::string_view caption, const char* name,
                           int PreferencesInput::*member, int low, int high);
  QCheckBox* AddFlagField(QFormLayout& group, std::string_view caption, const char* name,
                          bool PreferencesInput::*member);
  // Fields that a run reads stay fixed while a brief is being generated.
  void LockWhileGenerating(QWidget* field);

  // What the fields hold now.
  PreferencesInput Input() const;
  void SetApplyEnabled(bool enabled);

  Settings& settings_;
  SettingsStore& store_;
  Prompter& prompter_;
  const bool generating_;
  const PreferencesInput filled_;

  std::vector<std::function<void(PreferencesInput&)>> takeFields_;
  std::vector<QPushButton*> applyButtons_;
  std::vector<QPushButton*> okButtons_;

  QTabWidget* notebook_ = nullptr;
  QLineEdit* Browser = nullptr;
  QLineEdit* ProxyServer = nullptr;
  QSpinBox* ProxyPort = nullptr;
  QLineEdit* UserName = nullptr;
  QLineEdit* Password = nullptr;
  QLineEdit* Confirm = nullptr;
};

}  // namespace gl
