#include "generate/internal/download.h"

#include "core/byte_text.h"
#include "generate/internal/navigation.h"
#include "generate/internal/store.h"
#include "generate/internal/texts.h"
#include "net/address_forms.h"
#include "net/generated_pages.h"

namespace gl {
namespace {

// Suffixes of the files that a browser shows as a picture.
constexpr std::string_view kPictureSuffixes[] = {"gif", "jpg", "png", "bmp", "svg", "ico"};

}  // namespace

bool IsPictureName(std::string_view fileName) {
  const std::string_view suffix = fileName.substr(fileName.rfind('.') + 1);
  for (std::string_view picture : kPictureSuffixes) {
    if (suffix == picture) return true;
  }
  return false;
}

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

const TPageRecord* FindStoredFile(const THashTable& pages, std::string_view address) {
  // A page that a link promised for the file has a place in the contents tree; the file not.
  return pages.FindNewest(address, [](const TPageRecord& record) {
    return record.Stored && record.RemainingDepth() == TPageRecord::kFileDepth &&
           record.TocNode == 0;
  });
}

std::string StoreFetchedFile(RunContext& run, const FetchResult& result, std::string_view address,
                             TPageRecord* promised) {
  const std::string name = StoreFile(run, result, address, false);
  if (name == texts::kNoName) return name;
  run.Pages().AddStored(address, name, TPageRecord::kFileDepth);
  if (promised != nullptr) WriteFilePage(run, *promised, name);
  return name;
}

void WriteFilePage(RunContext& run, TPageRecord& promised, std::string_view fileName) {
  const std::string key = run.Pages().Address(promised);
  const std::string display = AddressForPage(NormaliseDisplayAddress(AddressOfKey(key)));
  const bool frame = promised.FrameRole;
  const std::string localName = run.Pages().LocalName(promised);
  if (!promised.Stored) run.RecordFile(localName);
  promised.Stored = true;
  promised.SetRemainingDepth(TPageRecord::kFileDepth);
  if (promised.TocNode != 0) run.Contents().SetName(promised.TocNode, display);

  const LinkSet links{run.SummaryName(), run.SiteMapName(), display, ""};
  CheckedFile page(run.PathOf(localName));
  if (!frame) run.WriteHeader(page, display, false, links);
  page << "<html><body><title>" << display << "</title>";
  if (IsPictureName(fileName)) {
    page << "<img src=\"" << fileName << "\" alt=\"" << display << "\">";
  } else {
    page << "<a href=\"" << fileName << "\">" << display << "</a>";
  }
  if (!frame) PrintBriefFooter(page, links);
  page << "</body></html>";
  page.Close();
}

bool DownloadFile(RunContext& run, CheckedFile& out, std::string_view value,
                  std::string_view pageAddress) {
  const std::string address = ResolveAddress(pageAddress, value);
  const std::string name = StoreLinkedFile(run, std::string(CutFragment(address)), true);
  if (name.empty()) return false;
  out << name;
  return true;
}

std::string StoreLinkedFile(RunContext& run, const std::string& key, bool mayFetch) {
  TPageRecord* record = run.Pages().Find(key);
  if (record != nullptr && record->Stored) return run.Pages().LocalName(*record);
  if (!mayFetch) return {};
  std::string fetchAddress = key;
  const FetchResult result = run.FetchFile(fetchAddress);
  run.SetIdleStatus();
  // An explanation page stands in for a file that could not be had; it is not the file.
  if (result.LocationMissing || !result.PageOk) return {};

  // A name promised to an earlier link to the top of a window becomes the page that shows it.
  const std::string name = StoreFetchedFile(run, result, key, record);
  return name == texts::kNoName ? std::string() : name;
}

}  // namespace gl
