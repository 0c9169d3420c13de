#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <sstream>

#include "cli/cli.h"
#include "cli_test_support.h"
#include "core/brief_file.h"
#include "platform/cancellation.h"
#include "platform/disk_space.h"
#include "support/loopback_server.h"

namespace gl::cli {
namespace {

namespace fs = std::filesystem;

// The last line of a command's standard output.
std::string LastLine(const test::CliRun& run) {
  std::string text = run.out;
  if (!text.empty() && text.back() == '\n') text.pop_back();
  const std::size_t start = text.rfind('\n');
  return start == std::string::npos ? text : text.substr(start + 1);
}

// A small site: a home page with an image and links to two pages, one of which links further.
const std::map<std::string, std::pair<std::string, std::string>>& SmallSite() {
  static const std::map<std::string, std::pair<std::string, std::string>> site = {
      {"/index.htm",
       {"text/html",
        "<html><head><title>Home</title></head><body><img src=\"logo.gif\">"
        "<a href=\"a.htm\">A</a> <a href=\"b.htm\">B</a></body></html>"}},
      {"/a.htm",
       {"text/html",
        "<html><head><title>A</title></head><body><a href=\"c.htm\">C</a></body>"
        "</html>"}},
      {"/b.htm", {"text/html", "<html><head><title>B</title></head><body>B</body></html>"}},
      {"/c.htm", {"text/html", "<html><head><title>C</title></head><body>C</body></html>"}},
      {"/logo.gif", {"image/gif", std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14)}},
  };
  return site;
}

test::Answer ServeSmallSite(const test::Request& request) {
  const auto found = SmallSite().find(request.Target());
  if (found == SmallSite().end()) return test::StatusAnswer(404);
  return test::PageAnswer(found->second.second, found->second.first);
}

class GenerateCommandTest : public ::testing::Test {
 protected:
  test::CliFolder folder_;  // also the settings store's home
  test::LoopbackServer server_{[this](const test::Request& request) {
    if (++requests_ == stopAtRequest_) kill(getpid(), SIGINT);
    return ServeSmallSite(request);
  }};
  std::atomic<int> requests_{0};
  int stopAtRequest_ = 0;  // 0: never
  fs::path brief_ = folder_ / "briefs" / "news.brf";

  void SetUp() override {
    fs::create_directories(brief_.parent_path());
    TBriefDocument document;
    document.FileName = brief_;
    document.Brief.Name = "Test news";
    TWebEntry entry;
    entry.Name = "Home";
    entry.NameSet = true;
    entry.URL = server_.Address("/index.htm");
    entry.Depth = 3;
    entry.Images = true;
    document.Brief.WebList.push_back(entry);
    ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
  }

  TBriefRecord Reload() {
    LoadResult loaded = ReadBriefs2(brief_);
    EXPECT_TRUE(loaded.Loaded);
    return loaded.Document.Brief;
  }
};

TEST_F(GenerateCommandTest, ACompletedRunEndsWithTheSummaryPath) {
  const test::CliRun result = test::RunCli({"generate", brief_.string()});
  ASSERT_EQ(result.code, kExitDone) << result.err;
  const fs::path summary = brief_.parent_path() / "0" / "Brief0.htm";
  EXPECT_EQ(LastLine(result), summary.string());
  EXPECT_TRUE(fs::is_regular_file(summary));
  EXPECT_TRUE(fs::is_regular_file(brief_.parent_path() / "0" / "Brief0.cat"));
  // Not a terminal: plain lines, one per entry and page, no control codes.
  EXPECT_EQ(result.out.rfind("Brief: Test news\nEntry: Home\n", 0), 0u) << result.out;
  EXPECT_NE(result.out.find("] " + server_.Address("/c.htm") + "\n"), std::string::npos)
      << result.out;
  EXPECT_EQ(result.out.find('\x1b'), std::string::npos);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(server_.RequestCount(), 5u);

  const TBriefRecord brief = Reload();
  ASSERT_EQ(brief.ArchivePaths.size(), 1u);
  EXPECT_EQ(brief.ArchivePaths[0], "0\\Brief0.htm");
}

TEST_F(GenerateCommandTest, QuietPrintsOnlyTheSummaryPath) {
  const test::CliRun result = test::RunCli({"generate", "--quiet", brief_.string()});
  ASSERT_EQ(result.code, kExitDone) << result.err;
  EXPECT_EQ(result.out, (brief_.parent_path() / "0" / "Brief0.htm").string() + "\n");
}

TEST_F(GenerateCommandTest, AnInterruptAbortsTheRunAndRecordsIt) {
  stopAtRequest_ = 2;
  const test::CliRun result = test::RunCli({"generate", "-q", brief_.string()});
  EXPECT_EQ(result.code, kExitAborted) << result.err;
  const fs::path summary = brief_.parent_path() / "0" / "Brief0.htm";
  EXPECT_EQ(LastLine(result), summary.string());
  EXPECT_LT(server_.RequestCount(), SmallSite().size());
  // The summary page is closed and the run is in the brief's list.
  const std::string page = test::ReadFileBytes(summary);
  EXPECT_EQ(page.substr(page.size() - 9), "</html>\r\n");
  EXPECT_EQ(Reload().ArchivePaths.size(), 1u);
  EXPECT_FALSE(StopRequested());  // honoured, then cleared for whatever comes next
  // The handler was put back: SIGINT is no longer caught.
  struct sigaction now {};
  sigaction(SIGINT, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST_F(GenerateCommandTest, ABriefThatCannotBeLoadedFailsWithTheLoadingError) {
  test::WriteFileBytes(folder_ / "junk.brf", "not a brief");
  for (const fs::path& path : {folder_ / "junk.brf", folder_ / "missing.brf"}) {
    SCOPED_TRACE(path.string());
    const test::CliRun result = test::RunCli({"generate", path.string()});
    EXPECT_EQ(result.code, kExitFailed);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "Brief File Loading Error: This file is either corrupt or is not a Brief file. "
              "Gleaner-Light cannot load it.\n");
  }
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(GenerateCommandTest, AFullDiskEndsTheRunWithTheDiskError) {
  const std::int64_t free = FreeDiskBytes(folder_.Path());
  const std::int64_t buffer = std::int64_t{999999} * 1048576;
  if (free < 0 || free >= buffer) GTEST_SKIP() << "the disk has more free space than the buffer";
  ASSERT_EQ(test::RunCli({"settings", "disk-buffer-mb", "999999"}).code, kExitDone);
  const test::CliRun result = test::RunCli({"generate", "-q", brief_.string()});
  EXPECT_EQ(result.code, kExitFailed);
  EXPECT_NE(result.err.find("Disk Error: "), std::string::npos) << result.err;
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(GenerateCommandTest, OpenStartsTheBrowserWithTheSummaryAddress) {
  const fs::path fifo = folder_ / "browser-report";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const fs::path browser = folder_ / "browser.sh";
  test::WriteFileBytes(browser, "#!/bin/sh\nprintf '%s' \"$1\" > '" + fifo.string() + "'\n");
  fs::permissions(browser, fs::perms::owner_all);
  ASSERT_EQ(test::RunCli({"settings", "browser-path", browser.string()}).code, kExitDone);

  const test::CliRun result = test::RunCli({"generate", "-q", "--open", brief_.string()});
  ASSERT_EQ(result.code, kExitDone) << result.err;
  EXPECT_EQ(test::ReadFileBytes(fifo), "file://" + LastLine(result));
}

TEST_F(GenerateCommandTest, OpenWithoutABrowserSaysSoAndStillGenerates) {
  const test::CliRun result = test::RunCli({"generate", "-q", "--open", brief_.string()});
  EXPECT_EQ(result.code, kExitDone);
  EXPECT_NE(result.err.find("No browser is set"), std::string::npos) << result.err;
  EXPECT_TRUE(fs::is_regular_file(LastLine(result)));
}

TEST_F(GenerateCommandTest, ArchivesListNewestFirstAndDeleteRemovesOneRun) {
  ASSERT_EQ(test::RunCli({"generate", "-q", brief_.string()}).code, kExitDone);
  ASSERT_EQ(test::RunCli({"generate", "-q", brief_.string()}).code, kExitDone);
  const TBriefRecord brief = Reload();
  ASSERT_EQ(brief.ArchiveStamps.size(), 2u);
  const fs::path folder = brief_.parent_path();

  const test::CliRun listed = test::RunCli({"archives", brief_.string()});
  ASSERT_EQ(listed.code, kExitDone) << listed.err;
  EXPECT_EQ(listed.out, "1\t" + brief.ArchiveStamps[1] + "\t" +
                            (folder / "1" / "Brief0.htm").string() + "\n2\t" +
                            brief.ArchiveStamps[0] + "\t" + (folder / "0" / "Brief0.htm").string() +
                            "\n");

  const test::CliRun deleted = test::RunCli({"delete-archive", brief_.string(), "1"});
  ASSERT_EQ(deleted.code, kExitDone) << deleted.err;
  EXPECT_FALSE(fs::exists(folder / "1"));
  EXPECT_TRUE(fs::is_regular_file(folder / "0" / "Brief0.htm"));
  const TBriefRecord after = Reload();
  EXPECT_EQ(after.ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});
  EXPECT_EQ(after.ArchiveStamps, std::vector<std::string>{brief.ArchiveStamps[0]});
}

TEST_F(GenerateCommandTest, ABadRowChangesNothing) {
  ASSERT_EQ(test::RunCli({"generate", "-q", brief_.string()}).code, kExitDone);
  for (const std::string row : {"0", "2", "-1"}) {
    SCOPED_TRACE(row);
    const test::CliRun result = test::RunCli({"delete-archive", brief_.string(), row});
    EXPECT_EQ(result.code, kExitFailed);
    EXPECT_EQ(result.err, "There is no archived run " + row +
                              "; the brief has 1 archived run (row 1 is the newest).\n");
  }
  EXPECT_EQ(test::RunCli({"delete-archive", brief_.string(), "first"}).code, kExitUsage);
  EXPECT_EQ(Reload().ArchivePaths.size(), 1u);
  EXPECT_TRUE(fs::is_regular_file(brief_.parent_path() / "0" / "Brief0.htm"));
}

TEST_F(GenerateCommandTest, ABriefWithoutRunsListsNothing) {
  const test::CliRun result = test::RunCli({"archives", brief_.string()});
  EXPECT_EQ(result.code, kExitDone);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "The brief has no archived runs.\n");
}

}  // namespace
}  // namespace gl::cli
