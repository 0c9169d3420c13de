#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/brief_record.h"
#include "generate/generate_brief.h"
#include "generate/generate_fixture.h"
#include "support/loopback_server.h"
#include "support/scoped_time_scale.h"
#include "support/temp_folder.h"

namespace gl::test {

// A small web site on a loopback server: a page or file for each path, 404 for anything else.
// A hook sees every request path first (a test may request Stop or Skip there).
class Site {
 public:
  Site();

  void Page(const std::string& path, std::string_view html);
  void File(const std::string& path, std::string_view bytes, std::string_view contentType);
  void Redirect(const std::string& path, std::string_view location);

  // "http://127.0.0.1:<port>" + path
  std::string Address(std::string_view path) const { return server_.Address(path); }
  // The canonical form the run uses: "127.0.0.1:<port>" + path
  std::string Canonical(std::string_view path) const {
    return server_.HostPort() + std::string(path);
  }
  // How often each path was asked for.
  std::map<std::string, int> Requested() const;

  std::function<void(const std::string&)> OnRequest;

 private:
  Answer Serve(const Request& request);

  mutable std::mutex mutex_;
  std::map<std::string, Answer> answers_;
  LoopbackServer server_;
};

// A brief file in a temp folder, generated with a recording host, fixed time and settable free
// space; the archive it produces can be checked as a whole.
class GenerateTest : public ::testing::Test {
 protected:
  GenerateTest();
  void SetUp() override { UseUtc(); }
  void TearDown() override;

  TWebEntry& AddEntry(const std::string& url, int depth, const std::string& name = "Entry");
  RunReport Generate();

  std::filesystem::path RunFolder(int number = 0) const {
    return folder_.Path() / std::to_string(number);
  }
  std::string RunFile(std::string_view name, int number = 0) const {
    return ReadFileBytes(RunFolder(number) / name);
  }
  // The names in a run folder, sorted.
  std::vector<std::string> FilesOf(int number = 0) const;
  // Every file of a run is listed in its catalogue (after the folder number and the summary
  // page), and every listed file exists: nothing unexpected, nothing missing.
  void ExpectCatalogueMatchesFolder(int number = 0) const;
  // Every local reference (href, src, background outside scripts) of every page of the run
  // names a file of the run folder.
  void ExpectLocalReferencesResolve(int number = 0) const;

  ScopedTimeScale timeScale_{"0.02"};
  TempFolder folder_;
  TBriefDocument document_;
  Settings settings_;
  NameCounters names_;
  RunEnvironment environment_;
  RecordingHost host_;
  std::int64_t freeSpace_ = std::int64_t{1} << 40;
  int freeSpaceReadings_ = 0;
  int lowSpaceAfter_ = -1;  // readings after which the disk is full; -1: never
};

}  // namespace gl::test
