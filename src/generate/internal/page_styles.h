#pragma once

#include <string>
#include <string_view>

#include "generate/internal/run_context.h"
#include "generate/internal/style_references.h"

// What a page needs to look as it does online, with the page-styles setting on: its style sheets
// (rewritten in turn), the pictures and fonts they name, srcset candidates, icons, posters and
// objects. Each is fetched once per entry and stored as a file of the run with its own suffix;
// a sheet always ".css". The entry's images option decides whether pictures come, its other-files
// option whether fonts and other files do; style sheets come whenever the setting is on, as a
// page does not read right without them. A style sheet is a file, not a page: no navigation bar,
// no place in the site map.
//
// A reference that is not stored (left out by the options, failed, or met after Stop or Skip)
// leads to its address on the web. One of another scheme, inline data or a place in the same
// document ("#id") stays as it is; none is ever read from the local disk unless the page itself
// was.

namespace gl {

// The text that takes the place of `value`, a reference of `role` found in a page or sheet whose
// address is `base`.
std::string RewriteStyleReference(RunContext& run, std::string_view value, std::string_view base,
                                  StyleRole role);

// A whole tag with the references of StyleReferencesOfTag rewritten (a body tag, which the
// preparation writes ahead of the pass).
std::string RewriteTagStyles(RunContext& run, std::string_view tag, std::string_view base);

// Style-sheet text (a <style> block) with every address it names rewritten.
std::string RewriteStyleText(RunContext& run, std::string_view css, std::string_view base);

}  // namespace gl
