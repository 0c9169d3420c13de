#include "ui/preferences_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <tuple>

#include "dialog_test_support.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

using test::Find;
using test::Type;

class PreferencesDialogTest : public ::testing::Test {
 protected:
  // The settings as the next start of the program reads them.
  Settings Reloaded() {
    SettingsStore reopened(file_);
    Settings settings;
    ReadSettings(reopened, settings);
    return settings;
  }

  test::TempFolder folder_;
  std::filesystem::path file_ = folder_ / "registry.ini";
  SettingsStore store_{file_};
  Settings settings_;
  test::RecordingPrompter prompter_;
};

TEST_F(PreferencesDialogTest, EveryFieldIsAppliedAndStored) {
  TGLPrefs dialog(settings_, store_, false, prompter_, nullptr);
  auto& apply = Find<QPushButton>(dialog, "ProxyApply");
  EXPECT_FALSE(apply.isEnabled());
  Type(dialog, "Browser", "/opt/NETSCAPE.EXE");
  EXPECT_TRUE(apply.isEnabled());
  Find<QCheckBox>(dialog, "AutoLoad").setChecked(true);
  auto& debuggingPort = Find<QSpinBox>(dialog, "DebuggingPort");
  EXPECT_EQ(debuggingPort.value(), 9222);
  debuggingPort.setValue(9333);
  Find<QSpinBox>(dialog, "DiskBuffer").setValue(20);
  auto& port = Find<QSpinBox>(dialog, "ProxyPort");
  EXPECT_FALSE(port.isEnabled());
  Type(dialog, "ProxyServer", "proxy.example");
  EXPECT_TRUE(port.isEnabled());
  port.setValue(3128);
  Find<QSpinBox>(dialog, "NumRetries").setValue(5);
  Type(dialog, "UserName", "ann");
  Find<QCheckBox>(dialog, "SecurePages").setChecked(true);
  Find<QCheckBox>(dialog, "PageStyles").setChecked(true);
  EXPECT_TRUE(dialog.DoApply());
  EXPECT_FALSE(apply.isEnabled());

  const Settings s = Reloaded();
  EXPECT_EQ(std::tie(s.BrowserPath, s.BrowserService, s.AutoLoadBrowser, s.BrowserDebuggingPort,
                     s.DiskBufferBytes, s.ProxyServer, s.ProxyPort, s.RetryCount, s.DefaultUserName,
                     s.SecurePages, s.PageStyles, settings_.DefaultUserName),
            std::make_tuple("/opt/NETSCAPE.EXE", "NETSCAPE", true, 9333, 20 * kBytesPerMegabyte,
                            "proxy.example", 3128, 5, "ann", true, true, "ann"));
  EXPECT_TRUE(prompter_.titles.empty());
}

TEST_F(PreferencesDialogTest, UnconfirmedPasswordKeepsTheDialogOpenAndIsNotStored) {
  settings_.DefaultPassword = "old";
  TGLPrefs dialog(settings_, store_, false, prompter_, nullptr);
  auto& confirm = Find<QLineEdit>(dialog, "Confirm");
  EXPECT_FALSE(confirm.isEnabled());
  EXPECT_EQ(confirm.echoMode(), QLineEdit::Password);
  EXPECT_EQ(Find<QLineEdit>(dialog, "Password").echoMode(), QLineEdit::Password);
  Type(dialog, "Password", "new");
  EXPECT_TRUE(confirm.isEnabled());
  Type(dialog, "Confirm", "nwe");
  Find<QSpinBox>(dialog, "NumRetries").setValue(4);
  dialog.OKClick();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompter_.titles, std::vector<std::string>{"Password Error"});
  EXPECT_EQ(Reloaded().RetryCount, 4);  // the groups before the password are written
  EXPECT_EQ(Reloaded().DefaultPassword, "");
  EXPECT_EQ(settings_.DefaultPassword, "old");

  Type(dialog, "Confirm", "new");
  dialog.OKClick();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Reloaded().DefaultPassword, "new");
}

TEST_F(PreferencesDialogTest, WhileGeneratingOnlyTheBrowserFieldsCanChange) {
  settings_.ProxyServer = "proxy.example";
  settings_.BrowserPath = "/usr/bin/caf\xe9";
  TGLPrefs dialog(settings_, store_, true, prompter_, nullptr);
  for (const char* name : {"Browser", "FindButton", "AutoLoad"})
    EXPECT_TRUE(Find<QWidget>(dialog, name).isEnabled()) << name;
  for (const char* name : {"DiskBuffer", "ProxyServer", "ProxyPort", "NumRetries", "UserName",
                           "Password", "SecurePages", "PageStyles"})
    EXPECT_FALSE(Find<QWidget>(dialog, name).isEnabled()) << name;
  EXPECT_TRUE(dialog.DoApply());
  EXPECT_EQ(Reloaded().BrowserPath, "/usr/bin/caf\xe9");  // not edited: its bytes stay
}

}  // namespace
}  // namespace gl
