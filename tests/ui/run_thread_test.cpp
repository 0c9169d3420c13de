#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "core/settings_io.h"
#include "platform/file_address.h"
#include "support/loopback_server.h"
#include "support/temp_folder.h"
#include "ui/brief_window.h"
#include "ui/main_frame.h"
#include "ui/message_dialogs.h"
#include "ui/progress_window.h"
#include "ui/qt_text.h"
#include "ui/ui_test_support.h"

namespace gl::test {
namespace {

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

  // The main window with run.brf open: entries of depth 2 at these addresses.
  TGleanerForm* Open(const Names& names, const Names& addresses) {
    frame_ = StartFrame();
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
  TGleanerForm* form =
      Open({"First", "Second"}, {site_.Address("/index.htm"), site_.Address("/hang.htm")});
  TGleanerForm* other = frame_->DoFileOpen(WriteBrief("other.brf", {"x"}), std::nullopt);
  form->GenerateBriefsClick();
  EXPECT_FALSE(other->Commands().Generate);  // one run at a time

  // The top page is in; the page it links to hangs half-way.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return Item("CurrAddr").endsWith("/hang.htm") && Percent() > 0 && Percent() < 100; }));
  EXPECT_EQ(Item("BriefName") + "|" + Item("CurrEntry") + "|" + Item("PagesLoaded"),
            "New Brief|First|1");
  TBriefProcessing& window = *Progress();  // items end at a line break and fit with dots
  window.UpdateItem(ProgressItem::CurrEntry, " \t\r\nName\tmore\nlines");
  EXPECT_EQ(Item("CurrEntry"), "Name");
  const QString address = "http://www.example.com/" + QString(400, 'a');
  window.UpdateItem(ProgressItem::CurrAddr, ToBytes(address));
  const QString shown = Item("CurrAddr"), kept = shown.chopped(3);
  EXPECT_TRUE(shown.endsWith("...") && address.startsWith(kept));
  const int room = window.width() - 30 - Find<QLabel>(window, "CurrAddr").x();
  EXPECT_LT(window.fontMetrics().horizontalAdvance(shown), room);
  EXPECT_GE(window.fontMetrics().horizontalAdvance(address.left(kept.size() + 1) + "..."), room);
  EXPECT_FALSE(window.close());

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
  EXPECT_EQ(ReadBriefs2(folder_ / "run.brf").Document.Brief.ArchivePaths, Names{"0\\Brief0.htm"});
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
    TGleanerForm* form = Open({"First"}, {site_.Address("/hang.htm")});
    frame_->Actions().GenerateBriefs->trigger();
    const QPointer<QWidget> closing = program ? frame_.get() : form->parentWidget();
    EXPECT_FALSE(closing->close());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !closing || !closing->isVisible(); }));
    EXPECT_EQ(ReadBriefs2(folder_ / "run.brf").Document.Brief.ArchivePaths.size(), 1u);
  }
  EXPECT_EQ(prompter_.titles, (Names{"Stop Brief?", "Stop Brief?"}));
  EXPECT_EQ(readyAsked_, 0);
  EXPECT_EQ(site_.RequestCount(), 0u);
  SettingsStore store(DefaultSettingsFile());
  EXPECT_NE(ReadStartupValue(store, settings_keys::kOpenBriefs)->find("run.brf"),
            std::string::npos);
}

}  // namespace
}  // namespace gl::test
