#include "core/tag_text.h"

#include <algorithm>

#include "core/byte_text.h"

namespace gl {
namespace {
constexpr std::size_t kNone = std::string_view::npos;
}

bool MatchTagName(std::string_view text, std::string_view pattern) {
  if (text.size() < pattern.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char want = pattern[i];
    const char have = text[i];
    if (want == ' ' ? !IsBlankOrLineEnd(have) : LowerAscii(have) != want) return false;
  }
  return true;
}

std::size_t FindTagInText(std::string_view buffer, std::string_view name) {
  // The first byte of the name is compared before the whole name is: most tags differ there.
  const char first = name.empty() ? '\0' : name.front();
  const bool firstIsBlank = first == ' ';
  for (std::size_t at = buffer.find('<'); at != kNone; at = buffer.find('<', at + 1)) {
    if (!name.empty() && at + 1 < buffer.size() && !firstIsBlank &&
        LowerAscii(buffer[at + 1]) != first) {
      continue;
    }
    if (MatchTagName(buffer.substr(at + 1), name)) return at;
  }
  return kNone;
}

std::size_t FindAttribute(std::string_view buffer, std::string_view name, std::size_t limit) {
  limit = std::min(limit, buffer.size());
  const char first = name.empty() ? ' ' : name.front();
  for (std::size_t at = 1; at < limit; ++at) {
    const char before = buffer[at - 1];
    if (!IsBlankOrLineEnd(before) && !IsQuote(before)) continue;
    if (first != ' ' && LowerAscii(buffer[at]) != first) continue;
    if (!MatchTagName(buffer.substr(at), name)) continue;
    const std::size_t after = at + name.size();
    if (after == buffer.size() || IsBlankOrLineEnd(buffer[after]) || buffer[after] == '=' ||
        buffer[after] == '>') {
      return at;
    }
  }
  return kNone;
}

std::size_t AttributeValue(std::string_view buffer, std::size_t at) {
  while (at < buffer.size() && !IsBlankOrLineEnd(buffer[at]) && buffer[at] != '=' &&
         buffer[at] != '>')
    ++at;
  while (at < buffer.size() && IsBlankOrLineEnd(buffer[at]))
    ++at;
  if (at >= buffer.size() || buffer[at] != '=') return kNone;
  ++at;
  while (at < buffer.size() && IsBlankOrLineEnd(buffer[at]))
    ++at;
  return at < buffer.size() ? at : kNone;
}

std::size_t ValueEnd(std::string_view buffer, std::size_t at) {
  if (at >= buffer.size()) return kNone;
  if (IsQuote(buffer[at])) {
    const char quote = buffer[at];
    for (std::size_t end = at + 1; end < buffer.size(); ++end) {
      if (buffer[end] == quote || buffer[end] == '>') return end;
    }
    return kNone;
  }
  for (std::size_t end = at; end < buffer.size(); ++end) {
    if (IsBlankOrLineEnd(buffer[end]) || buffer[end] == '>') return end;
  }
  return kNone;
}

std::optional<ValueSpan> FindAttributeValue(std::string_view buffer, std::string_view name,
                                            std::size_t limit) {
  const std::size_t at = FindAttribute(buffer, name, limit);
  const std::size_t value = at == kNone ? kNone : AttributeValue(buffer, at);
  const std::size_t end = value == kNone ? kNone : ValueEnd(buffer, value);
  if (end == kNone) return std::nullopt;
  return ValueSpan{value + (IsQuote(buffer[value]) ? 1 : 0), end};
}

}  // namespace gl
