#include "generate/generate_fixture.h"

#include <algorithm>
#include <regex>
#include <sstream>

#include "core/brief_file.h"
#include "core/byte_text.h"
#include "generate/internal/run_catalogue.h"
#include "platform/cancellation.h"

namespace gl::test {
namespace {

std::vector<std::string> SortedNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder))
    names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

void StampedTest::SetUp() {
  setenv("TZ", "UTC", 1);
  tzset();
}

void StampedTest::TearDown() {
  ClearStop();
  ClearSkip();
}

FetchResult CannedPage(std::string_view body, bool pageOk, bool nonText) {
  FetchResult result;
  result.Stream.Bytes() = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + std::string(body) +
                          std::string(1, '\0');
  result.PageOk = pageOk;
  result.NonText = nonText;
  return result;
}

RunFixture::RunFixture()
    : standalone_(folder_.Path(), [this](std::string& address, const FetchOptions&, ProgressSink&) {
        fetched_.push_back(address);
        const auto answer = answers_.find(address);
        return answer != answers_.end() ? answer->second : CannedPage("missing", false);
      }) {
  standalone_.Environment.FreeSpace = [this](const std::filesystem::path&) { return freeSpace_; };
  standalone_.Environment.Now = [] { return kTestTime; };
  standalone_.BeginEntry(true, 3);
}

RunReport GenerateTest::Generate() {
  EXPECT_EQ(SaveBriefs2(document_).Outcome, SaveOutcome::Saved);
  const RunReport report = GenerateBrief(document_, settings_, names_, environment_, host_);
  document_ = ReadBriefs2(document_.FileName).Document;
  return report;
}

std::vector<std::string> RunFixture::RunFiles() const {
  std::vector<std::string> names = SortedNames(folder_.Path());
  std::erase(names, "Brief0.cat");
  return names;
}

std::vector<std::string> RunFixture::CatalogueNames() {
  run_.FinishCatalogue();
  const auto catalogue = ReadRunCatalogue(folder_ / "Brief0.cat");
  if (!catalogue) return {};
  std::vector<std::string> names{catalogue->Folder};
  names.insert(names.end(), catalogue->Names.begin(), catalogue->Names.end());
  return names;
}

GenerateTest::GenerateTest(const char* timeScale)
    : timeScale_(timeScale), server_([this](const Request& request) {
        const std::string path = request.Target();
        if (onRequest_) onRequest_(path);
        const std::lock_guard lock(answersMutex_);
        const auto answer = answers_.find(path);
        return answer != answers_.end() ? answer->second : StatusAnswer(404);
      }) {
  document_.FileName = folder_ / "news.brf";
  document_.Brief.Name = "News";
  settings_.RetryCount = 1;
  environment_.ProgramDirectory = "/opt/gleaner";
  environment_.Now = [] { return kTestTime; };
  environment_.FreeSpace = [this](const std::filesystem::path&) {
    ++freeSpaceReadings_;
    const bool full = lowSpaceAfter_ >= 0 && freeSpaceReadings_ > lowSpaceAfter_;
    return full ? settings_.DiskBufferBytes : std::int64_t{1} << 40;
  };
}

TWebEntry& GenerateTest::AddEntry(const std::string& url, int depth, const std::string& name) {
  TWebEntry& entry = document_.Brief.WebList.emplace_back();
  entry.URL = url;
  entry.Name = name;
  entry.Depth = depth;
  entry.Images = entry.OtherFiles = entry.StayLocal = true;
  return entry;
}

void GenerateTest::Serve(const std::string& path, Answer answer) {
  const std::lock_guard lock(answersMutex_);
  answers_[path] = std::move(answer);
}

int GenerateTest::Count(std::string_view path) const {
  const std::vector<Request> requests = server_.Requests();
  return static_cast<int>(std::count_if(requests.begin(), requests.end(),
                                        [&](const Request& r) { return r.Target() == path; }));
}

std::vector<std::string> GenerateTest::FilesOf(int number) const {
  return SortedNames(RunFolder(number));
}

void GenerateTest::ExpectWholeArchive(bool referencesResolve) const {
  const std::vector<std::string> files = FilesOf();
  const auto catalogue = ReadRunCatalogue(RunFolder() / "Brief0.cat");
  ASSERT_TRUE(catalogue) << "no run catalogue";
  EXPECT_EQ(catalogue->Folder, "0");
  std::vector<std::string> listed = catalogue->Names;
  listed.push_back("Brief0.cat");
  std::sort(listed.begin(), listed.end());
  listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
  if (!referencesResolve) {
    // A run cut short by a failure has removed the file it could not finish.
    EXPECT_TRUE(std::includes(listed.begin(), listed.end(), files.begin(), files.end()))
        << ::testing::PrintToString(files) << " not all in " << ::testing::PrintToString(listed);
    return;
  }
  EXPECT_EQ(listed, files);

  // Scripts and sheets' comments hold no references.
  static const std::regex script(R"re(<script[^]*?</script[^>]*>|/\*[^]*?\*/)re",
                                 std::regex::icase);
  // An attribute's address, a srcset list, url() and a sheet's @import.
  static const std::regex reference(
      R"re(\b(href|src|background|data|poster|srcset)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>"']+))|url\(\s*["']?([^"')\s]*)|@import\s+["']([^"']*))re",
      std::regex::icase);
  for (const std::string& name : files) {
    if (!name.ends_with(".htm") && !name.ends_with(".css")) continue;
    const std::string page = std::regex_replace(RunFile(name), script, "");
    for (std::sregex_iterator match(page.begin(), page.end(), reference), end; match != end;
         ++match) {
      int group = 2;
      while (!(*match)[group].matched)
        ++group;
      std::vector<std::string> values{(*match)[group].str()};
      if (LowerAscii((*match)[1].str()) == "srcset") {
        std::istringstream candidates(values[0]);
        values.clear();
        for (std::string candidate; candidates >> candidate;) {
          if (!candidate.ends_with(',')) candidates.ignore(256, ',');  // the descriptor
          values.push_back(candidate.substr(0, candidate.find(',')));
        }
      }
      for (std::string value : values) {
        value = value.substr(0, value.find('#'));
        // Web addresses, other schemes and the program's own images are not files of the run.
        if (value.empty() || value.find(':') != std::string::npos || value.starts_with("/"))
          continue;
        EXPECT_TRUE(std::filesystem::exists(RunFolder() / value))
            << name << " refers to the missing file " << value;
      }
    }
  }
}

}  // namespace gl::test
