#include "generate/internal/stream_search.h"

#include <algorithm>

#include "core/byte_text.h"
#include "core/tag_text.h"

namespace gl {
namespace {
constexpr std::size_t kNone = std::string_view::npos;
}

std::size_t FindTagInStream(std::string_view stream, std::size_t from, std::string_view name) {
  if (from > stream.size()) return kNone;
  const std::size_t at = FindTagInText(stream.substr(from), name);
  return at == kNone ? kNone : from + at;
}

std::size_t FindEndInStream(std::string_view stream, std::size_t from, std::string_view pattern) {
  if (!pattern.empty() && pattern.front() == '-') return FindTextInStream(stream, pattern, from);
  return FindTagInStream(stream, from, pattern);
}

std::size_t FindTextInStream(std::string_view stream, std::string_view text, std::size_t from) {
  const bool hasLetters =
      std::any_of(text.begin(), text.end(), [](char byte) { return byte >= 'a' && byte <= 'z'; });
  return hasLetters ? FindNoCase(stream, text, from) : stream.find(text, from);
}

}  // namespace gl
