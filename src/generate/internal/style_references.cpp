#include "generate/internal/style_references.h"

#include <algorithm>

#include "core/byte_text.h"
#include "core/tag_text.h"

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Where the value of attribute `name` stands in the tag; none when it has no value that ends
// inside the tag.
bool FindValue(std::string_view tag, std::string_view name, std::size_t& from, std::size_t& to) {
  const std::size_t at = FindAttribute(tag, name, tag.size());
  const std::size_t value = at == kNone ? kNone : AttributeValue(tag, at);
  const std::size_t end = value == kNone ? kNone : ValueEnd(tag, value);
  if (end == kNone) return false;
  from = value + (IsQuote(tag[value]) ? 1 : 0);
  to = end;
  return from < to && to < tag.size();
}

void AddValue(std::string_view tag, std::string_view name, StyleRole role,
              std::vector<StyleReferenceSpan>& found) {
  std::size_t from = 0;
  std::size_t to = 0;
  if (FindValue(tag, name, from, to)) found.push_back({from, to, role});
}

// A link's role by the words of its rel attribute: a style sheet, an icon, or neither.
void AddLink(std::string_view tag, std::vector<StyleReferenceSpan>& found) {
  std::size_t from = 0;
  std::size_t to = 0;
  if (!FindValue(tag, "rel", from, to)) return;
  const std::string_view rel = tag.substr(from, to - from);
  if (FindNoCase(rel, "stylesheet") != kNone) {
    AddValue(tag, "href", StyleRole::Sheet, found);
  } else if (FindNoCase(rel, "icon") != kNone) {
    AddValue(tag, "href", StyleRole::Picture, found);
  }
}

}  // namespace

std::vector<StyleReferenceSpan> StyleReferencesOfTag(std::string_view tag) {
  std::vector<StyleReferenceSpan> found;
  if (tag.size() < 2 || tag[1] == '/') return found;
  const std::string_view name = tag.substr(1);
  if (MatchTagName(name, "link ")) {
    AddLink(tag, found);
  } else if (MatchTagName(name, "img ") || MatchTagName(name, "source ")) {
    AddValue(tag, "srcset", StyleRole::Srcset, found);
  } else if (MatchTagName(name, "object ")) {
    AddValue(tag, "data", StyleRole::Picture, found);
  } else if (MatchTagName(name, "video ")) {
    AddValue(tag, "poster", StyleRole::Picture, found);
  }
  AddValue(tag, "style", StyleRole::StyleText, found);
  std::sort(
      found.begin(), found.end(),
      [](const StyleReferenceSpan& a, const StyleReferenceSpan& b) { return a.From < b.From; });
  return found;
}

bool StartsStyleBlock(std::string_view afterOpen) {
  return MatchTagName(afterOpen, "style ") || MatchTagName(afterOpen, "style>");
}

}  // namespace gl
