#include "generate/generate_fixture.h"

#include <algorithm>

#include "generate/run_catalogue.h"

namespace gl::test {

FetchResult CannedPage(std::string_view body, bool pageOk, bool nonText) {
  FetchResult result;
  result.Stream.Bytes() = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + std::string(body) +
                          std::string(1, '\0');
  result.PageOk = pageOk;
  result.NonText = nonText;
  return result;
}

RunFixture::RunFixture()
    : run_(settings_, environment_, host_, names_,
           [this](std::string& address, const FetchOptions&) {
             fetched_.push_back(address);
             const auto answer = answers_.find(address);
             if (answer != answers_.end()) return answer->second;
             FetchResult failed = CannedPage("<html>missing</html>", false);
             return failed;
           }) {
  environment_.ProgramDirectory = "/opt/gleaner";
  environment_.FreeSpace = [this](const std::filesystem::path&) { return freeSpace_; };
  environment_.Now = [] { return kTestTime; };
  run_.ImageDirectory = "/opt/gleaner/images/";
  run_.RunDirectory = folder_.Path();
  run_.SummaryName = "Brief0.htm";
  run_.Catalogue.emplace(folder_ / "test.cat");
}

void RunFixture::BeginEntry(bool images, int depth) {
  entry_.Images = images;
  entry_.Depth = depth;
  entry_.URL = "http://site.test/dir/index.htm";
  run_.BeginEntry(entry_, "site.test/dir/index.htm");
}

std::string RunFixture::ReadRunFile(std::string_view name) const {
  return ReadFileBytes(folder_ / name);
}

std::vector<std::string> RunFixture::RunFiles() const {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder_.Path())) {
    const std::string name = item.path().filename().string();
    if (name != "test.cat") names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> RunFixture::CatalogueNames() {
  run_.Catalogue->Finish();
  const auto catalogue = ReadRunCatalogue(folder_ / "test.cat");
  if (!catalogue) return {};
  std::vector<std::string> names{catalogue->Folder};
  names.insert(names.end(), catalogue->Names.begin(), catalogue->Names.end());
  return names;
}

}  // namespace gl::test
