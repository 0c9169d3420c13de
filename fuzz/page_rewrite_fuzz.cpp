// The page pipeline on arbitrary bytes: cleaning, preparation and the rewriting pass, with a run
// context that writes into a scratch folder and a fetch that answers every address with a small
// image, so nothing leaves the machine. The first byte chooses the entry's options.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "generate/page_clean.h"
#include "generate/page_prepare.h"
#include "generate/page_rewrite.h"
#include "generate/run_context.h"
#include "generate/run_errors.h"
#include "generate/scan_copy.h"

namespace {

constexpr std::size_t kLargestInput = 256 * 1024;

class QuietHost : public gl::RunHost {
 public:
  void SetStatusText(const std::string&) override {}
  void SetProgress(int) override {}
  void BeginRun() override {}
  void EndRun() override {}
  void OpenProgressWindow() override {}
  void UpdateItem(gl::ProgressItem, const std::string&) override {}
  void CloseProgressWindow() override {}
  void BriefReady(const std::string&, const std::string&) override {}
  void ShowError(const std::string&, const std::string&) override {}
};

const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "gl-fuzz-XXXXXX").string();
    return std::filesystem::path(mkdtemp(pattern.data()));
  }();
  return folder;
}

gl::FetchResult SmallImage(std::string& address, const gl::FetchOptions&) {
  gl::FetchResult result;
  result.PageOk = address.size() % 2 == 0;  // every other address fails
  result.NonText = true;
  result.Stream.Bytes() = std::string("HTTP/1.0 200\r\n\r\nGIF89a\0", 23);
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > kLargestInput) return 0;
  const std::uint8_t options = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::filesystem::path& folder = ScratchFolder();
  for (const auto& item : std::filesystem::directory_iterator(folder))
    std::filesystem::remove_all(item.path());

  gl::Settings settings;
  gl::RunEnvironment environment;
  environment.ProgramDirectory = "/opt/gleaner";
  environment.FreeSpace = [](const std::filesystem::path&) { return std::int64_t{1} << 40; };
  QuietHost host;
  gl::NameCounters names;
  gl::RunContext run(settings, environment, host, names, SmallImage);
  run.RunDirectory = folder;
  run.SummaryName = "Brief0.htm";
  run.Catalogue.emplace(folder / "Brief0.cat");

  gl::TWebEntry entry;
  entry.Images = (options & 1) != 0;
  entry.Depth = (options & 2) != 0 ? 1 : 3;
  run.BeginEntry(entry, "site.test/index.htm");

  gl::PageJob job;
  job.Address = (options & 4) != 0 ? "file:///site/dir/index.htm" : "site.test/dir/index.htm";
  job.LocalName = "GL99.htm";
  job.Title = "T";
  job.Depth = entry.Depth;
  job.RewriteLinks = (options & 8) == 0;
  job.Frame = (options & 16) != 0;

  gl::MemoryStream page{bytes};
  gl::CleanPage(page);
  if (gl::PageTitle(page.View())) job.Title = "titled";
  gl::CheckedFile out(folder / "page.htm");
  job.FrameSet = gl::PreparePage(run, job, page, out);
  const gl::MemoryStream scanCopy = gl::MakeScanCopy(page);
  gl::StripBaseHref(page);
  gl::RewritePage(run, job, page, scanCopy, out);
  out.Close();
  run.Catalogue->Finish();
  return 0;
}
