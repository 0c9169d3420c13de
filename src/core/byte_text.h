#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Byte-string helpers shared by the protocol and page code. Protocol words and tag names match
// without regard to letter case; only ASCII letters fold, every other byte compares as itself.
// Patterns are always given in lower case.

namespace gl {

inline char LowerAscii(char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + ('a' - 'A')) : byte;
}

std::string LowerAscii(std::string_view text);

// A blank, a tab or a line end: what separates words in tags and header lines.
inline bool IsBlankOrLineEnd(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

// True when `text` begins with `lowerPattern`, letters in either case.
bool StartsWithNoCase(std::string_view text, std::string_view lowerPattern);

// The first position at or after `from` where `lowerPattern` occurs in `text`, letters in either
// case; std::string_view::npos when there is none.
std::size_t FindNoCase(std::string_view text, std::string_view lowerPattern, std::size_t from = 0);

}  // namespace gl
