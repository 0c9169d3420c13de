#pragma once

#include "core/memory_stream.h"
#include "generate/internal/checked_file.h"
#include "generate/internal/page_job.h"
#include "generate/internal/run_context.h"

namespace gl {

// Writes into `out` what must stand before the page's own text, and blanks it in the page so that
// the rewriting pass does not copy it twice:
// - a frame-set page (not itself a frame) gets a frame set of its own whose first row, 36 pixels
//   high, shows a navigation page written beside it; its own frame-set tag follows;
// - other pages: every body tag, with its background image stored (or marked as not loaded);
// - every page: every script, whole and untouched.
// Returns whether the page is a frame-set page.
bool PreparePage(RunContext& run, const PageJob& job, MemoryStream& page, CheckedFile& out);

}  // namespace gl
