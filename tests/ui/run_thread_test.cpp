#include "ui/run_thread.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "core/settings_io.h"
#include "generate/run_handle.h"
#include "platform/file_address.h"
#include "shell_test_support.h"
#include "support/loopback_server.h"
#include "ui/brief_window.h"
#include "ui/main_frame.h"
#include "ui/message_dialogs.h"
#include "ui/progress_window.h"
#include "ui/qt_text.h"

// Whole generation runs from a brief window against a loopback site, with the questions answered
// as a user would.

namespace gl {
namespace {

using Texts = std::vector<std::string>;
using test::Find;

// Half of an announced page, then silence until the client gives up (32 s): a transfer that only
// Stop or Skip ends quickly.
test::Answer HangingAnswer() {
  test::Answer answer = test::MakeAnswer(
      "HTTP/1.0 200 OK", {{"Content-Type", "text/html"}, {"Content-Length", "2000"}},
      std::string(1000, 'h'));
  answer.HoldOpen = true;
  return answer;
}

class RunThreadTest : public test::ShellTest {
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

  std::unique_ptr<TMDIFrame> Start() {
    FrameOptions options;
    options.ProgramFolder = folder_ / "program";
    options.Prompts = &prompter_;
    options.Browse = [this](const std::string& address) { browsed_.push_back(address); };
    auto frame = std::make_unique<TMDIFrame>(std::move(options));
    frame->FormActivate({});
    return frame;
  }

  // The brief "Run" in run.brf with these entries (name, path on the site) of depth 2.
  TGleanerForm* OpenRunBrief(TMDIFrame& frame,
                             const std::vector<std::pair<std::string, const char*>>& entries) {
    TBriefDocument document;
    document.FileName = folder_ / "run.brf";
    document.Brief.Name = "Run";
    for (const auto& [name, path] : entries) {
      TWebEntry& entry = CreateNewWebEntry(document.Brief, document.Brief.WebList.size());
      entry.URL = site_.Address(path);
      entry.Depth = 2;
      SetTypedName(entry, name);
    }
    EXPECT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
    return frame.DoFileOpen(document.FileName, std::nullopt);
  }

  // The progress window on show (one that a run has freed may wait for the event loop).
  static TBriefProcessing* Progress(const TMDIFrame& frame) {
    for (TBriefProcessing* window : frame.findChildren<TBriefProcessing*>())
      if (!window->isHidden()) return window;
    return nullptr;
  }
  static QString Item(const TMDIFrame& frame, const char* name) {
    TBriefProcessing* window = Progress(frame);
    return window == nullptr ? QString() : Find<QLabel>(*window, name).text();
  }
  static int Percent(const TMDIFrame& frame) {
    TBriefProcessing* window = Progress(frame);
    return window == nullptr ? -1 : Find<QProgressBar>(*window, "ProgressBar1").value();
  }
  static void Click(const TMDIFrame& frame, const char* button) {
    QTest::mouseClick(&Find<QPushButton>(*Progress(frame), button), Qt::LeftButton);
  }
  static bool Enabled(const TMDIFrame& frame, const char* button) {
    return Find<QPushButton>(*Progress(frame), button).isEnabled();
  }

  Texts ArchivesOnDisk() const {
    return ReadBriefs2(folder_ / "run.brf").Document.Brief.ArchivePaths;
  }

  test::LoopbackServer site_{[](const test::Request& request) {
    const std::string target = request.Target();
    if (target == "/index.htm") return test::PageAnswer("<a href=\"hang.htm\">hang</a>");
    if (target == "/hang.htm") return HangingAnswer();
    if (target == "/drip.htm") {
      test::Answer answer = test::PageAnswer(std::string(2000, 'd'));
      answer.DripSize = answer.Bytes.size() / 2 + 1;
      answer.DripPause = std::chrono::milliseconds(300);
      return answer;
    }
    return test::PageAnswer("<p>" + target + "</p>");
  }};
  Texts browsed_;
  QTimer readyAnswerer_;
  int readyAsked_ = 0;
  bool readyYes_ = false;
};

TEST_F(RunThreadTest, ARunShowsItsProgressAndSkipEndsAHangingTransferAtOnce) {
  auto frame = Start();
  TGleanerForm* other = frame->DoFileOpen(WriteBrief("other.brf", {"x"}), std::nullopt);
  TGleanerForm* form = OpenRunBrief(*frame, {{"First", "/index.htm"}, {"Second", "/last.htm"}});
  frame->Actions().GenerateBriefs->trigger();
  EXPECT_FALSE(other->Commands().Generate);  // one run at a time

  // The top page is in; the page it links to hangs half-way.
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return Item(*frame, "CurrAddr").endsWith("/hang.htm") && Percent(*frame) > 0 &&
           Percent(*frame) < 100;
  }));
  EXPECT_EQ(Item(*frame, "BriefName"), "Run");
  EXPECT_EQ(Item(*frame, "CurrEntry"), "First");
  EXPECT_EQ(Item(*frame, "PagesLoaded"), "1");
  EXPECT_FALSE(frame->Actions().SaveAs1->isEnabled());
  // Meanwhile the window thread serves its events: a timer keeps firing.
  int ticks = 0;
  QTimer timer;
  timer.callOnTimeout([&] { ++ticks; });
  timer.start(1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 50; }));
  EXPECT_EQ(Item(*frame, "PagesLoaded"), "1");

  readyYes_ = true;
  Click(*frame, "Skip");
  EXPECT_FALSE(Enabled(*frame, "Skip") || Enabled(*frame, "Abort"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form->HasRun(); }));
  EXPECT_EQ(prompter_.titles, Texts{"Skip Entry?"});
  const std::string summary = test::ReadFileBytes(folder_ / "0" / "Brief0.htm");
  EXPECT_NE(summary.find(">Second</a>"), std::string::npos);
  EXPECT_NE(test::ReadFileBytes(folder_ / "0" / "GL2.htm").find("<h2>Page Skipped</h2>"),
            std::string::npos);
  EXPECT_EQ(readyAsked_, 1);
  EXPECT_EQ(browsed_, Texts{FileAddressFromPath(folder_ / "0" / "Brief0.htm")});
  EXPECT_EQ(form->Document().Brief.ArchivePaths, Texts{"0\\Brief0.htm"});
  EXPECT_EQ(ArchivesOnDisk(), Texts{"0\\Brief0.htm"});
  EXPECT_TRUE(frame->Actions().GenerateBriefs->isEnabled() && other->Commands().Generate);
}

TEST_F(RunThreadTest, AbortAnsweredNoGoesOnAndYesEndsTheRunWhichIsRecorded) {
  auto frame = Start();
  TGleanerForm* form = OpenRunBrief(*frame, {{"First", "/drip.htm"}, {"Second", "/hang.htm"}});
  frame->Actions().GenerateBriefs->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Item(*frame, "CurrEntry") == "First"; }));
  prompter_.answer = false;
  Click(*frame, "Abort");
  EXPECT_TRUE(Enabled(*frame, "Abort") && Enabled(*frame, "Skip"));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return Item(*frame, "CurrEntry") == "Second" && Percent(*frame) > 0; }));

  prompter_.answer = true;
  Click(*frame, "Abort");
  EXPECT_FALSE(Enabled(*frame, "Abort") || Enabled(*frame, "Skip"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form->HasRun(); }));
  EXPECT_EQ(prompter_.titles, (Texts{"Stop Brief?", "Stop Brief?"}));
  EXPECT_EQ(readyAsked_, 1);
  EXPECT_TRUE(browsed_.empty());
  EXPECT_EQ(form->Document().Brief.ArchivePaths, Texts{"0\\Brief0.htm"});
  EXPECT_EQ(ArchivesOnDisk(), Texts{"0\\Brief0.htm"});
  const BriefCommands after = form->Commands();
  EXPECT_TRUE(after.AddEntry && after.Sort && after.SaveAs && after.Close && after.Generate);
}

// Closing right after Generate: the Stop comes before the worker's first step and is kept.
TEST_F(RunThreadTest, ClosingTheProgramDuringARunStopsItAndClosesOnceItHasEnded) {
  auto frame = Start();
  OpenRunBrief(*frame, {{"First", "/hang.htm"}});
  frame->Actions().GenerateBriefs->trigger();
  EXPECT_FALSE(frame->close());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }));
  EXPECT_EQ(prompter_.titles, Texts{"Stop Brief?"});
  EXPECT_EQ(readyAsked_, 0);
  EXPECT_EQ(site_.RequestCount(), 0u);
  EXPECT_EQ(ArchivesOnDisk(), Texts{"0\\Brief0.htm"});
  SettingsStore store(DefaultSettingsFile());
  EXPECT_NE(ReadStartupValue(store, settings_keys::kOpenBriefs)->find("run.brf"),
            std::string::npos);
}

TEST(ProgressWindowTest, ItemsEndAtALineBreakAndFitWithDotsTheUserCannotCloseIt) {
  test::RecordingPrompter prompter;
  TBriefProcessing window(std::make_shared<RunHandle>(), prompter, nullptr);
  window.UpdateItem(ProgressItem::CurrEntry, " \t\r\nName\tmore\nlines");
  EXPECT_EQ(Find<QLabel>(window, "CurrEntry").text(), "Name");

  const QString address = "http://www.example.com/" + QString(400, 'a');
  window.UpdateItem(ProgressItem::CurrAddr, ToBytes(address));
  const QLabel& label = Find<QLabel>(window, "CurrAddr");
  ASSERT_TRUE(label.text().endsWith("..."));
  const QString kept = label.text().chopped(3);
  EXPECT_TRUE(address.startsWith(kept));
  const int room = window.width() - 30 - label.mapTo(&window, QPoint()).x();
  EXPECT_LT(window.fontMetrics().horizontalAdvance(label.text()), room);
  EXPECT_GE(window.fontMetrics().horizontalAdvance(address.left(kept.size() + 1) + "..."), room);

  window.show();
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace gl
