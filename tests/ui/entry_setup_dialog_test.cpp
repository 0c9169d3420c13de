#include "ui/entry_setup_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <tuple>

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

// The texts typed (nullptr: not edited); whether OK closes; the user name and password stored.
TEST(EntrySetupDialog, TypedPasswordMustMatchItsConfirmation) {
  using Row = std::tuple<const char*, const char*, const char*, bool, std::string, std::string>;
  const Row rows[] = {
      {"bob", nullptr, nullptr, true, "bob", "old"},
      {"bob", "new", "new", true, "bob", "new"},
      {"bob", "new", "nwe", false, "ann", "old"},
      {nullptr, "new", nullptr, false, "ann", "old"},
  };
  for (const auto& [user, password, confirm, closes, storedUser, storedPassword] : rows) {
    SCOPED_TRACE(testing::PrintToString(Row{user, password, confirm, closes, "", ""}));
    TWebEntry entry = SampleEntry();
    test::RecordingPrompter prompter;
    TWebProperties dialog(entry, true, prompter, nullptr);
    EXPECT_FALSE(Find<QLineEdit>(dialog, "Confirm").isEnabled());
    for (const char* secret : {"Password", "Confirm"})
      EXPECT_EQ(Find<QLineEdit>(dialog, secret).echoMode(), QLineEdit::Password);
    if (user) Type(dialog, "UserName", user);
    if (password) Type(dialog, "Password", password);
    EXPECT_EQ(Find<QLineEdit>(dialog, "Confirm").isEnabled(), password != nullptr);
    if (confirm) Type(dialog, "Confirm", confirm);
    Type(dialog, "EditURL", "www.example.org/");
    dialog.OKButtonClick();
    EXPECT_EQ(dialog.result() == QDialog::Accepted, closes);
    EXPECT_EQ(prompter.titles.empty(), closes);
    EXPECT_EQ(entry.UserName + " " + entry.Password, storedUser + " " + storedPassword);
    EXPECT_EQ(entry.URL, "www.example.org/");  // taken before the password check
  }
}

// Whether the entry was named, its address, the name typed (nullptr: left alone); the name shown
// after Apply and whether it counts as typed.
TEST(EntrySetupDialog, ApplyTakesTheFieldsAndAnEmptyNameShowsTheAddress) {
  const std::tuple<bool, const char*, const char*, std::string, bool> rows[] = {
      {false, "www.a.com/", nullptr, "www.a.com/", false},
      {false, "", nullptr, "New Page", false},
      {false, "www.a.com/", "Ayes", "Ayes", true},
      {true, "www.a.com/", "", "www.a.com/", false},
      {true, "www.a.com/", nullptr, "Mine", true},
  };
  for (const auto& [nameSet, url, typedName, shownName, nowSet] : rows) {
    SCOPED_TRACE(shownName);
    TWebEntry entry;
    entry.URL = url;
    entry.NameSet = nameSet;
    entry.Name = nameSet ? "Mine" : entry.URL;
    test::RecordingPrompter prompter;
    TWebProperties dialog(entry, true, prompter, nullptr);
    QPushButton& apply = Find<QPushButton>(dialog, "RO_Apply");
    if (typedName) Type(dialog, "EditName", typedName);
    Find<QSpinBox>(dialog, "DepthOfSearch").setValue(7);
    Find<QCheckBox>(dialog, "LocalOnly").setChecked(true);
    EXPECT_TRUE(apply.isEnabled());
    dialog.ApplyClick();
    EXPECT_FALSE(apply.isEnabled());
    dialog.reject();
    dialog.FinishEditing();
    EXPECT_EQ(entry.Name, shownName);
    EXPECT_EQ(entry.NameSet, nowSet);
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
  EXPECT_TRUE(entry.URL == before.URL && entry.Name == before.Name);
  EXPECT_EQ(entry.UserName, before.UserName);
}

TEST(EntrySetupDialog, WhileGeneratingEveryFieldIsDisabledAndOkChangesNothing) {
  TWebEntry entry = SampleEntry();
  test::RecordingPrompter prompter;
  TWebProperties dialog(entry, false, prompter, nullptr);
  for (const char* name : {"Active", "EditName", "EditURL", "ImageToggle", "LoadBinaries",
                           "DepthOfSearch", "LocalOnly", "UserName", "Password", "Confirm"})
    EXPECT_FALSE(Find<QWidget>(dialog, name).isEnabled()) << name;
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
