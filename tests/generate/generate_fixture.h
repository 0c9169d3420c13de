#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "core/brief_file.h"
#include "core/byte_text.h"
#include "generate/generate_brief.h"
#include "generate/internal/run_catalogue.h"
#include "platform/cancellation.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/standalone_run.h"
#include "support/temp_folder.h"

namespace gl::test {

using Texts = std::vector<std::string>;

// 3/5/1997 9:07:02 AM in UTC.
inline constexpr std::time_t kTestTime = 857552822;
inline const std::string kGif("GIF89a\x01\x00\x01\x00\x00\xff", 12);

inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

inline Texts SortedNames(const std::filesystem::path& folder) {
  Texts names;
  for (const auto& item : std::filesystem::directory_iterator(folder))
    names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline FetchResult CannedPage(std::string_view body, bool pageOk = true, bool nonText = false) {
  FetchResult result;
  result.Stream.Bytes() =
      "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + std::string(body) + '\0';
  result.PageOk = pageOk;
  result.NonText = nonText;
  return result;
}

class StampedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    ClearStop();
    ClearSkip();
  }
};

// The page steps in an entry with images and depth 3; fetches are recorded, answered from answers_.
class RunFixture : public StampedTest {
 protected:
  RunFixture() {
    standalone_.Environment.Now = [] { return kTestTime; };
    standalone_.BeginEntry(true, 3);
  }

  std::string ReadRunFile(std::string_view name) const { return ReadFileBytes(folder_ / name); }
  Texts CatalogueNames() {
    run_.FinishCatalogue();
    const auto catalogue = ReadRunCatalogue(folder_ / "Brief0.cat");
    if (!catalogue) return {"no catalogue"};
    Texts names{catalogue->Folder};
    names.insert(names.end(), catalogue->Names.begin(), catalogue->Names.end());
    return names;
  }

  template <typename Write>
  std::string Written(Write write) {
    CheckedFile file(scratch_ / "written.htm");
    write(file);
    file.Close();
    return ReadFileBytes(scratch_ / "written.htm");
  }
  std::string Header(std::string_view title, const LinkSet& links, bool frameSet = false) {
    return Written([&](CheckedFile& f) { run_.WriteHeader(f, title, frameSet, links); });
  }
  std::string Footer(const LinkSet& links) {
    return Written([&](CheckedFile& f) { PrintBriefFooter(f, links); });
  }

  TempFolder folder_;
  TempFolder scratch_;
  std::map<std::string, FetchResult> answers_;
  Texts fetched_;
  StandaloneRun standalone_{
      folder_.Path(), [this](std::string& address, const FetchOptions&, ProgressSink&) {
        fetched_.push_back(address);
        const auto answer = answers_.find(address);
        return answer != answers_.end() ? answer->second : CannedPage("missing", false);
      }};
  RunContext& run_ = standalone_.Context;
};

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
  int Count(const std::string& call) const {
    return static_cast<int>(std::count(Calls.begin(), Calls.end(), call));
  }

  Texts Calls;
  std::map<ProgressItem, Texts> Shown;
};

class GenerateTest : public StampedTest {
 protected:
  GenerateTest() {
    document_.FileName = folder_ / "news.brf";
    document_.Brief.Name = "News";
    settings_.RetryCount = 1;
    environment_.ProgramDirectory = "//opt/./gleaner/";  // the pages name /opt/gleaner/images/
    environment_.Now = [] { return kTestTime; };
    environment_.FreeSpace = [this](const std::filesystem::path&) {
      const bool full = lowSpaceAfter_ >= 0 && ++freeSpaceReadings_ > lowSpaceAfter_;
      return full ? settings_.DiskBufferBytes : std::int64_t{1} << 40;
    };
  }

  TWebEntry& AddEntry(const std::string& url, int depth, const std::string& name = "Entry") {
    TWebEntry& entry = document_.Brief.WebList.emplace_back();
    entry.URL = url;
    entry.Name = name;
    entry.Depth = depth;
    entry.Images = entry.OtherFiles = entry.StayLocal = true;
    return entry;
  }
  RunReport Generate() {
    EXPECT_EQ(SaveBriefs2(document_).Outcome, SaveOutcome::Saved);
    const RunReport report = GenerateBrief(document_, settings_, names_, environment_, host_);
    document_ = ReadBriefs2(document_.FileName).Document;
    return report;
  }

  void Serve(const std::string& path, Answer answer) {
    const std::lock_guard lock(answersMutex_);
    answers_[path] = std::move(answer);
  }
  void ServePage(const std::string& path, std::string_view html) { Serve(path, PageAnswer(html)); }
  // What Serve set for the request's path; any server of the test may answer so.
  Answer AnswerFor(const Request& request) {
    const std::string path = request.Target();
    if (onRequest_) onRequest_(path);
    const std::lock_guard lock(answersMutex_);
    const auto answer = answers_.find(path);
    return answer != answers_.end() ? answer->second : StatusAnswer(404);
  }
  std::string Address(std::string_view path) const { return server_.Address(path); }
  int Count(std::string_view path) const {
    return static_cast<int>(std::ranges::count(server_.Requests(), path, &Request::Target));
  }

  // Removes run 0, the brief's entries and record of runs, and what the host was told.
  void StartOver() {
    std::filesystem::remove_all(RunFolder());
    document_.Brief.WebList.clear();
    document_.Brief.ArchivePaths.clear();
    document_.Brief.ArchiveStamps.clear();
    names_ = {};
    host_ = {};
  }

  std::filesystem::path RunFolder(int number = 0) const {
    return folder_.Path() / std::to_string(number);
  }
  std::string RunFile(std::string_view name) const { return ReadFileBytes(RunFolder() / name); }
  Texts FilesOf(int number = 0) const { return SortedNames(RunFolder(number)); }
  // Each named file of run 0 holds its text.
  void ExpectFilesHave(std::initializer_list<std::pair<std::string, std::string>> parts) const {
    for (const auto& [name, part] : parts)
      EXPECT_TRUE(Contains(RunFile(name), part)) << name << ": " << part;
  }

  // Run 0 is closed, recorded first, listed whole in its catalogue, and its references resolve.
  void ExpectWholeArchive(bool referencesResolve = true) const {
    EXPECT_TRUE(RunFile("Brief0.htm").ends_with("</ul></body>\r\n</html>\r\n"));
    ASSERT_FALSE(document_.Brief.ArchivePaths.empty());
    EXPECT_EQ(document_.Brief.ArchivePaths[0], "0\\Brief0.htm");
    const auto catalogue = ReadRunCatalogue(RunFolder() / "Brief0.cat");
    ASSERT_TRUE(catalogue) << "no run catalogue";
    EXPECT_EQ(catalogue->Folder, "0");
    Texts listed = catalogue->Names;
    listed.push_back("Brief0.cat");
    std::sort(listed.begin(), listed.end());
    const Texts files = FilesOf();
    EXPECT_TRUE(std::includes(listed.begin(), listed.end(), files.begin(), files.end()));
    if (!referencesResolve) return;
    EXPECT_EQ(listed, files);
    static const std::regex script(R"re(<script[^]*?</script[^>]*>|/\*[^]*?\*/)re",
                                   std::regex::icase);
    static const std::regex reference(
        R"re(\b(?:href|src|background|data|poster|srcset)\s*=\s*["']?([^"'\s>]*)|url\(\s*["']?([^"')\s]*)|@import\s+["']([^"']*)|,\s*([^\s,"'>]+)\s+\d+[wx]\b)re",
        std::regex::icase);
    for (const std::string& name : files) {
      if (!name.ends_with(".htm") && !name.ends_with(".css")) continue;
      const std::string page = std::regex_replace(RunFile(name), script, "");
      for (std::sregex_iterator m(page.begin(), page.end(), reference), end; m != end; ++m) {
        std::string value = m->str(1) + m->str(2) + m->str(3) + m->str(4);  // one group matched
        value.resize(std::min(value.find('#'), value.size()));
        if (value.empty() || Contains(value, ":") || value.starts_with("/")) continue;
        EXPECT_TRUE(std::filesystem::exists(RunFolder() / value))
            << name << " refers to the missing file " << value;
      }
    }
  }

  // Real time-outs: a loaded machine never makes a page late.
  ScopedTimeScale timeScale_{"1"};
  TempFolder folder_;
  std::function<void(const std::string&)> onRequest_;
  std::mutex answersMutex_;
  std::map<std::string, Answer> answers_;
  LoopbackServer server_{[this](const Request& request) { return AnswerFor(request); }};
  TBriefDocument document_;
  Settings settings_;
  NameCounters names_;
  RunEnvironment environment_;
  RecordingHost host_;
  int lowSpaceAfter_ = -1;  // free-space readings after which the disk is full; -1: never
  int freeSpaceReadings_ = 0;
};

}  // namespace gl::test
