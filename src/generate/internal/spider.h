#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_stream.h"
#include "generate/internal/page_job.h"
#include "generate/internal/run_context.h"

// The web entry spider: from the entry's top page it follows links level by level (breadth
// first) down to the entry's depth, storing each page once, and writes the entry's site map.

namespace gl {

// Stores the top page (already fetched, cleaned, named and registered by the run driver), then
// every level below it, and the site map when the entry has one. A disk failure is raised again
// once the site map has been finished as far as it can be.
void ProcessEntry(RunContext& run, MemoryStream& page, PageJob& top);

// Fetches, stores and rewrites one linked page. `link` is a link-list item: a page-table key
// (with its ordinary-link mark, if any); `frame` is its flag byte. A page stored before with at
// least this remaining depth is not fetched again.
void ProcessPage(RunContext& run, std::string_view link, std::int32_t remainingDepth, bool frame);

}  // namespace gl
