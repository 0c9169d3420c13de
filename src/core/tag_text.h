#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "core/byte_text.h"

// Helpers that read one tag (or any short text) of a page or bookmark file. Patterns are given in
// lower case and match letters of either case; a blank in a pattern also matches CR, LF and TAB.
// Positions are offsets into the text given; std::string_view::npos stands for "none".

namespace gl {

// How much of one tag is read at once, as a 5000-byte buffer holds it with its terminating zero.
// The part of a longer tag beyond it is copied as it stands, never read for an address.
inline constexpr std::size_t kTagWindow = 4999;

inline bool IsQuote(char byte) {
  return byte == '"' || byte == '\'';
}

// The text from its first byte that is neither a blank, a line end nor a quote.
inline std::string_view SkipBlanksAndQuotes(std::string_view text) {
  while (!text.empty() && (IsBlankOrLineEnd(text.front()) || IsQuote(text.front())))
    text.remove_prefix(1);
  return text;
}

// True when `text` begins with `pattern` as described above. A text shorter than the pattern is
// no match.
bool MatchTagName(std::string_view text, std::string_view pattern);

// The first '<' that is followed by `name`.
std::size_t FindTagInText(std::string_view buffer, std::string_view name);

// The positions of every '<' followed by one of `letters` (given in lower case, matched in either
// case), in one pass over the buffer: searches for several tag names then read this list instead
// of the whole text.
std::vector<std::size_t> FindTagStarts(std::string_view buffer, std::string_view letters);

// The first attribute called `name` that starts within the first `limit` bytes: the name must
// stand after a blank or a quote and be followed by a blank, '=' or the end of the tag, so that
// "hreflang" is not taken for "href", nor "data-src" for "src".
std::size_t FindAttribute(std::string_view buffer, std::string_view name, std::size_t limit);

// From an attribute name at `at`: skips the name, blanks, the '=' and the blanks after it; the
// next byte starts the value (possibly its opening quote). None when the attribute has no '=' or
// the buffer ends first.
std::size_t AttributeValue(std::string_view buffer, std::size_t at);

// The end of the value that starts at `at`. A value in double or single quotes ends at its closing
// quote, blanks and line ends inside it included ("Desktop Integration.html"), or at a '>' that
// comes first (a broken quote does not swallow the tag); an unquoted value ends at the first blank
// or '>'. None when the buffer ends first.
std::size_t ValueEnd(std::string_view buffer, std::size_t at);

// Where the value of the attribute `name` (found as FindAttribute finds it) stands: from after its
// opening quote, if any, to where ValueEnd puts its end. None when the attribute is missing or
// its value does not end inside the buffer.
struct ValueSpan {
  std::size_t From = 0;
  std::size_t To = 0;
};
std::optional<ValueSpan> FindAttributeValue(std::string_view buffer, std::string_view name,
                                            std::size_t limit);

}  // namespace gl
