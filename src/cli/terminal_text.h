#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gl::cli {

// A brief, settings or page text as it may be printed on a terminal: every control character
// except tab becomes "\xNN" per byte, so a hostile file cannot send escape sequences to the
// user's terminal. Controls are C0, DEL and C1, the last both as UTF-8 (U+0080 to U+009F) and as
// a lone byte 0x80 to 0x9F outside a UTF-8 sequence; every other byte is kept.
std::string TerminalText(std::string_view text);

// Makes a text that came from the web fit one terminal line, the way the progress window fits
// its labels: leading blanks, tabs and line ends are dropped, the text ends at its first tab or
// line end, control characters are shown as TerminalText shows them, and a text wider than
// `columns` loses characters from its end and gets "..." instead. Characters from U+1100 up count
// as two columns, which keeps East Asian text inside the line; cuts fall between characters.
std::string FitText(std::string_view text, std::size_t columns);

}  // namespace gl::cli
