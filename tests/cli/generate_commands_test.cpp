#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <iostream>

#include "cli/interrupt.h"
#include "cli_test_support.h"
#include "core/brief_file.h"
#include "platform/cancellation.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"

// The commands around a run; what a run writes is pinned by the generate tests.

namespace gl::test {
namespace {

namespace fs = std::filesystem;

// A home page with an image and a link: three requests.
Answer ServeSmallSite(const Request& request) {
  if (request.Target() == "/index.htm")
    return PageAnswer("<html><img src=\"logo.gif\"><a href=\"a.htm\">A</a></html>");
  if (request.Target() == "/a.htm") return PageAnswer("<html>A</html>");
  if (request.Target() == "/logo.gif") return PageAnswer("GIF89a;", "image/gif");
  return StatusAnswer(404);
}

// The brief is named from the working folder, as in `cd ~/briefs; gleaner generate news.brf`;
// every path the commands print is absolute all the same.
class GenerateCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(briefs_);
    fs::current_path(briefs_);
    ASSERT_EQ(RunCli({"new", brief_, "--name", "Test news"}).code, cli::kExitDone);
    ASSERT_EQ(RunCli({"add", brief_, server_.Address("/index.htm"), "--name", "Home", "--depth",
                      "2", "--images"})
                  .code,
              cli::kExitDone);
  }

  void TearDown() override { fs::current_path(workingFolder_); }

  TBriefRecord Reload() const { return ReadBriefs2(brief_).Document.Brief; }
  std::string Summary(const std::string& run) const {
    return (briefs_ / run / "Brief0.htm").string();
  }

  CliFolder folder_;  // also the settings store's home
  std::atomic<int> requests_{0};
  std::atomic<int> interruptAtRequest_{0};  // 0: never
  std::atomic<int> signal_{SIGINT};
  LoopbackServer server_{[this](const Request& request) {
    if (++requests_ == interruptAtRequest_) kill(getpid(), signal_);
    return ServeSmallSite(request);
  }};
  fs::path briefs_ = folder_ / "briefs";
  fs::path workingFolder_ = fs::current_path();
  std::string brief_ = "news.brf";
};

TEST_F(GenerateCommandTest, ACompletedRunEndsWithTheSummaryPath) {
  const CliRun run = RunCli({"generate", brief_});
  ASSERT_EQ(run.code, cli::kExitDone) << run.err;
  // Not a terminal: plain lines, one per entry and page, then the totals and the summary path.
  EXPECT_EQ(run.out, "Brief: Test news\nEntry: Home\n  [1 of 2] " + server_.Address("/index.htm") +
                         "\n  [2 of 2] " + server_.Address("/a.htm") +
                         "\nLoaded: 2 pages, 1 images and files, 0 KB\n" + Summary("0") + "\n");
  EXPECT_TRUE(fs::is_regular_file(Summary("0")));
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(server_.RequestCount(), 3u);
  EXPECT_EQ(Reload().ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});

  const CliRun quiet = RunCli({"generate", "--quiet", brief_});
  ASSERT_EQ(quiet.code, cli::kExitDone) << quiet.err;
  EXPECT_EQ(quiet.out, Summary("1") + "\n");
}

// SIGTERM and SIGHUP (a closed terminal) stop a run as the first Ctrl+C does.
TEST_F(GenerateCommandTest, CtrlCTermAndHangUpAbortTheRunAndRecordIt) {
  const int signals[] = {SIGINT, SIGTERM, SIGHUP};
  for (std::size_t run = 0; run < std::size(signals); ++run) {
    SCOPED_TRACE(strsignal(signals[run]));
    signal_ = signals[run];
    interruptAtRequest_ = requests_ + 2;
    const CliRun generated = RunCli({"generate", "-q", brief_});
    EXPECT_EQ(generated.code, cli::kExitAborted) << generated.err;
    EXPECT_EQ(generated.out, Summary(std::to_string(run)) + "\n");
    EXPECT_EQ(generated.err, "The run was stopped; it is recorded as far as it went.\n");
    // The summary page is closed and the run is in the brief's list.
    EXPECT_TRUE(ReadFileBytes(Summary(std::to_string(run))).ends_with("</html>\r\n"));
    EXPECT_EQ(Reload().ArchivePaths.size(), run + 1);
    struct sigaction now {};
    sigaction(signals[run], nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);  // the handler was put back
  }
  EXPECT_EQ(server_.RequestCount(), 6u);  // each run stopped after its second request
}

// In a child process: the first stop signal only asks for Stop, a closed output is no reason to
// end, and a second stop signal ends the program at once.
TEST(StopOnInterruptTest, TheSecondStopSignalEndsTheProgram) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    cli::StopOnInterrupt guard;
    raise(SIGTERM);
    raise(SIGPIPE);
    if (!StopRequested()) _exit(2);
    raise(SIGINT);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
  EXPECT_EQ(WTERMSIG(status), SIGINT);
}

// As with `gleaner generate news.brf | head -n 2`: the reader is gone before the first line.
TEST_F(GenerateCommandTest, AClosedOutputStopsTheOutputNotTheRun) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  close(pipeEnds[0]);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    const char* argv[] = {"gleaner", "generate", brief_.c_str()};
    _exit(cli::RunGleaner(3, argv, std::cout, std::cerr));
  }
  close(pipeEnds[1]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), cli::kExitDone);
  EXPECT_EQ(server_.RequestCount(), 3u);
  EXPECT_EQ(Reload().ArchivePaths.size(), 1u);
}

// A write that fails half way, as on a full disk, ends the run with the disk error.
TEST_F(GenerateCommandTest, AFullDiskEndsTheRunWithTheDiskError) {
  CliRun run;
  {
    const ScopedFileSizeLimit limit(600);
    run = RunCli({"generate", "-q", brief_});
  }
  EXPECT_EQ(run.code, cli::kExitFailed);
  EXPECT_TRUE(run.err.starts_with("Disk Error: ")) << run.err;
  EXPECT_TRUE(Reload().ArchivePaths.empty());
}

// Without a browser the run still goes on; with no browser answering on the debugging port the
// browser program is started with the summary's address (a fifo waits for its report).
TEST_F(GenerateCommandTest, OpenStartsTheBrowserWithTheSummaryAddress) {
  const CliRun unset = RunCli({"generate", "-q", "--open", brief_});
  EXPECT_EQ(unset.code, cli::kExitDone);
  EXPECT_NE(unset.err.find("No browser is set"), std::string::npos) << unset.err;
  ASSERT_EQ(RunCli({"settings", "browser-port", std::to_string(ClosedLoopbackPort())}).code,
            cli::kExitDone);
  ASSERT_EQ(RunCli({"settings", "browser-path", "/nonexistent/browser"}).code, cli::kExitDone);
  const CliRun missing = RunCli({"generate", "-q", "--open", brief_});
  EXPECT_EQ(missing.code, cli::kExitDone);
  EXPECT_TRUE(missing.err.starts_with("Cannot start /nonexistent/browser: ")) << missing.err;

  const fs::path fifo = folder_ / "browser-report";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const fs::path browser = folder_ / "browser.sh";
  WriteFileBytes(browser, "#!/bin/sh\nprintf '%s' \"$1\" > '" + fifo.string() + "'\n");
  fs::permissions(browser, fs::perms::owner_all);
  ASSERT_EQ(RunCli({"settings", "browser-path", browser.string()}).code, cli::kExitDone);
  ASSERT_EQ(RunCli({"generate", "-q", "--open", brief_}).code, cli::kExitDone);
  EXPECT_EQ(ReadFileBytes(fifo), "file://" + Summary("2"));
  EXPECT_EQ(Reload().ArchivePaths.size(), 3u);
}

TEST_F(GenerateCommandTest, ArchivesListNewestFirstAndDeleteRemovesOneRun) {
  const CliRun none = RunCli({"archives", brief_});
  EXPECT_EQ(none.code, cli::kExitDone);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "The brief has no archived runs.\n");

  ASSERT_EQ(RunCli({"generate", "-q", brief_}).code, cli::kExitDone);
  ASSERT_EQ(RunCli({"generate", "-q", brief_}).code, cli::kExitDone);
  const std::vector<std::string> stamps = Reload().ArchiveStamps;
  ASSERT_EQ(stamps.size(), 2u);
  const CliRun listed = RunCli({"archives", brief_});
  ASSERT_EQ(listed.code, cli::kExitDone) << listed.err;
  EXPECT_EQ(listed.out, "1\t" + stamps[1] + "\t" + Summary("1") + "\n2\t" + stamps[0] + "\t" +
                            Summary("0") + "\n");

  for (const std::string row : {"0", "3", "-1"}) {
    SCOPED_TRACE(row);
    const CliRun bad = RunCli({"delete-archive", brief_, row});
    EXPECT_EQ(bad.code, cli::kExitFailed);
    EXPECT_EQ(bad.err, "There is no archived run " + row +
                           "; the brief has 2 archived runs (row 1 is the newest).\n");
  }
  EXPECT_EQ(Reload().ArchiveStamps, stamps);

  const CliRun deleted = RunCli({"delete-archive", brief_, "1"});
  ASSERT_EQ(deleted.code, cli::kExitDone) << deleted.err;
  EXPECT_FALSE(fs::exists(briefs_ / "1"));
  EXPECT_TRUE(fs::is_regular_file(Summary("0")));
  const TBriefRecord after = Reload();
  EXPECT_EQ(after.ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});
  EXPECT_EQ(after.ArchiveStamps, std::vector<std::string>{stamps[0]});
  EXPECT_EQ(RunCli({"delete-archive", brief_, "2"}).err,
            "There is no archived run 2; the brief has 1 archived run (row 1 is the newest).\n");
}

}  // namespace
}  // namespace gl::test
