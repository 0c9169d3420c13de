#pragma once

#include <string>
#include <string_view>

namespace gl::cli {

// A brief or settings text as it may be printed on a terminal: every control byte except tab
// becomes "\xNN", so a hostile file cannot send escape sequences to the user's terminal.
std::string TerminalText(std::string_view text);

}  // namespace gl::cli
