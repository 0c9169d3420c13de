#include "ui/main_frame.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "browser/help_pages.h"
#include "core/brief_file.h"
#include "core/settings_io.h"
#include "platform/program_directory.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "ui/bookmarks_window.h"
#include "ui/brief_window.h"
#include "ui/entry_drag.h"
#include "ui/entry_rows.h"
#include "ui/qt_text.h"
#include "ui/splash_screen.h"
#include "ui/ui_test_support.h"
#include "ui/window_placement.h"

namespace gl::test {
namespace {

TEST(PrintCanvasTest, PrintOptionPrintsABriefFileWithoutADisplay) {
  TempFolder folder;
  TBriefDocument document{folder / "news.brf", {}};
  document.Brief.Name = "Caf\xC3\xA9 news";
  for (int i = 1; i <= 6; ++i)
    SetTypedName(CreateNewWebEntry(document.Brief, i - 1), "Entry " + std::to_string(i));
  ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
  const QString brief = PathToQString(document.FileName), pdf = PathToQString(folder / "news.pdf");
  const std::string missing = (folder / "none.brf").string(),
                    unwritable = (folder / "no/x.pdf").string();
  const std::string usage = "Run 'gleaner-light --help' for the options.\n",
                    unprinted = "Printing Error: Gleaner-Light could not print this brief.\n" +
                                unwritable + ": cannot be written\n";
  // The arguments, the exit code and how stderr ends.
  const std::tuple<QStringList, int, std::string> rows[] = {
      {{"--print", missing.c_str(), "--pdf", pdf}, 1, missing + ": No such file or directory\n"},
      {{"--print", brief, "--pdf", unwritable.c_str()}, 1, unprinted},
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
  qsizetype printed = 0;  // four lines for the brief, nine for each entry
  for (qsizetype page = 0; page < pages.size(); ++page) {
    QStringList lines = pages[page].split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(ToBytes(lines.takeLast()), "Page " + std::to_string(page + 1));
    printed += lines.size();
  }
  EXPECT_EQ(printed, 4 + 6 * 9);
  EXPECT_TRUE(pages[0].contains("Brief Name: Caf\xC3\xA9 news"));
}

using MainFrameTest = ShellTest;

// A first start with all four samples opens them (the desktop start test under Xvfb shows it).
TEST_F(MainFrameTest, FirstStartWithoutEverySampleOpensNoneLaterStartsReopenTheLastExitsBriefs) {
  fs::create_directories(folder_ / "program" / "briefs");
  for (const char* sample : {"Leisure.brf", "Sports.brf", "Gov.brf"})
    WriteBrief(std::string("program/briefs/") + sample, {"a"});
  EXPECT_EQ(OpenFiles(*StartFrame()), Names{});
  SettingsStore store(DefaultSettingsFile());
  EXPECT_EQ(ReadStartupValue(store, settings_keys::kFirstStart), "No");
  const fs::path a = WriteBrief("a.brf", {"x"}), b = WriteBrief("b.brf", {"y"}),
                 gone = WriteBrief("gone.brf", {"z"});
  const QRect frameGeometry(60, 40, 900, 620);
  auto first = StartFrame();
  first->setGeometry(frameGeometry);
  first->DoFileOpen(a, WindowPlacement{10, 20, 300, 200, WindowState::Normal});
  first->DoFileOpen(b, WindowPlacement{40, 50, 320, 210, WindowState::Normal});
  first->DoFileOpen(gone, std::nullopt);
  first->close();
  first.reset();
  fs::remove(gone);

  auto frame = StartFrame({b});  // b was open at the exit: it comes to the front, no message
  EXPECT_EQ(OpenFiles(*frame), (Names{"a.brf", "b.brf"}));
  EXPECT_TRUE(prompter_.titles.empty());
  EXPECT_EQ(frame->geometry(), frameGeometry);
  EXPECT_EQ(frame->Briefs()[0]->parentWidget()->geometry(), QRect(10, 20, 300, 200));
  EXPECT_EQ(frame->ActiveBrief()->FileName(), b);
  EXPECT_EQ(frame->Recent().Names(), (Names{b.string(), a.string(), gone.string()}));
  EXPECT_EQ(ToBytes(frame->findChild<QAction*>("Recent3")->text()), "&3 " + gone.string());
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

TEST_F(MainFrameTest, NewSaveAsCloseOpenOnceHelpAndTheBrowsersPageAsAnEntry) {
  auto frame = StartFrame();
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
  // A brief opens once, whatever the letter case.
  EXPECT_EQ(frame->DoFileOpen(folder_ / "FRESH.BRF", std::nullopt), nullptr);
  EXPECT_EQ(prompter_.titles, Names{"Brief already open"});
  EXPECT_EQ(frame->Briefs().size(), 1);

  actions.Contents1->trigger();
  EXPECT_EQ(browsed_, Names{HelpAddress(help_context::kContents, ProgramDirectory())});
  LoopbackServer endpoint([](const Request&) {
    return PageAnswer(R"([{"id": "P", "type": "page", "url": "http://a.test/", "title": "A"}])");
  });
  frame->ProgramSettings().BrowserDebuggingPort = endpoint.Port();
  actions.GetBrowserURL->trigger();
  ASSERT_EQ(frame->ActiveBrief()->WebList().Count(), 1);
  const TWebEntry added = ReadBriefs2(folder_ / "fresh.brf").Document.Brief.WebList.at(0);
  EXPECT_TRUE(added.URL == "http://a.test/" && added.Name == "A" && added.NameSet);
  StartFrame({}, false)->Actions().Contents1->trigger();
  EXPECT_EQ(prompter_.titles.back(), "Browser Not Set");
}

TEST_F(MainFrameTest, CommandsFollowTheActiveBriefWindowAndPrintAfterThePrintDialog) {
  std::vector<TGleanerForm*> runs;
  auto frame = StartFrame({}, true, [&](TGleanerForm& form) { runs.push_back(&form); });
  TGleanerForm* full = frame->DoFileOpen(WriteBrief("full.brf", {"a", "b"}), std::nullopt);
  TGleanerForm* empty = frame->DoFileOpen(WriteBrief("empty.brf", {}), std::nullopt);
  const FrameActions& actions = frame->Actions();
  EXPECT_FALSE(actions.SortEntries->isEnabled() || actions.GenerateBriefs->isEnabled() ||
               actions.Paste1->isEnabled() || actions.Print1->isEnabled());
  Activate(*full);
  EXPECT_TRUE(actions.SortEntries->isEnabled());
  actions.GenerateBriefs->trigger();
  EXPECT_EQ(runs, std::vector<TGleanerForm*>{full});
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
  const auto item = [&](const char* caption) {
    return tree.findItems(caption, Qt::MatchExactly | Qt::MatchRecursive).value(0);
  };
  EXPECT_EQ(item("Rain")->parent(), item("Weather"));
  EXPECT_EQ(item("Bookmarks Toolbar")->child(2), item("Sun"));
  EXPECT_EQ(tree.topLevelItem(1), item("Top"));

  // No brief is active: only copy is offered, and only for a link.
  for (const QAction* action : {actions.Close1, actions.CreateWebEntry, actions.Paste1,
                                actions.Print1, actions.BriefSetup1, actions.Copy1})
    EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
  tree.setCurrentItem(item("Weather"));
  EXPECT_FALSE(actions.Copy1->isEnabled());
  tree.setCurrentItem(item("Caf\xC3\xA9 News"));
  actions.Copy1->trigger();
  Activate(*brief);
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
  const std::string all = " | Entire Page", news = "Caf\xC3\xA9 News" + all;
  EXPECT_EQ(Shown(*brief, true), (Names{news, news, "Rain" + all, "Sun" + all, "x | 1", "y | 1"}));
  EXPECT_EQ(NamesOnDisk(brief->FileName()).size(), 6u);
  EXPECT_EQ(brief->WebList().Selected(), 1);

  Activate(*window);
  window->parentWidget()->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(frame->ActiveBookmarks(), nullptr);
  EXPECT_TRUE(actions.Paste1->isEnabled());
}

}  // namespace
}  // namespace gl::test
