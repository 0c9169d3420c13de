#pragma once

#include "core/memory_stream.h"

namespace gl {

// Blanks the address of the page's first base tag (from "href" to the end of its value), so that
// the page's relative links resolve against the page's own address. The tag itself stays.
void StripBaseHref(MemoryStream& page);

}  // namespace gl
