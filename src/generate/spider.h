#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_stream.h"
#include "generate/checked_file.h"
#include "generate/run_context.h"
#include "net/fetch.h"

// The web entry spider: from the entry's top page it follows links level by level (breadth
// first) down to the entry's depth, storing each page once, and writes the entry's site map.

namespace gl {

// A fetched page about to be written: titled by its own title or, without one, by the address it
// is displayed under; its header and footer lead to the summary, the site map and that address.
PageJob MakePageJob(const RunContext& run, std::string address, std::string localName,
                    const FetchResult& result, const std::string& display, std::int32_t depth);

// Writes the top page (already fetched, cleaned and registered by the run driver) into
// `topFile`, then every level below it, and the site map when the entry has one. The caller
// writes the top page's footer and closing tags. Returns whether the top page is a frame set.
// A disk failure is raised again once the site map has been finished as far as it can be.
bool ProcessEntry(RunContext& run, MemoryStream& page, PageJob& top, CheckedFile& topFile);

// Fetches, stores and rewrites one linked page. `link` is a link-list item: a page-table key
// (with its ordinary-link mark, if any); `frame` is its flag byte. A page stored before with at
// least this remaining depth is not fetched again.
void ProcessPage(RunContext& run, std::string_view link, std::int32_t remainingDepth, bool frame);

}  // namespace gl
