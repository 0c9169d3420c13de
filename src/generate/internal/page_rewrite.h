#pragma once

#include "core/memory_stream.h"
#include "generate/internal/checked_file.h"
#include "generate/internal/page_job.h"
#include "generate/internal/run_context.h"

namespace gl {

// The rewriting pass: copies the prepared page into `out` byte for byte, except the addresses of
// anchors, areas, frames, images and embedded objects, which become local names (pages stored or
// promised, stored files, special pages), absolute web addresses or the not-loaded image; writes
// the navigation header and footer around a noframes part; appends each link to follow to the
// run's filling link list.
// Once Stop or Skip is requested the rest of the page is still copied, with links made absolute
// and nothing more fetched or named.
void RewritePage(RunContext& run, const PageJob& job, const MemoryStream& page, CheckedFile& out);

}  // namespace gl
