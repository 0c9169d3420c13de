#pragma once

#include <cstddef>
#include <string_view>

// Forward searches over a whole page in memory. Because the page is one buffer, a
// tag, comment or marker that would straddle a block of a block-wise reader is found like any
// other. Patterns are lower case and match letters of either case. Positions are offsets into the
// stream; std::string_view::npos when there is nothing more.

namespace gl {

// The first '<' at or after `from` that is followed by `name` (as MatchTagName).
std::size_t FindTagInStream(std::string_view stream, std::size_t from, std::string_view name);

// As FindTagInStream; a pattern that begins with '-' (the end of a comment, "-->") is looked for
// itself rather than after a '<'.
std::size_t FindEndInStream(std::string_view stream, std::size_t from, std::string_view pattern);

// The next `byte` at or after `from`. Inline: the rewriting pass asks twice for every tag.
inline std::size_t FindByteInStream(std::string_view stream, char byte, std::size_t from) {
  return stream.find(byte, from);
}

// The next occurrence of `text` at or after `from`.
std::size_t FindTextInStream(std::string_view stream, std::string_view text, std::size_t from);

}  // namespace gl
