#pragma once

#include <functional>
#include <string>

namespace gl {

// Shows an address in the user's browser. The main window makes the one that the program uses
// (over the browser layer); windows and dialogs receive it, and tests record what they are given.
using BrowseFunction = std::function<void(const std::string& address)>;

}  // namespace gl
