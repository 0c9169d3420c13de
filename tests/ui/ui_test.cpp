#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "browser/help_pages.h"
#include "core/brief_file.h"
#include "core/settings_io.h"
#include "generate/run_handle.h"
#include "platform/file_address.h"
#include "platform/program_directory.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "ui/bookmarks_window.h"
#include "ui/brief_setup_dialog.h"
#include "ui/brief_window.h"
#include "ui/entry_drag.h"
#include "ui/entry_rows.h"
#include "ui/entry_setup_dialog.h"
#include "ui/main_frame.h"
#include "ui/message_dialogs.h"
#include "ui/preferences_dialog.h"
#include "ui/progress_window.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/splash_screen.h"
#include "ui/stamp_delegate.h"
#include "ui/web_scroll_box.h"
#include "ui/window_placement.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

namespace gl::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class RecordingPrompter : public Prompter {
 public:
  bool AskYesNo(std::string_view title, std::string_view) override {
    titles.emplace_back(title);
    return answer;
  }
  void ShowError(std::string_view title, std::string_view) override { titles.emplace_back(title); }

  bool answer = true;
  Names titles;
};

template <class Control>
Control& Find(QWidget& dialog, const char* name) {
  auto* control = dialog.findChild<Control*>(name);
  if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return *control;
}

// Replaces the field's text by typing (an empty text by deleting).
inline void Type(QWidget& dialog, const char* field, const char* text) {
  QLineEdit& edit = Find<QLineEdit>(dialog, field);
  edit.selectAll();
  if (*text == '\0') QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClicks(&edit, text);
}

class ScriptedFileDialogs : public BriefFileDialogs {
 public:
  std::optional<fs::path> ChooseBriefToOpen(const fs::path&) override {
    return std::exchange(answer, std::nullopt);
  }
  std::optional<fs::path> ChooseBriefToSave(const QString& title, const fs::path&,
                                            const QString&) override {
    titles.push_back(title);
    return std::exchange(answer, std::nullopt);
  }
  std::optional<fs::path> ChooseBookmarks(const fs::path&) override {
    return std::exchange(answer, std::nullopt);
  }

  std::optional<fs::path> answer;
  std::vector<QString> titles;
};

class ShellTest : public ::testing::Test {
 protected:
  fs::path WriteBrief(const std::string& file, const Names& names, const Names& addresses = {},
                      int depth = 1) {
    TBriefDocument document;
    document.FileName = folder_ / file;
    for (std::size_t i = 0; i < names.size(); ++i) {
      TWebEntry& entry = CreateNewWebEntry(document.Brief, i);
      entry.URL = addresses.empty() ? "www." + names[i] + ".example/" : addresses[i];
      entry.Depth = depth;
      SetTypedName(entry, names[i]);
    }
    if (SaveBriefs2(document).Outcome != SaveOutcome::Saved) ADD_FAILURE() << "cannot write";
    return document.FileName;
  }

  Names NamesOnDisk(const fs::path& file) {
    Names names;
    for (const TWebEntry& entry : ReadBriefs2(file).Document.Brief.WebList)
      names.push_back(entry.Name);
    return names;
  }

  // The rows as shown, top to bottom, each one row pitch apart.
  static Names Shown(const TGleanerForm& form, bool depth = false) {
    Names rows;
    for (int i = 0; i < form.WebList().Count(); ++i) {
      const TWebPage& row = form.WebList().Row(i);
      EXPECT_EQ(row.y(), i * kRowPitch);
      rows.push_back(ToBytes(row.NameLabel()->text() +
                             (depth ? " | " + row.DepthLabel()->text() : QString())));
    }
    return rows;
  }

  // `browse`: the addresses shown in the browser are recorded instead of handed to one.
  std::unique_ptr<TMDIFrame> StartFrame(const std::vector<fs::path>& files = {}, bool browse = true,
                                        std::function<void(TGleanerForm&)> startRun = {}) {
    FrameOptions options{folder_ / "program", &prompter_, &dialogs_, {}, std::move(startRun)};
    if (browse)
      options.Browse = [this](const std::string& address) { browsed_.push_back(address); };
    auto frame = std::make_unique<TMDIFrame>(std::move(options));
    frame->FormActivate(files);
    return frame;
  }

  TempFolder folder_;
  ScopedEnvironment home_{"GLEANER_LIGHT_HOME", folder_.Path().string()};
  RecordingPrompter prompter_;
  ScriptedFileDialogs dialogs_;
  Names browsed_;
};

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
  const std::tuple<const char*, const char*, const char*, bool, std::string, std::string> rows[] = {
      {"bob", nullptr, nullptr, true, "bob", "old"},
      {"bob", "new", "new", true, "bob", "new"},
      {"bob", "new", "nwe", false, "ann", "old"},
      {nullptr, "new", nullptr, false, "ann", "old"},
  };
  for (const auto& [user, password, confirm, closes, storedUser, storedPassword] : rows) {
    SCOPED_TRACE(::testing::Message() << user << " " << password << " " << confirm);
    TWebEntry entry = SampleEntry();
    RecordingPrompter prompter;
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

// Named before, address, name typed (nullptr: left alone); name after Apply, whether typed.
TEST(EntrySetupDialog, ApplyTakesTheFieldsAnEmptyNameShowsTheAddressASecureOneIsWarnedAbout) {
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
    RecordingPrompter prompter;
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
  // Only a changed secure address is warned about, and only once a dialog.
  const TempFolder home;
  const ScopedEnvironment settings("GLEANER_LIGHT_HOME", home.Path().string());
  TWebEntry entry = SampleEntry();
  entry.URL = "https://www.example.com/";
  RecordingPrompter prompter;
  TWebProperties dialog(entry, true, prompter, nullptr);
  dialog.ApplyClick();
  EXPECT_TRUE(prompter.titles.empty());
  for (const char* url : {"https://www.example.org/", "https://www.example.net/"}) {
    Type(dialog, "EditURL", url);
    dialog.ApplyClick();
  }
  EXPECT_EQ(prompter.titles, Names{"Secure Pages Are Off"});
  EXPECT_EQ(entry.URL, "https://www.example.net/");
}

TEST(EntrySetupDialog, OkKeepsUntouchedBytesAndWhileGeneratingChangesNothing) {
  for (const bool editable : {true, false}) {
    TWebEntry entry = SampleEntry();
    entry.URL = "www.example.com/caf\xe9/";
    SetTypedName(entry, "Caf\xe9");
    entry.UserName = std::string(40000, 'u');
    const TWebEntry before = entry;
    RecordingPrompter prompter;
    TWebProperties dialog(entry, editable, prompter, nullptr);
    for (const char* name : {"Active", "EditName", "EditURL", "ImageToggle", "LoadBinaries",
                             "DepthOfSearch", "LocalOnly", "UserName", "Password", "Confirm"})
      EXPECT_EQ(Find<QWidget>(dialog, name).isEnabled(),
                editable && name != std::string("Confirm"));
    if (!editable) Find<QLineEdit>(dialog, "EditURL").setText("www.changed.com/");
    dialog.OKButtonClick();
    dialog.FinishEditing();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(entry.URL == before.URL && entry.Name == before.Name && entry.NameSet);
    EXPECT_EQ(entry.UserName, before.UserName);
  }
}

class BriefSetupDialogTest : public ::testing::Test {
 protected:
  BriefSetupDialogTest() {
    document_.FileName = folder_ / "news.brf";
    for (const char* run : {"0", "1", "2"}) {
      document_.Brief.ArchivePaths.push_back(std::string(run) + "\\Brief" + run + ".htm");
      document_.Brief.ArchiveStamps.push_back(std::string(run) + "/5/1997  9:07:02 AM");
      fs::create_directory(folder_ / run);
    }
    // Runs 0 and 1 list their files; run 2 lost its catalogue.
    for (const char* run : {"0", "1"}) {
      const std::string summary = std::string("Brief") + run + ".htm";
      WriteFileBytes(folder_ / run / summary, "<html>");
      WriteFileBytes(folder_ / run / "GL1.htm", "<html>");
      WriteFileBytes(folder_ / run / (std::string("Brief") + run + ".cat"),
                     std::string("\1") + run + "\12" + summary + "\7GL1.htm" + '\0');
    }
  }

  std::unique_ptr<TBriefOpts> Open(bool generating = false) {
    return std::make_unique<TBriefOpts>(
        document_, generating, folder_.Path(), prompter_,
        [this](const std::string& address) { browsed_.push_back(address); }, nullptr);
  }

  static Names Rows(TBriefOpts& dialog) {
    auto& list = Find<QTreeWidget>(dialog, "ListBox2");
    Names rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
      rows.push_back(
          list.topLevelItem(row)->data(0, StampDelegate::StampRole).toString().toStdString());
    return rows;
  }

  static void Select(TBriefOpts& dialog, int row) {
    auto& list = Find<QTreeWidget>(dialog, "ListBox2");
    list.setCurrentItem(list.topLevelItem(row));
  }

  TempFolder folder_;
  TBriefDocument document_;
  RecordingPrompter prompter_;
  Names browsed_;
};

TEST_F(BriefSetupDialogTest, ListsNewestFirstViewsAndDeletesTheSelectedRunEvenWithoutCatalogue) {
  auto dialog = Open();
  EXPECT_EQ(Rows(*dialog),
            (Names{"2/5/1997  9:07:02 AM", "1/5/1997  9:07:02 AM", "0/5/1997  9:07:02 AM"}));
  auto& view = Find<QPushButton>(*dialog, "ViewBrief");
  EXPECT_FALSE(view.isEnabled());
  Select(*dialog, 1);
  view.click();
  EXPECT_EQ(browsed_, Names{"file://" + (folder_ / "1/Brief1.htm").string()});
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  auto& list = Find<QTreeWidget>(*dialog, "ListBox2");
  auto& remove = Find<QPushButton>(*dialog, "DeleteBrief");
  Select(*dialog, 2);
  prompter_.answer = false;
  remove.click();
  EXPECT_EQ(document_.Brief.ArchivePaths.size(), 3u);

  prompter_.answer = true;
  remove.click();  // the oldest run, the last row: the new last row is selected
  EXPECT_FALSE(fs::exists(folder_ / "0"));
  EXPECT_TRUE(fs::exists(folder_ / "1/GL1.htm"));
  EXPECT_EQ(list.indexOfTopLevelItem(list.currentItem()), 1);

  Select(*dialog, 0);
  remove.click();  // the newest run, without a catalogue
  EXPECT_FALSE(fs::exists(folder_ / "2"));
  EXPECT_EQ(document_.Brief.ArchivePaths, Names{"1\\Brief1.htm"});
  EXPECT_EQ(document_.Brief.ArchiveStamps, Names{"1/5/1997  9:07:02 AM"});
  EXPECT_EQ(Rows(*dialog), Names{"1/5/1997  9:07:02 AM"});
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
    Select(*dialog, 0);
    EXPECT_EQ(Find<QPushButton>(*dialog, "DeleteBrief").isEnabled(), !generating);
    ok ? dialog->accept() : dialog->reject();
    EXPECT_EQ(dialog->ApplyOnClose(), save);
    EXPECT_EQ(document_.Brief.Name, storedName);
    EXPECT_EQ(document_.Brief.Comments, storedComments);
  }
}

class PreferencesDialogTest : public ::testing::Test {
 protected:
  Settings Reloaded() {
    SettingsStore reopened(file_);
    Settings settings;
    ReadSettings(reopened, settings);
    return settings;
  }

  TempFolder folder_;
  fs::path file_ = folder_ / "registry.ini";
  SettingsStore store_{file_};
  Settings settings_;
  RecordingPrompter prompter_;
};

// The password is taken only once confirmed; the groups before it are written all the same.
TEST_F(PreferencesDialogTest, EveryFieldIsAppliedAndStoredAndAPasswordOnlyOnceConfirmed) {
  settings_.DefaultPassword = "old";
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
  EXPECT_EQ(prompter_.titles, Names{"Password Error"});
  EXPECT_EQ(Reloaded().RetryCount, 4);
  EXPECT_EQ(Reloaded().DefaultPassword, "old");
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

// Six entries fill more than one page on any paper; pdftotext reads each page in drawing order.
TEST(PrintCanvasTest, PrintOptionPrintsABriefFileWithoutADisplay) {
  TempFolder folder;
  TBriefDocument document{folder / "news.brf", {}};
  document.Brief.Name = "Caf\xC3\xA9 news";
  for (int i = 1; i <= 6; ++i)
    SetTypedName(CreateNewWebEntry(document.Brief, i - 1), "Entry " + std::to_string(i));
  document.Brief.WebList[5].Password = "secret";
  ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
  const QString brief = PathToQString(document.FileName), pdf = PathToQString(folder / "news.pdf");
  const std::string missing = (folder / "none.brf").string(),
                    unwritable = (folder / "no/x.pdf").string();
  const std::string usage = "Run 'gleaner-light --help' for the options.\n";
  const std::tuple<QStringList, int, std::string> rows[] = {
      // how stderr ends
      {{"--print", missing.c_str(), "--pdf", pdf},
       1,
       "Brief File Loading Error: This file is either corrupt or is not a Brief file. "
       "Gleaner-Light cannot load it.\n" +
           missing + ": No such file or directory\n"},
      {{"--print", brief, "--pdf", unwritable.c_str()},
       1,
       "Printing Error: Gleaner-Light could not print this brief.\n" + unwritable +
           ": cannot be written\n"},
      {{"--print", brief}, 2, usage},
      {{"--print", brief, "--pdf", pdf, brief}, 2, usage},
      {{"--print=" + brief, "--pdf", pdf}, 0, ""},
  };
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(name);
  for (const auto& [arguments, code, err] : rows) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(GLEANER_LIGHT_PROGRAM, arguments);
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitCode(), code);
    const std::string printed = program.readAllStandardError().toStdString();
    EXPECT_THAT(printed, ::testing::EndsWith(err));
    EXPECT_EQ(printed.empty(), code == 0);
    EXPECT_EQ(fs::exists(folder / "news.pdf"), code == 0);
  }
  QProcess pdftotext;
  pdftotext.start("pdftotext", {"-raw", "-enc", "UTF-8", pdf, "-"});
  ASSERT_TRUE(pdftotext.waitForFinished()) << "pdftotext did not run";
  const QStringList pages =
      QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
  ASSERT_GE(pages.size(), 2);
  Names printed;
  for (qsizetype page = 0; page < pages.size(); ++page) {
    QStringList lines = pages[page].split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.takeLast().toStdString(), "Page " + std::to_string(page + 1));
    for (const QString& line : lines)
      printed.push_back(line.trimmed().toStdString());
  }
  // Four lines for the brief, nine for each entry, in order.
  ASSERT_EQ(printed.size(), 4u + 6 * 9);
  EXPECT_EQ(printed[1], "Brief Name: Caf\xC3\xA9 news");
  EXPECT_EQ(printed[4 + 5 * 9], "Entry 6");
  EXPECT_EQ(printed[4 + 5 * 9 + 6], "Password: ******");
  EXPECT_EQ(printed.back(), "Follow External Links: False");
}

class BriefWindowTest : public ShellTest {
 protected:
  std::unique_ptr<TGleanerForm> Open(const std::string& file, const Names& names) {
    LoadResult loaded = ReadBriefs2(WriteBrief(file, names));
    BriefWindowServices services;
    services.Prompts = &prompter_;
    services.Holder = &holder_;
    auto form = std::make_unique<TGleanerForm>(std::move(loaded.Document), services);
    form->resize(480, 320);
    form->show();
    return form;
  }

  EntryHolder holder_;
};

TEST_F(BriefWindowTest, DeletingAndSortingKeepTheSelectionInItsPlace) {
  for (const auto& [count, selected, after] : {std::tuple{3, 1, 1}, {3, 2, 1}, {1, 0, -1}}) {
    SCOPED_TRACE(selected);
    auto form = Open("d.brf", count == 1 ? Names{"a"} : Names{"a", "b", "c"});
    form->WebList().Select(selected);
    form->DeleteEntryClick();
    EXPECT_EQ(prompter_.titles.back(), "Delete a Web Entry");
    EXPECT_EQ(form->WebList().Selected(), after);
    EXPECT_EQ(NamesOnDisk(form->FileName()).size(), static_cast<std::size_t>(count - 1));
    EXPECT_EQ(form->Commands().Sort, after >= 0);
    EXPECT_EQ(form->Commands().DeleteEntry, after >= 0);
  }
  auto form = Open("s.brf", {"b", "B", "a"});
  form->WebList().Select(0);
  form->SortEntriesClick();
  EXPECT_EQ(Shown(*form), (Names{"B", "a", "b"}));
  EXPECT_EQ(NamesOnDisk(form->FileName()), Shown(*form));
  EXPECT_EQ(form->WebList().Selected(), 0);
}

// Dragged row, target row, Ctrl held; the rows and the selection after.
TEST_F(BriefWindowTest, DropsMoveWithinAWindowAndCopyWithCtrl) {
  const std::tuple<int, int, bool, Names, int> rows[] = {
      {0, 2, false, {"b", "c", "a"}, 2},
      {2, 0, false, {"c", "a", "b"}, 0},
      {0, 2, true, {"a", "b", "a", "c"}, 0},
      {2, 0, true, {"c", "a", "b", "c"}, 3},
  };
  for (const auto& [source, target, copy, names, selected] : rows) {
    SCOPED_TRACE(::testing::PrintToString(names));
    auto form = Open("m.brf", {"a", "b", "c"});
    form->WebList().Select(source);
    form->FinishDragDrop(*form, source, target, copy);
    EXPECT_EQ(Shown(*form), names);
    EXPECT_EQ(NamesOnDisk(form->FileName()), names);
    EXPECT_EQ(form->WebList().Selected(), selected);
  }
}

// A drop on itself does not save; a failed save shows the error and keeps the change.
TEST_F(BriefWindowTest, EntriesGoBetweenWindowsByDropAndThroughTheHolder) {
  fs::create_directory(folder_ / "gone");
  const std::string longName(300, 'n');
  auto source = Open("gone/c.brf", {"a", longName});
  auto target = Open("p.brf", {"x", "y"});
  EXPECT_FALSE(target->Commands().Paste);
  fs::remove(source->FileName());
  source->FinishDragDrop(*source, 1, 1, false);
  EXPECT_FALSE(fs::exists(source->FileName()));

  const auto& box = *target->findChild<TWebScrollBox*>("Rows");
  EXPECT_EQ(box.DropIndex(10 * kRowPitch, true), 1);  // below the last row, moving within
  const int below = box.DropIndex(10 * kRowPitch, false);
  EXPECT_EQ(below, 2);
  target->FinishDragDrop(*source, 0, below, false);
  EXPECT_EQ(Shown(*source), (Names{"a", longName}));

  source->WebList().Select(1);
  prompter_.answer = false;
  source->Cut1Click();
  EXPECT_EQ(source->WebList().Count(), 2);
  target->WebList().Select(1);
  ASSERT_TRUE(target->Commands().Paste);
  target->Paste1Click();
  const Names pasted{longName.substr(0, 256), "x", "y", "a"};
  EXPECT_EQ(Shown(*target), pasted);
  EXPECT_EQ(NamesOnDisk(target->FileName()), pasted);
  EXPECT_EQ(target->WebList().Selected(), 2);
  prompter_.answer = true;
  source->Cut1Click();
  EXPECT_EQ(NamesOnDisk(source->FileName()), (Names{"a"}));

  fs::remove_all(folder_ / "gone");
  source->CreateWebEntryClick();
  EXPECT_EQ(prompter_.titles,
            (Names{"Cut a Web Entry", "Cut a Web Entry", "Brief File Saving Error"}));
  EXPECT_EQ(source->WebList().Count(), 2);
}

// F2 edits the name, Tab the depth; Return or another row's click ends an edit, Escape drops it.
TEST_F(BriefWindowTest, KeyboardAndCheckMarkSelectEditAndSaveExceptWhileGenerating) {
  auto form = Open("k.brf", {"a", "b", "c"});
  auto* rows = form->findChild<TWebScrollBox*>("Rows");
  auto* editor = form->findChild<QLineEdit*>("RowEditor");
  const auto press = [&](Qt::Key key) {
    QTest::keyClick(rows, key);
    return form->WebList().Selected();
  };
  EXPECT_EQ(press(Qt::Key_Down), 0);
  EXPECT_EQ(press(Qt::Key_End), 2);
  EXPECT_EQ(press(Qt::Key_Home), 0);
  EXPECT_EQ(press(Qt::Key_Down), 1);
  const auto edit = [&](int row, const char* text) {
    form->WebList().Select(row);
    QTest::keyClick(rows, Qt::Key_F2);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
  };
  QTest::keyClick(rows, Qt::Key_F2);  // the name shows selected: typing replaces it
  QTest::keyClicks(editor, "Named");
  QTest::keyClick(editor, Qt::Key_Tab);
  QTest::keyClicks(editor, "7");
  QTest::keyClick(editor, Qt::Key_Return);
  const TWebEntry edited = ReadBriefs2(form->FileName()).Document.Brief.WebList[1];
  EXPECT_TRUE(edited.Name == "Named" && edited.NameSet && edited.Depth == 7);
  EXPECT_EQ(form->WebList().Row(1).DepthLabel()->text(), "7");

  edit(0, "kept");
  QTest::mouseClick(form->WebList().Row(2).NameLabel(), Qt::LeftButton);  // another row
  edit(1, "dropped");
  QTest::keyClick(editor, Qt::Key_Escape);
  edit(2, "");
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_EQ(Shown(*form), (Names{"kept", "Named", "www.c.example/"}));
  EXPECT_EQ(NamesOnDisk(form->FileName()), Shown(*form));
  EXPECT_FALSE(form->WebList().Entry(2).NameSet);

  prompter_.answer = false;
  QTest::keyClick(rows, Qt::Key_Delete);
  EXPECT_EQ(prompter_.titles.back(), "Delete a Web Entry");
  EXPECT_EQ(form->WebList().Count(), 3);

  TCheckMark* mark = form->WebList().Row(1).CheckMark();
  QTest::mouseClick(mark, Qt::LeftButton);
  EXPECT_EQ(form->WebList().Selected(), 1);
  EXPECT_FALSE(ReadBriefs2(form->FileName()).Document.Brief.WebList[1].Active);
  form->BeginRun();
  QTest::keyClick(rows, Qt::Key_F2);
  EXPECT_TRUE(editor->isHidden());
  QTest::mouseClick(mark, Qt::LeftButton);
  EXPECT_FALSE(form->WebList().Entry(1).Active);
  holder_.Copy(TWebEntry{}, "1");
  form->ShowEntryMenu(QPoint());  // the entry menu offers only what a generating brief allows
  for (const char* name : {"PopupAddEntry", "PopupDeleteEntry", "Cut1", "Paste1", "Copy1"})
    EXPECT_EQ(form->findChild<QAction*>(name)->isEnabled(), name == std::string("Copy1")) << name;
  form->findChild<QMenu*>("WebEntryMenu")->close();
  form->EndRun();
  QTest::mouseClick(mark, Qt::LeftButton);
  EXPECT_TRUE(form->WebList().Entry(1).Active);
}

class MainFrameTest : public ShellTest {
 protected:
  std::unique_ptr<TMDIFrame> Start(const std::vector<fs::path>& files = {}, bool browse = true) {
    return StartFrame(files, browse, [this](TGleanerForm& form) { runs_.push_back(&form); });
  }

  static Names OpenFiles(const TMDIFrame& frame) {
    Names files;
    for (const TGleanerForm* form : frame.Briefs())
      files.push_back(form->FileName().filename().string());
    return files;
  }

  std::vector<TGleanerForm*> runs_;
};

// A first start with all four samples opens them (the desktop start test under Xvfb shows it).
TEST_F(MainFrameTest, FirstStartWithoutEverySampleOpensNoneLaterStartsReopenTheLastExitsBriefs) {
  fs::create_directories(folder_ / "program" / "briefs");
  for (const char* sample : {"Leisure.brf", "Sports.brf", "Gov.brf"})
    WriteBrief(std::string("program/briefs/") + sample, {"a"});
  EXPECT_EQ(OpenFiles(*Start()), Names{});
  SettingsStore store(DefaultSettingsFile());
  EXPECT_EQ(ReadStartupValue(store, settings_keys::kFirstStart), "No");
  const fs::path a = WriteBrief("a.brf", {"x"}), b = WriteBrief("b.brf", {"y"}),
                 gone = WriteBrief("gone.brf", {"z"});
  const QRect frameGeometry(60, 40, 900, 620);
  {
    auto frame = Start();
    frame->setGeometry(frameGeometry);
    frame->DoFileOpen(a, WindowPlacement{10, 20, 300, 200, WindowState::Normal});
    frame->DoFileOpen(b, WindowPlacement{40, 50, 320, 210, WindowState::Normal});
    frame->DoFileOpen(gone, std::nullopt);
    frame->close();
  }
  fs::remove(gone);

  auto frame = Start({b});  // b was open at the exit: it comes to the front, no message
  EXPECT_EQ(OpenFiles(*frame), (Names{"a.brf", "b.brf"}));
  EXPECT_TRUE(prompter_.titles.empty());
  EXPECT_EQ(frame->geometry(), frameGeometry);
  EXPECT_EQ(frame->Briefs()[0]->parentWidget()->geometry(), QRect(10, 20, 300, 200));
  EXPECT_EQ(frame->ActiveBrief()->FileName(), b);
  EXPECT_EQ(frame->Recent().Names(), (Names{b.string(), a.string(), gone.string()}));
  auto* third = frame->findChild<QAction*>("Recent3");
  EXPECT_EQ(third->text().toStdString(), "&3 " + gone.string());
  frame->Briefs()[0]->parentWidget()->close();
  frame->findChild<QAction*>("Recent2")->trigger();
  EXPECT_EQ(OpenFiles(*frame), (Names{"b.brf", "a.brf"}));
}

// The browser writes a line each time it starts: once, for the splash that was asked to.
TEST_F(MainFrameTest, SplashStartsTheBrowserWhenAskedAndCloses) {
  const ScopedEnvironment fast("GLEANER_LIGHT_TIME_SCALE", "0.01");
  const fs::path browser = folder_ / "browser.sh";
  WriteFileBytes(browser, "#!/bin/sh\necho started >> \"$0.ran\"\n");
  fs::permissions(browser, fs::perms::owner_all);
  Settings settings;
  settings.BrowserPath = browser.string();
  for (const bool autoLoad : {false, true}) {
    settings.AutoLoadBrowser = autoLoad;
    EXPECT_EQ(TSplashScreen(settings).exec(), QDialog::Accepted);
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(browser.string() + ".ran"); }));
  QTest::qWait(100);  // time for a second start to show
  EXPECT_EQ(ReadFileBytes(browser.string() + ".ran"), "started\n");
}

TEST_F(MainFrameTest, PlacementsOffEveryScreenComeBackOntoTheFirst) {
  const QRect screen(0, 0, 1000, 800), middle(350, 300, 300, 200);
  const std::pair<QRect, QRect> rows[] = {
      {{10, 10, 300, 200}, {10, 10, 300, 200}},      // on screen
      {{-200, 10, 300, 200}, {-200, 10, 300, 200}},  // mostly left of it
      {{-260, 10, 300, 200}, middle},                // a sliver left
      {{5000, 5000, 300, 200}, middle},              // far away
      {{3000, 0, 2000, 900}, screen},                // larger than the screen
  };
  for (const auto& [wanted, placed] : rows)
    EXPECT_EQ(OntoVisibleArea(wanted, {screen}, screen), placed);
}

TEST_F(MainFrameTest, NewSaveAsCloseAndOpenOnce) {
  auto frame = Start();
  const FrameActions& actions = frame->Actions();
  dialogs_.answer = folder_ / "fresh.brf";
  actions.New1->trigger();
  ASSERT_EQ(OpenFiles(*frame), (Names{"fresh.brf"}));
  EXPECT_EQ(frame->ActiveBrief()->windowTitle(), "Fresh");
  const LoadResult made = ReadBriefs2(folder_ / "fresh.brf");
  EXPECT_TRUE(made.Loaded && made.Document.Brief.Name == "New Brief");

  dialogs_.answer = folder_ / "Other.BRF";
  actions.SaveAs1->trigger();
  EXPECT_EQ(dialogs_.titles, (std::vector<QString>{"Save As", "Save fresh.brf As"}));
  EXPECT_EQ(frame->ActiveBrief()->windowTitle(), "Other");
  EXPECT_TRUE(ReadBriefs2(folder_ / "Other.BRF").Loaded);

  actions.Close1->trigger();
  EXPECT_TRUE(frame->Briefs().isEmpty());
  EXPECT_FALSE(actions.SaveAs1->isEnabled());

  actions.New1->trigger();  // cancelled
  dialogs_.answer = folder_ / "fresh.brf";
  actions.Open1->trigger();
  EXPECT_EQ(OpenFiles(*frame), (Names{"fresh.brf"}));
  EXPECT_TRUE(prompter_.titles.empty());
  // A brief opens once, whatever the letter case.
  EXPECT_EQ(frame->DoFileOpen(folder_ / "FRESH.BRF", std::nullopt), nullptr);
  EXPECT_EQ(prompter_.titles, Names{"Brief already open"});
  EXPECT_EQ(frame->Briefs().size(), 1);
}

TEST_F(MainFrameTest, CommandsFollowTheActiveBriefWindowAndPrintAfterThePrintDialog) {
  auto frame = Start();
  TGleanerForm* full = frame->DoFileOpen(WriteBrief("full.brf", {"a", "b"}), std::nullopt);
  TGleanerForm* empty = frame->DoFileOpen(WriteBrief("empty.brf", {}), std::nullopt);
  const FrameActions& actions = frame->Actions();
  EXPECT_FALSE(actions.SortEntries->isEnabled());
  EXPECT_FALSE(actions.GenerateBriefs->isEnabled());
  EXPECT_FALSE(actions.Paste1->isEnabled() || actions.Print1->isEnabled());
  auto* window = qobject_cast<QMdiSubWindow*>(full->parentWidget());
  window->mdiArea()->setActiveSubWindow(window);
  EXPECT_TRUE(actions.SortEntries->isEnabled());
  actions.GenerateBriefs->trigger();
  EXPECT_EQ(runs_, std::vector<TGleanerForm*>{full});
  EXPECT_FALSE(actions.DeleteEntry1->isEnabled());
  full->WebList().Select(0);
  EXPECT_TRUE(actions.DeleteEntry1->isEnabled());
  actions.Copy1->trigger();
  EXPECT_TRUE(actions.Paste1->isEnabled());

  full->BeginRun();
  for (const QAction* action :
       {actions.CreateWebEntry, actions.DeleteEntry1, actions.Cut1, actions.Paste1,
        actions.SortEntries, actions.SaveAs1, actions.GenerateBriefs})
    EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
  EXPECT_TRUE(actions.Copy1->isEnabled());
  full->EndRun();
  EXPECT_TRUE(actions.Paste1->isEnabled());

  actions.Paste1->trigger();
  EXPECT_EQ(NamesOnDisk(full->FileName()), (Names{"a", "a", "b"}));
  EXPECT_EQ(empty->WebList().Count(), 0);
  const fs::path pdf = folder_ / "printed.pdf";
  for (const bool accepted : {false, true}) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->printer()->setOutputFileName(PathToQString(pdf));
      accepted ? dialog->accept() : dialog->reject();
    });
    actions.Print1->trigger();
    EXPECT_EQ(fs::exists(pdf), accepted);
  }
}

TEST_F(MainFrameTest, HelpOpensInTheBrowserWhichMustBeSetAndItsPageBecomesANewEntry) {
  Start({}, false)->Actions().Contents1->trigger();
  EXPECT_EQ(prompter_.titles, Names{"Browser Not Set"});
  auto frame = Start();
  frame->Actions().Contents1->trigger();
  EXPECT_EQ(browsed_, Names{HelpAddress(help_context::kContents, ProgramDirectory())});
  LoopbackServer endpoint([](const Request&) {
    return PageAnswer(R"([{"id": "P", "type": "page", "url": "http://a.test/", "title": "A"}])");
  });
  frame->ProgramSettings().BrowserDebuggingPort = endpoint.Port();
  TGleanerForm* form = frame->DoFileOpen(WriteBrief("b.brf", {"a"}), std::nullopt);
  frame->Actions().GetBrowserURL->trigger();
  const TWebEntry added = ReadBriefs2(form->FileName()).Document.Brief.WebList.back();
  EXPECT_EQ(added.URL + " " + added.Name, "http://a.test/ A");
  EXPECT_TRUE(added.NameSet && form->WebList().Count() == 2);
}

// A toolbar folder with a folder inside it, a link at the top level.
constexpr std::string_view kExport = R"(<TITLE>Ann&#39;s Bookmarks</TITLE><DL><p>
<DT><H3 PERSONAL_TOOLBAR_FOLDER="true">Bookmarks Toolbar</H3><DL><p>
<DT><A HREF="https://news.example/">Caf&#233; News</A><DT><H3>Weather</H3>
<DL><p><DT><A HREF="https://rain.example/">Rain</A></DL><p>
<DT><A HREF="https://sun.example/">Sun</A></DL><p><DT><A HREF="https://top.example/">Top</A></DL>)";

using BookmarksWindowTest = ShellTest;

TEST_F(BookmarksWindowTest, LoadsAnExportAndCopiesOrDragsBookmarksIntoABrief) {
  auto frame = StartFrame();
  const FrameActions& actions = frame->Actions();
  const auto import = [&](const char* file, std::string_view bytes) {
    WriteFileBytes(folder_ / file, bytes);
    dialogs_.answer = folder_ / file;
    actions.ImportHotlist1->trigger();
    return frame->ActiveBookmarks();
  };
  EXPECT_EQ(import("empty.html", "<html><body>No bookmarks</body></html>"), nullptr);
  EXPECT_EQ(prompter_.titles, Names{"Bookmark File Loading Error"});

  TGleanerForm* brief = frame->DoFileOpen(WriteBrief("p.brf", {"x", "y"}), std::nullopt);
  QPointer<TBkMarks> window = import("bookmarks.html", kExport);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Ann's Bookmarks");
  auto& tree = Find<QTreeWidget>(*window, "GLOutline");
  Names outline;  // each item, and the folder it is in
  for (QTreeWidgetItemIterator it(&tree); *it; ++it)
    outline.push_back(
        ToBytes((*it)->text(0) + ((*it)->parent() ? " in " + (*it)->parent()->text(0) : "")));
  EXPECT_EQ(outline, (Names{"Bookmarks Toolbar", "Caf\xC3\xA9 News in Bookmarks Toolbar",
                            "Weather in Bookmarks Toolbar", "Rain in Weather",
                            "Sun in Bookmarks Toolbar", "Top"}));
  const auto item = [&](const char* caption) {
    return tree.findItems(caption, Qt::MatchExactly | Qt::MatchRecursive).value(0);
  };
  const auto activate = [](QWidget& shown) {
    auto* sub = qobject_cast<QMdiSubWindow*>(shown.parentWidget());
    sub->mdiArea()->setActiveSubWindow(sub);
  };

  // No brief is active: only copy is offered, and only for a link.
  for (const QAction* action : {actions.Close1, actions.CreateWebEntry, actions.Paste1,
                                actions.Print1, actions.BriefSetup1, actions.Copy1})
    EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
  tree.setCurrentItem(item("Weather"));
  EXPECT_FALSE(actions.Copy1->isEnabled());
  tree.setCurrentItem(item("Caf\xC3\xA9 News"));
  ASSERT_TRUE(actions.Copy1->isEnabled());
  actions.Copy1->trigger();
  activate(*brief);
  actions.Paste1->trigger();
  const TWebEntry pasted = ReadBriefs2(brief->FileName()).Document.Brief.WebList[0];
  EXPECT_TRUE(pasted.URL == "https://news.example/" && pasted.NameSet && pasted.Depth == 1);

  // A folder's links, its inner folder's included, in file order: entering, then dropped on row 2.
  const std::unique_ptr<EntryDragData> data = window->DragData(*item("Bookmarks Toolbar"));
  QWidget& rows = Find<QWidget>(*brief, "Panel3");
  const QPoint point(20, kRowPitch + 5);
  QDragEnterEvent enter(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&rows, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&rows, &drop);
  const Names expected{"Caf\xC3\xA9 News | Entire Page",
                       "Caf\xC3\xA9 News | Entire Page",
                       "Rain | Entire Page",
                       "Sun | Entire Page",
                       "x | 1",
                       "y | 1"};
  EXPECT_EQ(Shown(*brief, true), expected);
  EXPECT_EQ(NamesOnDisk(brief->FileName()).size(), expected.size());
  EXPECT_EQ(brief->WebList().Selected(), 1);

  activate(*window);
  window->parentWidget()->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(frame->ActiveBookmarks(), nullptr);
  EXPECT_TRUE(actions.Paste1->isEnabled());
}

class RunThreadTest : public ShellTest {
 protected:
  RunThreadTest() {
    // Answers the modal "Brief Ready" dialog from inside its own event loop.
    readyAnswerer_.callOnTimeout([this] {
      if (auto* dialog = qobject_cast<TBtnRightDlg*>(QApplication::activeModalWidget())) {
        ++readyAsked_;
        readyYes_ ? dialog->OKBtnClick() : dialog->reject();
      }
    });
    readyAnswerer_.start(5);
  }

  // The main window with run.brf open: entries of depth 2 at these paths of the site.
  TGleanerForm* Open(const Names& names, const Names& paths) {
    frame_ = StartFrame();
    Names addresses;
    for (const std::string& path : paths)
      addresses.push_back(site_.Address(path));
    return frame_->DoFileOpen(WriteBrief("run.brf", names, addresses, 2), std::nullopt);
  }

  // The progress window on show (one that a run has freed may wait for the event loop).
  TBriefProcessing* Progress() const {
    for (TBriefProcessing* window : frame_->findChildren<TBriefProcessing*>())
      if (!window->isHidden()) return window;
    return nullptr;
  }
  QString Item(const char* name) const {
    return Progress() == nullptr ? QString() : Find<QLabel>(*Progress(), name).text();
  }
  int Percent() const {
    return Progress() == nullptr ? -1 : Find<QProgressBar>(*Progress(), "ProgressBar1").value();
  }
  // Clicks Abort or Skip; then how many of the two are enabled.
  int Click(const char* button) const {
    QTest::mouseClick(&Find<QPushButton>(*Progress(), button), Qt::LeftButton);
    return Find<QPushButton>(*Progress(), "Abort").isEnabled() +
           Find<QPushButton>(*Progress(), "Skip").isEnabled();
  }
  Names ArchivesOnDisk() const {
    return ReadBriefs2(folder_ / "run.brf").Document.Brief.ArchivePaths;
  }

  // hang.htm sends half of what it announces, then nothing until the client gives up (32 s).
  LoopbackServer site_{[](const Request& request) {
    const std::string target = request.Target();
    Answer answer = PageAnswer(std::string(2000, 'x'));
    if (target == "/index.htm") answer = PageAnswer("<a href=\"hang.htm\">hang</a>");
    answer.HoldOpen = target == "/hang.htm";
    if (answer.HoldOpen) answer.Bytes.resize(answer.Bytes.size() - 1000);
    return answer;
  }};
  std::unique_ptr<TMDIFrame> frame_;
  QTimer readyAnswerer_;
  int readyAsked_ = 0;
  bool readyYes_ = false;
};

TEST_F(RunThreadTest, ProgressSkipAndAbortFromTheWindow) {
  TGleanerForm* form = Open({"First", "Second"}, {"/index.htm", "/hang.htm"});
  TGleanerForm* other = frame_->DoFileOpen(WriteBrief("other.brf", {"x"}), std::nullopt);
  form->GenerateBriefsClick();
  EXPECT_FALSE(other->Commands().Generate);  // one run at a time

  // The top page is in; the page it links to hangs half-way.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return Item("CurrAddr").endsWith("/hang.htm") && Percent() > 0 && Percent() < 100; }));
  EXPECT_EQ(Item("BriefName") + "|" + Item("CurrEntry") + "|" + Item("PagesLoaded"),
            "New Brief|First|1");
  // Meanwhile the window thread serves its events: a timer keeps firing.
  int ticks = 0;
  QTimer timer;
  timer.callOnTimeout([&] { ++ticks; });
  timer.start(1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 50; }));
  EXPECT_EQ(Item("PagesLoaded"), "1");

  EXPECT_EQ(Click("Skip"), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Item("CurrEntry") == "Second" && Percent() > 0; }));
  prompter_.answer = false;
  EXPECT_EQ(Click("Abort"), 2);
  EXPECT_TRUE(form->HasRun());
  prompter_.answer = true;
  readyYes_ = true;
  EXPECT_EQ(Click("Abort"), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form->HasRun(); }));
  EXPECT_EQ(prompter_.titles, (Names{"Skip Entry?", "Stop Brief?", "Stop Brief?"}));
  EXPECT_EQ(readyAsked_, 1);
  EXPECT_EQ(browsed_, Names{FileAddressFromPath(folder_ / "0" / "Brief0.htm")});
  EXPECT_EQ(form->Document().Brief.ArchivePaths, Names{"0\\Brief0.htm"});
  EXPECT_EQ(ArchivesOnDisk(), Names{"0\\Brief0.htm"});
  EXPECT_NE(ReadFileBytes(folder_ / "0" / "Brief0.htm").find(">Second</a>"), std::string::npos);
  EXPECT_NE(ReadFileBytes(folder_ / "0" / "GL2.htm").find("<h2>Page Skipped</h2>"),
            std::string::npos);
  const BriefCommands after = form->Commands();
  EXPECT_TRUE(after.AddEntry && after.Sort && after.SaveAs && after.Close && after.Generate);
  EXPECT_TRUE(frame_->Actions().GenerateBriefs->isEnabled() && other->Commands().Generate);
}

// Closing right after Generate: the Stop comes before the worker's first step and is kept.
TEST_F(RunThreadTest, ClosingDuringARunStopsItAndClosesOnceItHasEnded) {
  for (const bool program : {false, true}) {
    SCOPED_TRACE(program ? "the program" : "the brief window");
    TGleanerForm* form = Open({"First"}, {"/hang.htm"});
    frame_->Actions().GenerateBriefs->trigger();
    const QPointer<QWidget> closing = program ? frame_.get() : form->parentWidget();
    EXPECT_FALSE(closing->close());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !closing || !closing->isVisible(); }));
    EXPECT_EQ(ArchivesOnDisk().size(), 1u);
  }
  EXPECT_EQ(prompter_.titles, (Names{"Stop Brief?", "Stop Brief?"}));
  EXPECT_EQ(readyAsked_, 0);
  EXPECT_EQ(site_.RequestCount(), 0u);
  SettingsStore store(DefaultSettingsFile());
  EXPECT_NE(ReadStartupValue(store, settings_keys::kOpenBriefs)->find("run.brf"),
            std::string::npos);
}

TEST(ProgressWindowTest, ItemsEndAtALineBreakAndFitWithDotsTheUserCannotCloseIt) {
  RecordingPrompter prompter;
  TBriefProcessing window(std::make_shared<RunHandle>(), prompter, nullptr);
  window.UpdateItem(ProgressItem::CurrEntry, " \t\r\nName\tmore\nlines");
  EXPECT_EQ(Find<QLabel>(window, "CurrEntry").text(), "Name");

  const QString address = "http://www.example.com/" + QString(400, 'a');
  window.UpdateItem(ProgressItem::CurrAddr, ToBytes(address));
  const QString shown = Find<QLabel>(window, "CurrAddr").text();
  const QString kept = shown.chopped(3);
  EXPECT_TRUE(shown.endsWith("...") && address.startsWith(kept));
  const int room = window.width() - 30 - Find<QLabel>(window, "CurrAddr").x();
  EXPECT_LT(window.fontMetrics().horizontalAdvance(shown), room);
  EXPECT_GE(window.fontMetrics().horizontalAdvance(address.left(kept.size() + 1) + "..."), room);
  window.show();
  EXPECT_FALSE(window.close());
}

}  // namespace
}  // namespace gl::test
