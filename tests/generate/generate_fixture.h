#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/settings.h"
#include "generate/generate_brief.h"
#include "generate/run_context.h"
#include "generate/run_host.h"
#include "support/temp_folder.h"

namespace gl::test {

// 3/5/1997 9:07:02 AM in UTC: the stamp every test header carries.
inline constexpr std::time_t kTestTime = 857552822;
inline constexpr std::string_view kTestStamp = "3/5/1997 9:07:02 AM";

// Dates and times are local; tests read them in UTC.
inline void UseUtc() {
  setenv("TZ", "UTC", 1);
  tzset();
}

// A host that records every call; the run's questions are answered by doing nothing.
class RecordingHost : public RunHost {
 public:
  void SetStatusText(const std::string& text) override { Calls.push_back("status:" + text); }
  void SetProgress(int) override {}
  void BeginRun() override { Calls.push_back("begin"); }
  void EndRun() override { Calls.push_back("end"); }
  void OpenProgressWindow() override { Calls.push_back("open"); }
  void UpdateItem(ProgressItem item, const std::string& text) override {
    Items.emplace_back(item, text);
    if (OnItem) OnItem(item, text);
  }
  void CloseProgressWindow() override { Calls.push_back("close"); }
  void BriefReady(const std::string& briefName, const std::string& summaryAddress) override {
    Calls.push_back("ready:" + briefName + "|" + summaryAddress);
  }
  void ShowError(const std::string& title, const std::string& text) override {
    Calls.push_back("error:" + title + "|" + text);
  }

  // The texts shown for one item, in order.
  std::vector<std::string> Texts(ProgressItem item) const {
    std::vector<std::string> texts;
    for (const auto& [shown, text] : Items) {
      if (shown == item) texts.push_back(text);
    }
    return texts;
  }

  std::vector<std::string> Calls;
  std::vector<std::pair<ProgressItem, std::string>> Items;
  std::function<void(ProgressItem, const std::string&)> OnItem;
};

// The body of a canned answer as FetchPage lays it out: header, empty line, body, one zero byte.
FetchResult CannedPage(std::string_view body, bool pageOk = true, bool nonText = false);

// A run context over a temp folder, with canned answers instead of the network: every address a
// step fetches is looked up in `Answers` (a missing one gives a failed fetch) and recorded.
class RunFixture : public ::testing::Test {
 protected:
  RunFixture();

  void SetUp() override { UseUtc(); }

  // Starts a web entry with these options; its catalogue is "test.cat" in the run folder.
  void BeginEntry(bool images = true, int depth = 3);

  std::string ReadRunFile(std::string_view name) const;
  // The names in the run folder, sorted.
  std::vector<std::string> RunFiles() const;
  // The names the catalogue lists, after closing it.
  std::vector<std::string> CatalogueNames();

  TempFolder folder_;
  Settings settings_;
  RunEnvironment environment_;
  RecordingHost host_;
  NameCounters names_;
  std::int64_t freeSpace_ = std::int64_t{1} << 40;
  std::map<std::string, FetchResult> answers_;
  std::vector<std::string> fetched_;
  TWebEntry entry_;
  RunContext run_;
};

}  // namespace gl::test
