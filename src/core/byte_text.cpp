#include "core/byte_text.h"

#include <algorithm>

#include "core/internal/byte_blocks.h"

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
  const auto matchesAt = [&](std::size_t at) {
    for (std::size_t i = 0; i < lowerPattern.size(); ++i) {
      if (LowerAscii(text[at + i]) != lowerPattern[i]) return false;
    }
    return true;
  };
  if (lowerPattern.size() > text.size() - from) return std::string_view::npos;
  const std::size_t last = text.size() - lowerPattern.size();  // the last place it may start
  std::size_t at = from;
  // A pattern that starts with a letter: sixteen places a step are tested for that letter, and
  // only those are compared further.
  const char first = lowerPattern.empty() ? '\0' : lowerPattern.front();
  if (first >= 'a' && first <= 'z') {
    const auto letter = static_cast<unsigned char>(first);
    for (; at + sizeof(Bytes16) <= last + 1; at += sizeof(Bytes16)) {
      const auto hits = CaseFolded(Load16(text.data() + at)) == letter;
      std::size_t found = 0;
      if (VisitHits(hits, [&](std::size_t i) { return matchesAt(found = at + i); })) return found;
    }
  }
  for (; at <= last; ++at) {
    if (matchesAt(at)) return at;
  }
  return std::string_view::npos;
}

}  // namespace gl
