#include "generate/site_fixture.h"

#include <algorithm>
#include <regex>

#include "generate/run_catalogue.h"
#include "platform/cancellation.h"

namespace gl::test {

Site::Site() : server_([this](const Request& request) { return Serve(request); }) {}

void Site::Page(const std::string& path, std::string_view html) {
  const std::lock_guard lock(mutex_);
  answers_[path] = PageAnswer(html);
}

void Site::File(const std::string& path, std::string_view bytes, std::string_view contentType) {
  const std::lock_guard lock(mutex_);
  answers_[path] = PageAnswer(bytes, contentType);
}

void Site::Redirect(const std::string& path, std::string_view location) {
  const std::lock_guard lock(mutex_);
  answers_[path] = RedirectAnswer(302, location);
}

std::map<std::string, int> Site::Requested() const {
  std::map<std::string, int> counts;
  for (const Request& request : server_.Requests())
    ++counts[request.Target()];
  return counts;
}

Answer Site::Serve(const Request& request) {
  const std::string path = request.Target();
  if (OnRequest) OnRequest(path);
  const std::lock_guard lock(mutex_);
  const auto answer = answers_.find(path);
  return answer != answers_.end() ? answer->second : StatusAnswer(404);
}

GenerateTest::GenerateTest() {
  document_.FileName = folder_ / "news.brf";
  document_.Brief.Name = "News";
  settings_.RetryCount = 1;
  environment_.ProgramDirectory = "/opt/gleaner";
  environment_.Now = [] { return kTestTime; };
  environment_.FreeSpace = [this](const std::filesystem::path&) {
    ++freeSpaceReadings_;
    if (lowSpaceAfter_ >= 0 && freeSpaceReadings_ > lowSpaceAfter_) return settings_.DiskBuffer;
    return freeSpace_;
  };
}

void GenerateTest::TearDown() {
  ClearStop();
  ClearSkip();
}

TWebEntry& GenerateTest::AddEntry(const std::string& url, int depth, const std::string& name) {
  TWebEntry entry;
  entry.URL = url;
  entry.Name = name;
  entry.Depth = depth;
  entry.Images = true;
  entry.OtherFiles = true;
  entry.StayLocal = true;
  document_.Brief.WebList.push_back(entry);
  return document_.Brief.WebList.back();
}

RunReport GenerateTest::Generate() {
  return GenerateBrief(document_, settings_, names_, environment_, host_);
}

std::vector<std::string> GenerateTest::FilesOf(int number) const {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(RunFolder(number)))
    names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void GenerateTest::ExpectCatalogueMatchesFolder(int number) const {
  std::vector<std::string> files = FilesOf(number);
  const auto catalogue = ReadRunCatalogue(RunFolder(number) / "Brief0.cat");
  ASSERT_TRUE(catalogue) << "no run catalogue";
  EXPECT_EQ(catalogue->Folder, std::to_string(number));
  std::vector<std::string> listed = catalogue->Names;
  listed.push_back("Brief0.cat");
  std::sort(listed.begin(), listed.end());
  listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
  EXPECT_EQ(listed, files);
}

void GenerateTest::ExpectLocalReferencesResolve(int number) const {
  static const std::regex script("<script[^]*?</script[^>]*>", std::regex::icase);
  static const std::regex reference(
      R"re((?:href|src|background)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>"']+)))re",
      std::regex::icase);
  for (const std::string& name : FilesOf(number)) {
    if (!name.ends_with(".htm")) continue;
    const std::string page = std::regex_replace(RunFile(name, number), script, "");
    for (std::sregex_iterator match(page.begin(), page.end(), reference), end; match != end;
         ++match) {
      std::string value = (*match)[1].matched   ? (*match)[1].str()
                          : (*match)[2].matched ? (*match)[2].str()
                                                : (*match)[3].str();
      value = value.substr(0, value.find('#'));
      // Web addresses, other schemes and the program's own images are not files of the run.
      if (value.empty() || value.find(':') != std::string::npos || value.starts_with("/")) continue;
      EXPECT_TRUE(std::filesystem::exists(RunFolder(number) / value))
          << name << " refers to the missing file " << value;
    }
  }
}

}  // namespace gl::test
