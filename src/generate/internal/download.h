#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/page_table.h"
#include "generate/internal/checked_file.h"
#include "generate/internal/run_context.h"
#include "net/fetch.h"

// Images and files of a run: what a page shows (images, embedded objects, backgrounds) and what
// its links lead to when the address turns out to be a file rather than a page. Each is fetched
// once per run and stored under a name with its own suffix.

namespace gl {

// Stores the image or file that a page refers to with `value` (the attribute value, resolved
// against `pageAddress`) and writes its local name into `out`. A file that the run has stored
// before is not fetched again: its name is written at once. False when the fetch did not bring
// the file; then nothing was written, counted or recorded.
bool DownloadFile(RunContext& run, CheckedFile& out, std::string_view value,
                  std::string_view pageAddress);

// The name of the file stored for `key` (a canonical address without fragment), fetched and
// stored first when the run has none yet and `mayFetch`; empty when there is none.
std::string StoreLinkedFile(RunContext& run, const std::string& key, bool mayFetch);

// Whether a file of this name (or suffix) is one that a browser shows as a picture.
bool IsPictureName(std::string_view fileName);

// The suffix a downloaded file is stored with: the text after the last '.' of the address (before
// any '?'), when that '.' stands after the last '/'; at most 3 bytes, lower case, "jpe" as "jpg"
// and "mpe" as "mpg".
std::string DownloadSuffix(std::string_view address);

// The file stored for `address` (canonical, without fragment), or none.
const TPageRecord* FindStoredFile(const THashTable& pages, std::string_view address);

// Stores a fetched file under a new name with the suffix of `address` and records it under that
// address, so the page's images and later links find it; counts it as a file. When a link has
// promised a page name for the address (`promised`), that page is written with WriteFilePage.
// Returns the file's name; texts::kNoName when no name was free (nothing is stored or counted).
std::string StoreFetchedFile(RunContext& run, const FetchResult& result, std::string_view address,
                             TPageRecord* promised);

// Fills the page name that a link promised for a file's address with a page that shows the stored
// picture, or links any other stored file, so the link stays valid and the browser shows the file
// as it is. Its navigation header and footer (none for a frame) lead to the summary, the site map
// and the file's address on the web. The record counts as stored from then on.
void WriteFilePage(RunContext& run, TPageRecord& promised, std::string_view fileName);

}  // namespace gl
