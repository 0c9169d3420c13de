#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_stream.h"
#include "generate/internal/page_job.h"
#include "generate/internal/run_context.h"
#include "net/fetch.h"

// Writing what a fetch brought into the run folder: a page, rewritten and framed by its
// navigation bar, or a file exactly as received. The run driver stores an entry's top page or
// file with these, the spider and the downloader everything below it.

namespace gl {

// A fetched and cleaned page about to be stored: titled by its own title or, without one, by the
// address it is displayed under; its header and footer lead to the summary, the site map and that
// address.
PageJob MakePageJob(const RunContext& run, std::string address, std::string localName,
                    const FetchResult& result, const std::string& display, std::int32_t depth);

// Writes a cleaned page into the run folder under job.LocalName, listing it in the run catalogue
// first unless it is `listed` already: what the preparation moves ahead, the navigation header,
// the rewritten page, the footer and the closing tags. A frame set shows its navigation bar in a
// row of its own, and a frame has none, so neither gets header or footer. Sets job.FrameSet and
// returns it.
bool StorePage(RunContext& run, PageJob& job, MemoryStream& page, bool listed);

// Stores a fetched file under a new name and counts it as a file. The file an entry's own address
// leads to is named like a page (the page counter, the address's extension as AllocatePageName
// reads it), as the summary lists it among the entry's pages; a file that a page shows or links
// gets an image name with the suffix of its address. Returns the name; texts::kNoName when none
// was free, and then nothing is stored or counted.
std::string StoreFile(RunContext& run, const FetchResult& result, std::string_view address,
                      bool entryTop);

}  // namespace gl
