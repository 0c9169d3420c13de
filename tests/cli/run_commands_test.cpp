#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <iostream>
#include <tuple>

#include "cli/cli_test_support.h"
#include "cli/interrupt.h"
#include "core/brief_file.h"
#include "net/internal/base64.h"
#include "platform/cancellation.h"
#include "support/loopback_server.h"

namespace gl::test {
namespace {

// The explanation page goes out without the zero byte that ends it in memory. Once the queue is
// empty the server interrupts the fetch; without the guard the signal would end the tests.
TEST(FetchCommandTest, PrintsTheResultWhereTheLastRedirectLedUsesTheSettingsAndOptionsAndCtrlC) {
  const CliFolder home;
  const ScopedTimeScale timeScale("0.05");
  LoopbackServer server([](const Request&) {
    raise(SIGINT);
    return SilentAnswer();
  });
  server.Enqueue(RedirectAnswer(301, "/moved/\x1b[2Jhere.htm"));
  server.Enqueue(PageAnswer("<html>hi</html>"));
  EXPECT_EQ(RunCli({"fetch", server.Address("/a.htm")}),
            (CliRun{0, PageAnswer("<html>hi</html>").Bytes,
                    "page-ok=yes non-text=no external=no address=" + server.HostPort() +
                        "/moved/\\x1B[2Jhere.htm\n"}));
  server.Enqueue(StatusAnswer(404));
  const CliRun missing = RunCli({"fetch", server.Address("/gone.htm")});
  EXPECT_THAT(missing.out, ::testing::MatchesRegex("HTTP/1.0 500\r\n\r\n<html><title>Inaccessible "
                                                   "Page.*</body></html>"));
  EXPECT_EQ(missing.err,
            "page-ok=no non-text=no external=no address=" + server.Address("/gone.htm") + "\n");

  // Retries and the default credentials come from the settings; --user and --password win.
  for (const char* setting : {"retries 1", "user-name bob", "password pw"})
    RunDone(std::string("settings ") + setting);
  server.Enqueue(StatusAnswer(401));
  server.Enqueue(StatusAnswer(500));  // no second attempt with one retry
  EXPECT_EQ(RunCli({"fetch", server.Address("/private.htm")}).code, 1);
  server.Enqueue(StatusAnswer(401));
  server.Enqueue(PageAnswer("members"));
  EXPECT_EQ(RunCli(Words("fetch B --user ann --password secret", server.Address("/a"))).code, 0);
  ASSERT_EQ(server.RequestCount(), 7u);
  EXPECT_EQ(server.Requests()[4].Header("Authorization"), "Basic " + EncodeBase64("bob:pw"));
  EXPECT_EQ(server.Requests()[6].Header("Authorization"), "Basic " + EncodeBase64("ann:secret"));

  // The options decide which content types are accepted.
  const std::tuple<std::string, const char*, int, const char*> rows[] = {
      {"image/gif", "fetch B", 1, "page-ok=no non-text=yes "},
      {"image/gif", "fetch B --images", 0, "page-ok=yes non-text=yes "},
      {"application/zip", "fetch B --images", 1, "page-ok=no non-text=yes "},
      {"application/zip", "fetch B --other-files", 0, "page-ok=yes non-text=yes "},
      {"", "fetch B --stay-local --base http://www.example.com/", 1,
       "page-ok=no non-text=no external=yes "},
  };
  for (const auto& [type, command, code, err] : rows) {
    SCOPED_TRACE(command);
    if (!type.empty()) server.Enqueue(PageAnswer("GIF89a", type));
    EXPECT_TRUE(Exits(RunCli(Words(command, server.Address("/a"))), code, err));
  }
  EXPECT_EQ(server.RequestCount(), 11u);

  const ScopedTimeScale stretched("100");
  const CliRun stopped = RunCli({"fetch", server.Address("/a.htm")});
  EXPECT_EQ(stopped.code, 1);
  EXPECT_THAT(stopped.out, HasSubstr("<title>Gleaner-Light Web page skipped</title>"));
  EXPECT_FALSE(StopRequested());
}

// The wait status of a child process that runs `body`.
int InChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  ClearStop();  // the child's Stop signalled the wake pipe that this process shares
  return status;
}

Answer ServeSmallSite(const Request& request) {
  if (request.Target() == "/index.htm")
    return PageAnswer("<html><img src=\"logo.gif\"><a href=\"a.htm\">A</a></html>");
  if (request.Target() == "/a.htm") return PageAnswer("<html>A</html>");
  if (request.Target() == "/logo.gif") return PageAnswer("GIF89a;", "image/gif");
  return StatusAnswer(404);
}

// The brief is named from the working folder; every path the commands print is absolute.
class GenerateCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(briefs_);
    fs::current_path(briefs_);
    ASSERT_EQ(RunCli({"new", brief_, "--name", "Test news"}).code, kExitDone);
    RunDone("add B " + server_.Address("/index.htm") + " --name Home --depth 2 --images", brief_);
  }
  void TearDown() override { fs::current_path(workingFolder_); }

  TBriefRecord Reload() const { return ReadBriefs2(brief_).Document.Brief; }
  std::string Summary(const std::string& run) const {
    return (briefs_ / run / "Brief0.htm").string();
  }

  CliFolder folder_;
  std::atomic<int> requests_{0}, interruptAtRequest_{0} /* 0: never */, signal_{SIGINT};
  LoopbackServer server_{[this](const Request& request) {
    if (++requests_ == interruptAtRequest_) kill(getpid(), signal_);
    return ServeSmallSite(request);
  }};
  fs::path briefs_ = folder_ / "briefs";
  fs::path workingFolder_ = fs::current_path();
  std::string brief_ = "news.brf";
};

// Runs list newest first by row; a row that is not there fails and changes nothing.
TEST_F(GenerateCommandTest, RunsListNewestFirstDeleteOneSurviveAClosedOutputAndOpenTheBrowser) {
  EXPECT_EQ(RunCli({"archives", brief_}),
            (CliRun{kExitDone, "", "The brief has no archived runs.\n"}));
  EXPECT_EQ(RunCli({"generate", brief_}),
            (CliRun{kExitDone,
                    "Brief: Test news\nEntry: Home\n  [1 of 2] " + server_.Address("/index.htm") +
                        "\n  [2 of 2] " + server_.Address("/a.htm") +
                        "\nLoaded: 2 pages, 1 images and files, 0 KB\n" + Summary("0") + "\n"}));
  EXPECT_EQ(RunCli({"generate", "--quiet", brief_}).out, Summary("1") + "\n");
  const std::vector<std::string> stamps = Reload().ArchiveStamps;
  ASSERT_EQ(Reload().ArchivePaths, (std::vector<std::string>{"0\\Brief0.htm", "1\\Brief0.htm"}));
  EXPECT_EQ(RunCli({"archives", brief_}).out, "1\t" + stamps[1] + "\t" + Summary("1") + "\n2\t" +
                                                  stamps[0] + "\t" + Summary("0") + "\n");
  EXPECT_EQ(RunCli({"delete-archive", brief_, "3"}),
            (CliRun{kExitFailed, "",
                    "There is no archived run 3; the brief has 2 archived runs (row 1 is the "
                    "newest).\n"}));
  RunDone("delete-archive B 1", brief_);
  EXPECT_FALSE(fs::exists(briefs_ / "1"));
  EXPECT_TRUE(fs::is_regular_file(Summary("0")));
  EXPECT_EQ(Reload().ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});
  EXPECT_EQ(Reload().ArchiveStamps, std::vector<std::string>{stamps[0]});
  EXPECT_EQ(RunCli({"delete-archive", brief_, "2"}).err,
            "There is no archived run 2; the brief has 1 archived run (row 1 is the newest).\n");

  // No browser answers on the debugging port, so the program is started (a fifo waits for it).
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  close(pipeEnds[0]);
  const int status = InChild([&] {
    dup2(pipeEnds[1], STDOUT_FILENO);
    const char* argv[] = {"gleaner", "generate", brief_.c_str()};
    return cli::RunGleaner(3, argv, std::cout, std::cerr);
  });
  close(pipeEnds[1]);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kExitDone) << "wait status " << status;
  EXPECT_EQ(server_.RequestCount(), 9u);
  EXPECT_EQ(Reload().ArchivePaths.size(), 2u);

  const auto open = [&] { return RunCli({"generate", "-q", "--open", brief_}); };
  EXPECT_TRUE(Exits(open(), kExitDone, "No browser is set"));
  RunDone("settings browser-port " + std::to_string(ClosedLoopbackPort()));
  RunDone("settings browser-path /nonexistent/browser");
  EXPECT_TRUE(Exits(open(), kExitDone, "Cannot start /nonexistent/"));
  const fs::path fifo = folder_ / "browser-report", browser = folder_ / "browser.sh";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  WriteFileBytes(browser, "#!/bin/sh\nprintf '%s' \"$1\" > '" + fifo.string() + "'\n");
  fs::permissions(browser, fs::perms::owner_all);
  RunDone("settings browser-path " + browser.string());
  ASSERT_EQ(open().code, kExitDone);
  EXPECT_EQ(ReadFileBytes(fifo), "file://" + Summary("4"));
  EXPECT_EQ(Reload().ArchivePaths.size(), 5u);
}

// A full disk ends the run with the disk error and records nothing.
TEST_F(GenerateCommandTest, StopSignalsAbortAndRecordTheRunASecondEndsTheProgramAFullDiskFails) {
  const int signals[] = {SIGINT, SIGTERM, SIGHUP};
  for (std::size_t run = 0; run < std::size(signals); ++run) {
    SCOPED_TRACE(strsignal(signals[run]));
    signal_ = signals[run];
    interruptAtRequest_ = requests_ + 2;
    struct sigaction before = {}, now = {};  // SIGINT starts ignored in a background job
    sigaction(signals[run], nullptr, &before);
    EXPECT_EQ(RunCli({"generate", "-q", brief_}),
              (CliRun{cli::kExitAborted, Summary(std::to_string(run)) + "\n",
                      "The run was stopped; it is recorded as far as it went.\n"}));
    EXPECT_TRUE(ReadFileBytes(Summary(std::to_string(run))).ends_with("</html>\r\n"));
    EXPECT_EQ(Reload().ArchivePaths.size(), run + 1);
    sigaction(signals[run], nullptr, &now);
    EXPECT_EQ(now.sa_handler, before.sa_handler);  // the handler was put back
  }
  EXPECT_EQ(server_.RequestCount(), 6u);  // each run stopped after its second request

  const ScopedFileSizeLimit limit(600);
  EXPECT_TRUE(Exits(RunCli({"generate", "-q", brief_}), kExitFailed, "Disk Error: "));
  EXPECT_EQ(Reload().ArchivePaths.size(), 3u);

  // The first stop signal asks for a stop; the second ends the program.
  const int status = InChild([] {
    cli::StopOnInterrupt guard;
    raise(SIGTERM);
    if (!StopRequested()) return 2;
    raise(SIGINT);
    return 0;
  });
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << "wait status " << status;
}

}  // namespace
}  // namespace gl::test
