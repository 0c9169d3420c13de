#pragma once

#include <string>
#include <string_view>

// Text taken from an HTML file (a bookmark's caption or address) as a browser would show it.

namespace gl {

// Replaces character references by the characters they stand for: "&amp;", "&lt;", "&gt;",
// "&quot;", "&apos;", "&nbsp;", "&#233;" and "&#xE9;" (as UTF-8). A reference needs its ";"; an
// "&" that starts none stays as it is, so "?a=1&b=2" keeps its bytes.
std::string DecodeCharacterReferences(std::string_view text);

// The text of a run of HTML without tags: blanks, tabs and line ends collapse to one blank,
// leading and trailing ones are dropped, and character references are decoded.
std::string PlainTextOf(std::string_view html);

}  // namespace gl
