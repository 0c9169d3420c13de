#include "ui/entry_setup_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "core/texts.h"
#include "dialog_test_support.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

using test::Find;
using test::Type;

TWebEntry SampleEntry() {
  TWebEntry entry;
  entry.URL = "www.example.com/";
  entry.Name = entry.URL;
  entry.UserName = "ann";
  entry.Password = "old";
  return entry;
}

TEST(EntrySetupDialog, TypedPasswordMustMatchItsConfirmation) {
  const struct {
    const char* trace;
    const char* userName;  // nullptr: not edited
    const char* password;
    const char* confirm;
    bool closes;
    std::string storedUser, storedPassword;
  } rows[] = {
      {"user name only", "bob", nullptr, nullptr, true, "bob", "old"},
      {"confirmed", "bob", "new", "new", true, "bob", "new"},
      {"not confirmed", "bob", "new", "nwe", false, "ann", "old"},
      {"no confirmation", nullptr, "new", nullptr, false, "ann", "old"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.trace);
    TWebEntry entry = SampleEntry();
    test::RecordingPrompter prompter;
    TWebProperties dialog(entry, true, prompter, nullptr);
    EXPECT_FALSE(Find<QLineEdit>(dialog, "Confirm").isEnabled());
    for (const char* secret : {"Password", "Confirm"})
      EXPECT_EQ(Find<QLineEdit>(dialog, secret).echoMode(), QLineEdit::Password);
    if (row.userName) Type(dialog, "UserName", row.userName);
    if (row.password) Type(dialog, "Password", row.password);
    EXPECT_EQ(Find<QLineEdit>(dialog, "Confirm").isEnabled(), row.password != nullptr);
    if (row.confirm) Type(dialog, "Confirm", row.confirm);
    Type(dialog, "EditURL", "www.example.org/");

    dialog.OKButtonClick();
    EXPECT_EQ(dialog.result() == QDialog::Accepted, row.closes);
    EXPECT_EQ(prompter.titles.empty(), row.closes);
    EXPECT_EQ(entry.UserName, row.storedUser);
    EXPECT_EQ(entry.Password, row.storedPassword);
    EXPECT_EQ(entry.URL, "www.example.org/");  // taken before the password check
  }
}

TEST(EntrySetupDialog, ApplyTakesTheFieldsAndAnEmptyNameShowsTheAddress) {
  const struct {
    const char* trace;
    bool nameSet;
    const char* url;
    const char* typedName;  // nullptr: left as it was
    std::string shownName;
    bool nowSet;
  } rows[] = {
      {"never named, left empty", false, "www.a.com/", nullptr, "www.a.com/", false},
      {"never named, no address", false, "", nullptr, "New Page", false},
      {"named now", false, "www.a.com/", "Ayes", "Ayes", true},
      {"name cleared", true, "www.a.com/", "", "www.a.com/", false},
      {"name kept", true, "www.a.com/", nullptr, "Mine", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.trace);
    TWebEntry entry;
    entry.URL = row.url;
    entry.NameSet = row.nameSet;
    entry.Name = row.nameSet ? "Mine" : entry.URL;
    test::RecordingPrompter prompter;
    TWebProperties dialog(entry, true, prompter, nullptr);
    QPushButton& apply = Find<QPushButton>(dialog, "RO_Apply");
    if (row.typedName) Type(dialog, "EditName", row.typedName);
    Find<QSpinBox>(dialog, "DepthOfSearch").setValue(7);
    Find<QCheckBox>(dialog, "LocalOnly").setChecked(true);
    EXPECT_TRUE(apply.isEnabled());
    dialog.ApplyClick();
    EXPECT_FALSE(apply.isEnabled());
    dialog.reject();
    dialog.FinishEditing();

    EXPECT_EQ(entry.Name, row.shownName);
    EXPECT_EQ(entry.NameSet, row.nowSet);
    EXPECT_EQ(entry.Depth, 7);
    EXPECT_FALSE(entry.StayLocal);
  }
}

// Only a changed address is warned about, and only once a dialog.
TEST(EntrySetupDialog, ASecureAddressIsWarnedAboutOnceWhileSecurePagesAreOff) {
  const test::TempFolder home;
  const test::ScopedEnvironment settings("GLEANER_LIGHT_HOME", home.Path().string());
  TWebEntry entry = SampleEntry();
  entry.URL = "https://www.example.com/";
  test::RecordingPrompter prompter;
  TWebProperties dialog(entry, true, prompter, nullptr);
  dialog.ApplyClick();
  EXPECT_TRUE(prompter.titles.empty());
  for (const char* url : {"https://www.example.org/", "https://www.example.net/"}) {
    Type(dialog, "EditURL", url);
    dialog.ApplyClick();
  }
  EXPECT_EQ(prompter.titles, std::vector<std::string>{"Secure Pages Are Off"});
  EXPECT_EQ(entry.URL, "https://www.example.net/");
}

TEST(EntrySetupDialog, UntouchedTextsKeepTheirBytes) {
  TWebEntry entry = SampleEntry();
  entry.URL = "www.example.com/caf\xe9/";
  entry.Name = "Caf\xe9";
  entry.NameSet = true;
  entry.UserName = std::string(40000, 'u');
  const TWebEntry before = entry;
  test::RecordingPrompter prompter;
  TWebProperties dialog(entry, true, prompter, nullptr);
  dialog.OKButtonClick();
  dialog.FinishEditing();
  EXPECT_EQ(entry.URL, before.URL);
  EXPECT_EQ(entry.Name, before.Name);
  EXPECT_EQ(entry.UserName, before.UserName);
}

TEST(EntrySetupDialog, WhileGeneratingEveryFieldIsDisabledAndOkChangesNothing) {
  TWebEntry entry = SampleEntry();
  test::RecordingPrompter prompter;
  TWebProperties dialog(entry, false, prompter, nullptr);
  for (const char* name : {"Active", "EditName", "EditURL", "ImageToggle", "LoadBinaries",
                           "DepthOfSearch", "LocalOnly", "UserName", "Password", "Confirm"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(Find<QWidget>(dialog, name).isEnabled());
  }
  Find<QLineEdit>(dialog, "EditURL").setText("www.changed.com/");
  dialog.OKButtonClick();
  dialog.FinishEditing();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(entry.URL, "www.example.com/");
  EXPECT_EQ(entry.Name, "www.example.com/");
  EXPECT_FALSE(entry.NameSet);
}

}  // namespace
}  // namespace gl
