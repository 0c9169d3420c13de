#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gl::cli {

// Makes a text that came from the web safe and short enough for one terminal line, the way the
// progress window fits its labels: leading blanks, tabs and line ends are dropped, the text ends
// at its first tab or line end, and a text wider than `columns` loses characters from its end and
// gets "..." instead. Control characters (C0, DEL, C1) and bytes that are not UTF-8 become "?",
// so a page title can never move the cursor or restyle the terminal. Characters from U+1100 up
// count as two columns, which keeps East Asian text inside the line.
std::string FitText(std::string_view text, std::size_t columns);

}  // namespace gl::cli
