#include "generate/download.h"

#include "core/byte_text.h"
#include "generate/address.h"
#include "generate/save_file_body.h"
#include "generate/texts.h"

namespace gl {

std::string DownloadSuffix(std::string_view address) {
  address = address.substr(0, address.find('?'));
  const std::size_t dot = address.rfind('.');
  const std::size_t slash = address.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  std::string suffix = LowerAscii(address.substr(dot + 1, 3));
  if (suffix == "jpe") suffix = "jpg";
  if (suffix == "mpe") suffix = "mpg";
  return suffix;
}

bool DownloadFile(RunContext& run, CheckedFile& out, std::string_view value,
                  std::string_view pageAddress) {
  const std::string address = ResolveAddress(pageAddress, value);
  const std::string key(CutFragment(address));
  TPageRecord* record = run.Pages->Find(key);
  if (record != nullptr && record->FlagB != 0) {
    out << record->LocalName;
    return true;
  }

  std::string fetchAddress = key;
  const FetchResult result = run.Fetch(fetchAddress, run.FileFetchOptions());
  run.SetIdleStatus();
  // An explanation page stands in for a file that could not be had; it is not the file.
  if (!result.Result || !result.PageOk) return false;

  std::string name;
  if (record != nullptr) {
    name = record->LocalName;  // promised to an earlier link
  } else {
    name = run.AllocateImage(DownloadSuffix(key));
    if (name == texts::kNoName) return false;
  }
  run.CountFile(result.Stream.Size());
  SaveFileBody(run, result.Stream, name);
  if (record != nullptr) record->FlagB = 1;
  out << name;
  run.Pages->Add(key, name, 0, 0, 1, nullptr, 0);
  return true;
}

}  // namespace gl
