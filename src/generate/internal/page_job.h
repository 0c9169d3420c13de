#pragma once

#include <cstdint>
#include <string>

#include "generate/internal/navigation.h"

namespace gl {

// One fetched page on its way into the run folder: what the preparation, the rewriting pass and
// the navigation bar need to know about it.
struct PageJob {
  std::string Address;     // canonical; the page's relative links resolve against it
  std::string LocalName;   // its file in the run folder
  std::string Title;       // shown in its navigation header
  LinkSet Links;           // the targets of its header and footer
  std::int32_t Depth = 1;  // the remaining depth it is stored with; at 1 its links are not followed
  bool RewriteLinks = false;  // a real page, not a generated explanation page
  bool EntryTop = false;      // the web entry's top page, which the run driver fetched
  bool Frame = false;         // reached as a frame of a frame set
  bool FrameSet = false;      // a frame-set page (found by PreparePage)
};

}  // namespace gl
