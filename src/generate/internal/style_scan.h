#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Finding the addresses a style sheet names, as spans into its text, so that a rewriter can copy
// everything else byte for byte (CSS Syntax Level 3, sections 4.3.4 to 4.3.6: strings, url(),
// escapes and comments).

namespace gl {

struct StyleReference {
  std::size_t From = 0;  // the address's first byte, inside any quotes
  std::size_t To = 0;    // one past its last byte
  bool Sheet = false;    // named by @import: a further style sheet
};

// Every address in `css` in order: url(...) with or without quotes, and the string or url() of
// an @import. Addresses inside comments and other strings are not references; empty ones are
// left out. A reference cut off by the end of the text runs to its end.
std::vector<StyleReference> ScanStyleSheet(std::string_view css);

}  // namespace gl
