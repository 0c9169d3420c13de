#pragma once

#include "core/memory_stream.h"

namespace gl {

// Tag delimiters as the scan copy marks them.
inline constexpr char kTagOpenMark = '\x01';
inline constexpr char kTagCloseMark = '\x02';

// A copy of the page in which every '<' is 0x01 and every '>' is 0x02; marker bytes that the page
// itself holds become blanks, so that only real delimiters are found. Positions in the copy and
// in the page are the same.
MemoryStream MakeScanCopy(const MemoryStream& page);

// Blanks the address of the page's first base tag (from "href" to the end of its value), so that
// the page's relative links resolve against the page's own address. The tag itself stays.
void StripBaseHref(MemoryStream& page);

}  // namespace gl
