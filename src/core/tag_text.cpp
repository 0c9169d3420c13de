#include "core/tag_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "core/byte_text.h"
#include "core/internal/byte_blocks.h"

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
    std::size_t first = 0;
    if (VisitHits(hits, [&first](std::size_t i) { return first = i, true; })) return at + first;
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
  // Up to three letters are compared at once; a zero byte stands for none, as no byte with the
  // case bit set is zero.
  Bytes16 wanted[3] = {};
  for (std::size_t i = 0; i < std::min(letters.size(), std::size(wanted)); ++i)
    wanted[i] = wanted[i] + static_cast<unsigned char>(letters[i]);
  std::size_t at = 0;
  for (; letters.size() <= std::size(wanted) && at + sizeof(Bytes16) < buffer.size();
       at += sizeof(Bytes16)) {
    const Bytes16 here = Load16(buffer.data() + at);
    const Bytes16 next = CaseFolded(Load16(buffer.data() + at + 1));
    const auto hits =
        (here == open) & ((next == wanted[0]) | (next == wanted[1]) | (next == wanted[2]));
    VisitHits(hits, [&](std::size_t i) { return starts.push_back(at + i), false; });
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
  const auto isNameAt = [&](std::size_t at) {
    if (!kBeforeName[static_cast<unsigned char>(buffer[at - 1])]) return false;
    if (first != ' ' && LowerAscii(buffer[at]) != first) return false;
    if (!MatchTagName(buffer.substr(at), name)) return false;
    const std::size_t after = at + name.size();
    return after == buffer.size() || IsBlankOrLineEnd(buffer[after]) || buffer[after] == '=' ||
           buffer[after] == '>';
  };
  std::size_t at = 1;
  // A name that starts with a letter: sixteen places a step are tested for that letter after a
  // blank or a quote, and only those are read further. The last block ends at the limit and
  // overlaps the one before, whose places it skips.
  if (first >= 'a' && first <= 'z' && limit > sizeof(Bytes16)) {
    const auto letter = static_cast<unsigned char>(first);
    while (at < limit) {
      const std::size_t block = std::min(at, limit - sizeof(Bytes16));
      const Bytes16 before = Load16(buffer.data() + block - 1);
      const auto hits = (CaseFolded(Load16(buffer.data() + block)) == letter) &
                        ((before == ' ') | (before == '\t') | (before == '\r') | (before == '\n') |
                         (before == '"') | (before == '\''));
      std::size_t found = 0;
      if (VisitHits(hits, [&](std::size_t i) {
            found = block + i;
            return found >= at && isNameAt(found);
          })) {
        return found;
      }
      at = block + sizeof(Bytes16);
    }
    return kNone;
  }
  for (; at < limit; ++at) {
    if (isNameAt(at)) return at;
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
