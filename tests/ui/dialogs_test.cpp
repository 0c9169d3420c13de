#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>

#include "core/settings_io.h"
#include "support/temp_folder.h"
#include "ui/brief_setup_dialog.h"
#include "ui/entry_setup_dialog.h"
#include "ui/preferences_dialog.h"
#include "ui/stamp_delegate.h"
#include "ui/ui_test_support.h"

namespace gl::test {
namespace {

using DialogTest = ShellTest;

TWebEntry SampleEntry() {
  TWebEntry entry;
  entry.URL = entry.Name = "www.example.com/";
  entry.UserName = "ann";
  entry.Password = "old";
  return entry;
}

// Named before; the address, name (nullptr: left alone), user name, password and confirmation
// typed (nullptr: not edited); whether OK closes, the name, whether typed, user and password.
TEST_F(DialogTest, EntryOkTakesTheFieldsAndThePasswordOnlyOnceConfirmed) {
  const std::tuple<bool, const char*, const char*, const char*, const char*, const char*, bool,
                   std::string, bool, std::string>
      rows[] = {
          {false, "a.test/", nullptr, "bob", nullptr, nullptr, true, "a.test/", false, "bob old"},
          {false, "", nullptr, "bob", "new", "new", true, "New Page", false, "bob new"},
          {false, "a.test/", "Ayes", "bob", "new", "nwe", false, "Ayes", true, "ann old"},
          {true, "a.test/", "", nullptr, "new", nullptr, false, "a.test/", false, "ann old"},
          {true, "a.test/", nullptr, nullptr, nullptr, nullptr, true, "Mine", true, "ann old"},
      };
  for (const auto& [named, url, name, user, password, confirm, closes, shownName, nowSet, stored] :
       rows) {
    SCOPED_TRACE(shownName + " " + stored);
    TWebEntry entry = SampleEntry();
    entry.NameSet = named;
    if (named) entry.Name = "Mine";
    RecordingPrompter prompter;
    TWebProperties dialog(entry, true, prompter, nullptr);
    EXPECT_FALSE(Find<QLineEdit>(dialog, "Confirm").isEnabled());
    for (const char* secret : {"Password", "Confirm"})
      EXPECT_EQ(Find<QLineEdit>(dialog, secret).echoMode(), QLineEdit::Password);
    Type(dialog, "EditURL", url);
    if (name) Type(dialog, "EditName", name);
    if (user) Type(dialog, "UserName", user);
    if (password) Type(dialog, "Password", password);
    EXPECT_EQ(Find<QLineEdit>(dialog, "Confirm").isEnabled(), password != nullptr);
    if (confirm) Type(dialog, "Confirm", confirm);
    Find<QSpinBox>(dialog, "DepthOfSearch").setValue(7);
    Find<QCheckBox>(dialog, "LocalOnly").setChecked(true);
    dialog.OKButtonClick();
    dialog.FinishEditing();
    EXPECT_EQ(dialog.result() == QDialog::Accepted, closes);
    EXPECT_EQ(prompter.titles.empty(), closes);
    EXPECT_EQ(entry.UserName + " " + entry.Password, stored);
    // The other fields are taken before the password check.
    EXPECT_TRUE(entry.URL == url && entry.Name == shownName && entry.NameSet == nowSet);
    EXPECT_TRUE(entry.Depth == 7 && !entry.StayLocal);
  }
}

// Only a changed secure address is warned about, once a dialog; untouched fields keep their bytes.
TEST_F(DialogTest, EntryApplyKeepsUntouchedBytesWarnsOnceOfASecureAddressAndLocksWhileGenerating) {
  TWebEntry entry = SampleEntry();
  entry.URL = "https://www.example.com/caf\xe9/";
  SetTypedName(entry, "Caf\xe9");
  const auto expectEnabled = [](QWidget& dialog, bool editable) {
    for (const char* name : {"Active", "EditName", "EditURL", "ImageToggle", "LoadBinaries",
                             "DepthOfSearch", "LocalOnly", "UserName", "Password", "Confirm"})
      EXPECT_EQ(Find<QWidget>(dialog, name).isEnabled(),
                editable && name != std::string("Confirm"));
  };
  TWebProperties dialog(entry, true, prompter_, nullptr);
  expectEnabled(dialog, true);
  QPushButton& apply = Find<QPushButton>(dialog, "RO_Apply");
  Find<QSpinBox>(dialog, "DepthOfSearch").setValue(7);
  EXPECT_TRUE(apply.isEnabled());
  dialog.ApplyClick();
  EXPECT_TRUE(prompter_.titles.empty());
  EXPECT_TRUE(entry.URL == "https://www.example.com/caf\xe9/" && entry.Name == "Caf\xe9");
  Find<QCheckBox>(dialog, "LocalOnly").setChecked(true);
  EXPECT_TRUE(apply.isEnabled());
  for (const char* url : {"https://www.example.org/", "https://www.example.net/"}) {
    Type(dialog, "EditURL", url);
    EXPECT_TRUE(apply.isEnabled());
    dialog.ApplyClick();
    EXPECT_FALSE(apply.isEnabled());
  }
  EXPECT_EQ(prompter_.titles, Names{"Secure Pages Are Off"});
  dialog.reject();  // what was applied stays
  dialog.FinishEditing();
  EXPECT_EQ(entry.URL, "https://www.example.net/");

  TWebProperties locked(entry, false, prompter_, nullptr);
  expectEnabled(locked, false);
  Find<QLineEdit>(locked, "EditURL").setText("www.changed.com/");
  locked.OKButtonClick();
  locked.FinishEditing();
  EXPECT_EQ(locked.result(), QDialog::Accepted);
  EXPECT_EQ(entry.URL, "https://www.example.net/");
}

class BriefSetupDialogTest : public ShellTest {
 protected:
  BriefSetupDialogTest() {
    document_.FileName = folder_ / "news.brf";
    for (const std::string run : {"0", "1", "2"}) {
      const std::string summary = "Brief" + run + ".htm";
      document_.Brief.ArchivePaths.push_back(run + "\\" + summary);
      document_.Brief.ArchiveStamps.push_back(run + "/5/1997  9:07:02 AM");
      fs::create_directory(folder_ / run);
      if (run == "2") continue;  // lost with its catalogue; runs 0 and 1 list their files
      WriteFileBytes(folder_ / run / summary, "<html>");
      WriteFileBytes(folder_ / run / "GL1.htm", "<html>");
      WriteFileBytes(folder_ / run / ("Brief" + run + ".cat"),
                     "\1" + run + "\12" + summary + "\7GL1.htm" + '\0');
    }
  }

  std::unique_ptr<TBriefOpts> Open(bool generating = false) {
    return std::make_unique<TBriefOpts>(
        document_, generating, folder_.Path(), prompter_,
        [this](const std::string& address) { browsed_.push_back(address); }, nullptr);
  }

  static Names Rows(const QTreeWidget& list) {
    Names rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
      rows.push_back(
          list.topLevelItem(row)->data(0, StampDelegate::StampRole).toString().toStdString());
    return rows;
  }

  TBriefDocument document_;
};

TEST_F(BriefSetupDialogTest, ListsNewestFirstViewsAndDeletesTheSelectedRunEvenWithoutCatalogue) {
  auto dialog = Open();
  auto& list = Find<QTreeWidget>(*dialog, "ListBox2");
  EXPECT_EQ(Rows(list),
            (Names{"2/5/1997  9:07:02 AM", "1/5/1997  9:07:02 AM", "0/5/1997  9:07:02 AM"}));
  auto& view = Find<QPushButton>(*dialog, "ViewBrief");
  EXPECT_FALSE(view.isEnabled());
  list.setCurrentItem(list.topLevelItem(1));
  view.click();
  EXPECT_EQ(browsed_, Names{"file://" + (folder_ / "1/Brief1.htm").string()});
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  auto& remove = Find<QPushButton>(*dialog, "DeleteBrief");
  list.setCurrentItem(list.topLevelItem(2));
  prompter_.answer = false;
  remove.click();
  EXPECT_EQ(document_.Brief.ArchivePaths.size(), 3u);

  prompter_.answer = true;
  remove.click();  // the oldest run, the last row: the new last row is selected
  EXPECT_FALSE(fs::exists(folder_ / "0"));
  EXPECT_TRUE(fs::exists(folder_ / "1/GL1.htm"));
  EXPECT_EQ(list.indexOfTopLevelItem(list.currentItem()), 1);

  list.setCurrentItem(list.topLevelItem(0));
  remove.click();  // the newest run, without a catalogue
  EXPECT_FALSE(fs::exists(folder_ / "2"));
  EXPECT_EQ(document_.Brief.ArchivePaths, Names{"1\\Brief1.htm"});
  EXPECT_EQ(document_.Brief.ArchiveStamps, Names{"1/5/1997  9:07:02 AM"});
  EXPECT_EQ(Rows(list), Names{"1/5/1997  9:07:02 AM"});
  EXPECT_TRUE(remove.isEnabled());

  remove.click();
  EXPECT_FALSE(list.isEnabled() || remove.isEnabled());
  EXPECT_EQ(prompter_.titles, Names(4, "Delete Archived Brief?"));

  Type(*dialog, "BriefName", "Renamed");
  dialog->reject();
  EXPECT_TRUE(dialog->ApplyOnClose());  // the deletions must be saved
  EXPECT_EQ(document_.Brief.Name, "New Brief");
}

// Generating, OK, name and comments typed; whether to save, the name and comments then held.
TEST_F(BriefSetupDialogTest, OkTakesWhatWasEditedAndKeepsTheRestsBytes) {
  const std::string sixty = "123456789012345678901234567890123456789012345678901234567890";
  const std::tuple<bool, bool, std::string, const char*, bool, std::string, std::string> rows[] = {
      {false, true, "", nullptr, true, "Caf\xe9", "Line\xe9"},
      {false, true, "News", " more", true, "News", "Line\xc3\xa9 more"},
      {false, true, sixty + "X", nullptr, true, sixty, "Line\xe9"},
      {false, false, "News", " more", false, "Caf\xe9", "Line\xe9"},
      {true, true, "", nullptr, false, "Caf\xe9", "Line\xe9"},
  };
  for (const auto& [generating, ok, name, comments, save, storedName, storedComments] : rows) {
    SCOPED_TRACE(name + (ok ? " ok" : " cancel") + (generating ? " generating" : ""));
    document_.Brief.Name = "Caf\xe9";
    document_.Brief.Comments = "Line\xe9";
    auto dialog = Open(generating);
    EXPECT_EQ(Find<QLineEdit>(*dialog, "BriefName").isEnabled(), !generating);
    if (!name.empty()) Type(*dialog, "BriefName", name.c_str());
    if (comments) {
      auto& edit = Find<QPlainTextEdit>(*dialog, "BriefComments");
      edit.moveCursor(QTextCursor::End);
      QTest::keyClicks(&edit, comments);
    }
    auto& list = Find<QTreeWidget>(*dialog, "ListBox2");
    list.setCurrentItem(list.topLevelItem(0));
    EXPECT_EQ(Find<QPushButton>(*dialog, "DeleteBrief").isEnabled(), !generating);
    ok ? dialog->accept() : dialog->reject();
    EXPECT_EQ(dialog->ApplyOnClose(), save);
    EXPECT_EQ(document_.Brief.Name, storedName);
    EXPECT_EQ(document_.Brief.Comments, storedComments);
  }
}

// The password is taken only once confirmed; the groups before it are written all the same.
TEST_F(DialogTest, PreferencesStoreEachFieldThePasswordOnceConfirmedWhileGeneratingTheBrowsers) {
  SettingsStore store(DefaultSettingsFile());
  Settings settings;
  settings.DefaultPassword = "old";
  TGLPrefs dialog(settings, store, false, prompter_, nullptr);
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

  const Settings s = LoadSettings();
  EXPECT_EQ(std::tie(s.BrowserPath, s.BrowserService, s.AutoLoadBrowser, s.BrowserDebuggingPort,
                     s.DiskBufferBytes, s.ProxyServer, s.ProxyPort, s.RetryCount, s.DefaultUserName,
                     s.SecurePages, s.PageStyles, settings.DefaultUserName),
            std::make_tuple("/opt/NETSCAPE.EXE", "NETSCAPE", true, 9333, 20 * kBytesPerMegabyte,
                            "proxy.example", 3128, 5, "ann", true, true, "ann"));
  EXPECT_TRUE(prompter_.titles.empty());

  for (const char* secret : {"Password", "Confirm"})
    EXPECT_EQ(Find<QLineEdit>(dialog, secret).echoMode(), QLineEdit::Password);
  EXPECT_FALSE(Find<QLineEdit>(dialog, "Confirm").isEnabled());
  Type(dialog, "Password", "new");
  EXPECT_TRUE(Find<QLineEdit>(dialog, "Confirm").isEnabled());
  Type(dialog, "Confirm", "nwe");
  Find<QSpinBox>(dialog, "NumRetries").setValue(4);
  dialog.OKClick();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompter_.titles, Names{"Password Error"});
  const Settings failed = LoadSettings();
  EXPECT_TRUE(failed.RetryCount == 4 && failed.DefaultPassword == "old");
  EXPECT_EQ(settings.DefaultPassword, "old");

  Type(dialog, "Confirm", "new");
  dialog.OKClick();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(LoadSettings().DefaultPassword, "new");

  settings.BrowserPath = "/usr/bin/caf\xe9";  // the proxy server is set: only generating locks
  TGLPrefs locked(settings, store, true, prompter_, nullptr);
  for (const char* name : {"Browser", "FindButton", "AutoLoad"})
    EXPECT_TRUE(Find<QWidget>(locked, name).isEnabled()) << name;
  for (const char* name : {"DiskBuffer", "ProxyServer", "ProxyPort", "NumRetries", "UserName",
                           "Password", "SecurePages", "PageStyles"})
    EXPECT_FALSE(Find<QWidget>(locked, name).isEnabled()) << name;
  EXPECT_TRUE(locked.DoApply());
  EXPECT_EQ(LoadSettings().BrowserPath, "/usr/bin/caf\xe9");  // not edited: its bytes stay
}

}  // namespace
}  // namespace gl::test
