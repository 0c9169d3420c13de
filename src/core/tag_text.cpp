#include "core/tag_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>

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

namespace {

// Sixteen bytes at once, as the compiler's vector extension gives them on any target.
using Bytes16 = unsigned char __attribute__((vector_size(16)));

Bytes16 Load16(const char* bytes) {
  Bytes16 block;
  std::memcpy(&block, bytes, sizeof block);
  return block;
}

// The first '<' at or after `from` that is followed by `lower` or `upper`, sixteen positions a
// step: a page has a '<' every twenty bytes or so, and stopping at each costs more than the test.
// Returns the first position that the blocks did not cover when none is found in them.
std::size_t SkipToOpenFollowedBy(std::string_view buffer, std::size_t from, char lower,
                                 char upper) {
  const auto open = static_cast<unsigned char>('<');
  const auto wantedLower = static_cast<unsigned char>(lower);
  const auto wantedUpper = static_cast<unsigned char>(upper);
  std::size_t at = from;
  for (; at + sizeof(Bytes16) < buffer.size(); at += sizeof(Bytes16)) {
    const Bytes16 here = Load16(buffer.data() + at);
    const Bytes16 next = Load16(buffer.data() + at + 1);
    const auto hits = (here == open) & ((next == wantedLower) | (next == wantedUpper));
    std::uint64_t halves[2];
    std::memcpy(halves, &hits, sizeof halves);
    if ((halves[0] | halves[1]) == 0) continue;
    for (std::size_t i = 0; i < sizeof(Bytes16); ++i) {
      if (hits[i] != 0) return at + i;
    }
  }
  return at;
}

}  // namespace

std::size_t FindTagInText(std::string_view buffer, std::string_view name) {
  // The first byte of the name is compared before the whole name is: most tags differ there.
  const char first = name.empty() ? '\0' : name.front();
  const bool filterFirst = !name.empty() && first != ' ';
  const char upperFirst =
      first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A') : first;
  std::size_t from = 0;
  while (true) {
    if (filterFirst) from = SkipToOpenFollowedBy(buffer, from, first, upperFirst);
    const std::size_t at = buffer.find('<', from);
    if (at == kNone) return kNone;
    from = at + 1;
    if (filterFirst && at + 1 < buffer.size() && LowerAscii(buffer[at + 1]) != first) continue;
    if (MatchTagName(buffer.substr(at + 1), name)) return at;
  }
}

std::vector<std::size_t> FindTagStarts(std::string_view buffer, std::string_view letters) {
  std::vector<std::size_t> starts;
  const auto open = static_cast<unsigned char>('<');
  // A letter with the case bit set is its lower case, and no other byte becomes a letter so.
  const auto caseBit = static_cast<unsigned char>(0x20);
  // Up to three letters are compared at once; a zero byte stands for none, as no byte with the
  // case bit set is zero.
  Bytes16 wanted[3] = {};
  for (std::size_t i = 0; i < std::min(letters.size(), std::size(wanted)); ++i)
    wanted[i] = wanted[i] + static_cast<unsigned char>(letters[i]);
  std::size_t at = 0;
  for (; letters.size() <= std::size(wanted) && at + sizeof(Bytes16) < buffer.size();
       at += sizeof(Bytes16)) {
    const Bytes16 here = Load16(buffer.data() + at);
    const Bytes16 next = Load16(buffer.data() + at + 1) | caseBit;
    const auto hits =
        (here == open) & ((next == wanted[0]) | (next == wanted[1]) | (next == wanted[2]));
    std::uint64_t halves[2];
    std::memcpy(halves, &hits, sizeof halves);
    if ((halves[0] | halves[1]) == 0) continue;
    for (std::size_t i = 0; i < sizeof(Bytes16); ++i) {
      if (hits[i] != 0) starts.push_back(at + i);
    }
  }
  for (; at + 1 < buffer.size(); ++at) {
    if (buffer[at] == '<' && letters.find(LowerAscii(buffer[at + 1])) != kNone)
      starts.push_back(at);
  }
  return starts;
}

std::size_t FindAttribute(std::string_view buffer, std::string_view name, std::size_t limit) {
  limit = std::min(limit, buffer.size());
  const char first = name.empty() ? ' ' : name.front();
  // Whether a byte may stand before a name: one look-up per byte of the tag.
  static constexpr std::array<bool, 256> kBeforeName = [] {
    std::array<bool, 256> table{};
    for (const char byte : {' ', '\t', '\r', '\n', '"', '\''})
      table[static_cast<unsigned char>(byte)] = true;
    return table;
  }();
  for (std::size_t at = 1; at < limit; ++at) {
    if (!kBeforeName[static_cast<unsigned char>(buffer[at - 1])]) continue;
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
