#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "generate/generate_brief.h"
#include "platform/cancellation.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/standalone_run.h"
#include "support/temp_folder.h"

namespace gl::test {

// 3/5/1997 9:07:02 AM in UTC: the stamp of every test run; tests read local time in UTC.
inline constexpr std::time_t kTestTime = 857552822;

inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// A fetched answer as FetchPage lays it out: header, empty line, body, one zero byte.
FetchResult CannedPage(std::string_view body, bool pageOk = true, bool nonText = false);

// Reads local time in UTC and leaves no Stop or Skip request behind.
class StampedTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// The page steps over a run folder, in an entry that loads images and has depth 3, with canned
// answers instead of the network: every address a step fetches is recorded and looked up in
// `answers_` (a missing one gives a failed fetch).
class RunFixture : public StampedTest {
 protected:
  RunFixture();

  std::string ReadRunFile(std::string_view name) const { return ReadFileBytes(folder_ / name); }
  // The run folder's files but the catalogue, sorted.
  std::vector<std::string> RunFiles() const;
  // The names the run catalogue lists, the first record included, after closing it.
  std::vector<std::string> CatalogueNames();

  // What `write` writes into a file outside the run folder.
  template <typename Write>
  std::string Written(Write write) {
    {
      CheckedFile file(scratch_ / "written.htm");
      write(file);
      file.Close();
    }
    return ReadFileBytes(scratch_ / "written.htm");
  }
  // The navigation bar of a page of the run, stamped with the test time.
  std::string Header(std::string_view title, const LinkSet& links, bool frameSet = false) {
    return Written([&](CheckedFile& f) { run_.WriteHeader(f, title, frameSet, links); });
  }
  std::string Footer(const LinkSet& links) {
    return Written([&](CheckedFile& f) { PrintBriefFooter(f, links); });
  }

  TempFolder folder_;
  TempFolder scratch_;
  std::int64_t freeSpace_ = std::int64_t{1} << 40;
  std::map<std::string, FetchResult> answers_;
  std::vector<std::string> fetched_;
  StandaloneRun standalone_;
  RunContext& run_ = standalone_.Context;
};

// A host that records its calls and, per item, the texts shown.
class RecordingHost : public QuietHost {
 public:
  void SetStatusText(const std::string& text) override { Calls.push_back("status:" + text); }
  void BeginRun() override { Calls.push_back("begin"); }
  void EndRun() override { Calls.push_back("end"); }
  void OpenProgressWindow() override { Calls.push_back("open"); }
  void UpdateItem(ProgressItem item, const std::string& text) override {
    Shown[item].push_back(text);
  }
  void CloseProgressWindow() override { Calls.push_back("close"); }
  void BriefReady(const std::string& briefName, const std::string& summaryAddress) override {
    Calls.push_back("ready:" + briefName + "|" + summaryAddress +
                    (StopOrSkipRequested() ? " while Stop or Skip is pending" : ""));
  }
  void ShowError(const std::string& title, const std::string& text) override {
    Calls.push_back("error:" + title + "|" + text);
  }

  std::vector<std::string> Calls;
  std::map<ProgressItem, std::vector<std::string>> Shown;
};

// A brief file "news.brf" (brief "News") in a temp folder, generated with a recording host, the
// test time and settable free space, and a site on a loopback server for its entries.
class GenerateTest : public StampedTest {
 protected:
  // Time-outs and the server's pauses shrunk by `timeScale`.
  explicit GenerateTest(const char* timeScale = "0.02");

  // An active entry that loads images and other files and stays on its site.
  TWebEntry& AddEntry(const std::string& url, int depth, const std::string& name = "Entry");
  // Saves the brief, runs it and reads the brief back with the run recorded, as a window would.
  RunReport Generate();

  // The site answers a path as given, anything else with 404. Its hook sees every request path
  // first (a test may request Stop or Skip there).
  void Serve(const std::string& path, Answer answer);
  void ServePage(const std::string& path, std::string_view html) { Serve(path, PageAnswer(html)); }
  // "http://127.0.0.1:<port>" + path
  std::string Address(std::string_view path) const { return server_.Address(path); }
  // How often the site was asked for a path.
  int Count(std::string_view path) const;

  std::filesystem::path RunFolder(int number = 0) const {
    return folder_.Path() / std::to_string(number);
  }
  std::string RunFile(std::string_view name) const { return ReadFileBytes(RunFolder() / name); }
  // The names in a run folder, sorted.
  std::vector<std::string> FilesOf(int number = 0) const;
  // Run 0's catalogue lists exactly the files of its folder (after the folder's number); and,
  // unless the run was cut short, every local reference (href, src, background outside scripts)
  // of its pages names one of them. A run cut short may list a file it then removed.
  void ExpectWholeArchive(bool referencesResolve = true) const;

  ScopedTimeScale timeScale_;
  TempFolder folder_;
  std::function<void(const std::string&)> onRequest_;
  std::mutex answersMutex_;
  std::map<std::string, Answer> answers_;
  LoopbackServer server_;
  TBriefDocument document_;
  Settings settings_;
  NameCounters names_;
  RunEnvironment environment_;
  RecordingHost host_;
  int lowSpaceAfter_ = -1;  // free-space readings after which the disk is full; -1: never
  int freeSpaceReadings_ = 0;
};

}  // namespace gl::test
