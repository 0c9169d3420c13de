#pragma once

#include "browser/help_pages.h"

namespace gl {

// Opens the help pages at `context` (the contexts are in browser/help_pages.h).
void ShowHelp(int context);

}  // namespace gl
