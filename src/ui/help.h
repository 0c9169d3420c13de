#pragma once

#include "browser/help_pages.h"
#include "ui/browse_function.h"

namespace gl {

// The help pages open in the browser through the main window's browse function, which it sets
// here for as long as it lives; none: help opens nothing.
void SetHelpBrowser(BrowseFunction browse);

// Opens the help page of `context` (the contexts are in browser/help_pages.h) from the program
// directory's help/ folder.
void ShowHelp(int context);

}  // namespace gl
