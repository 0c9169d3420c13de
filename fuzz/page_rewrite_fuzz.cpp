// The page pipeline on arbitrary bytes: the files a page shows, cleaning, preparation and the
// rewriting pass, with a run
// context that writes into a scratch folder and a fetch that answers every address with a small
// image, so nothing leaves the machine. The first byte chooses the entry's options and whether
// page styles are on.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "generate/internal/page_clean.h"
#include "generate/internal/shown_files.h"
#include "support/standalone_run.h"
#include "support/temp_folder.h"

namespace {

constexpr std::size_t kLargestInput = 256 * 1024;

gl::FetchResult SmallImage(std::string& address, const gl::FetchOptions&, gl::ProgressSink&) {
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
  gl::MemoryStream page{std::string(reinterpret_cast<const char*>(data) + 1, size - 1)};

  const gl::test::TempFolder folder;
  gl::test::StandaloneRun standalone(folder.Path(), SmallImage);
  standalone.BeginEntry((options & 1) != 0, (options & 2) != 0 ? 1 : 3);
  gl::PageJob job = standalone.Job(standalone.Entry.Depth);
  if ((options & 4) != 0) job.Address = "file:///site/dir/index.htm";
  job.RewriteLinks = (options & 8) == 0;
  job.Frame = (options & 16) != 0;
  standalone.RunSettings.PageStyles = (options & 32) != 0;

  // What the transfers ahead read from a page they fetched: the files it shows.
  (void)gl::ShownFileAddresses(page.View(), job.Address);
  gl::CheckedFile out(folder / "page.htm");
  gl::test::WriteFetchedPage(standalone.Context, job, page, out);
  out.Close();
  standalone.Context.FinishCatalogue();
  (void)gl::PageTitle(page.View());
  return 0;
}
