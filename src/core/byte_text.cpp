#include "core/byte_text.h"

#include <algorithm>

namespace gl {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& byte : lower)
    byte = LowerAscii(byte);
  return lower;
}

bool StartsWithNoCase(std::string_view text, std::string_view lowerPattern) {
  if (text.size() < lowerPattern.size()) return false;
  for (std::size_t i = 0; i < lowerPattern.size(); ++i) {
    if (LowerAscii(text[i]) != lowerPattern[i]) return false;
  }
  return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view lowerPattern, std::size_t from) {
  if (from > text.size()) return std::string_view::npos;
  const auto begin = text.begin() + static_cast<std::ptrdiff_t>(from);
  const auto found = std::search(
      begin, text.end(), lowerPattern.begin(), lowerPattern.end(),
      [](char textByte, char patternByte) { return LowerAscii(textByte) == patternByte; });
  if (found == text.end() && !lowerPattern.empty()) return std::string_view::npos;
  return static_cast<std::size_t>(found - text.begin());
}

}  // namespace gl
