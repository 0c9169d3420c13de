#include "generate/internal/style_references.h"

#include <utility>

#include "core/byte_text.h"
#include "core/tag_text.h"

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Where the value of attribute `name` stands in the tag; none when it has no value that ends
// inside the tag.
bool FindValue(std::string_view tag, std::string_view name, std::size_t& from, std::size_t& to) {
  const auto found = FindAttributeValue(tag, name, tag.size());
  if (!found) return false;
  from = found->From;
  to = found->To;
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
  // Every tag is read for a style attribute; only the few named here hold anything else, and
  // their first letter tells them apart without matching every name.
  const std::string_view name = tag.substr(1);
  switch (LowerAscii(name.front())) {
    case 'l':
      if (MatchTagName(name, "link ")) AddLink(tag, found);
      break;
    case 'i':
      if (MatchTagName(name, "img ")) AddValue(tag, "srcset", StyleRole::Srcset, found);
      break;
    case 's':
      if (MatchTagName(name, "source ")) AddValue(tag, "srcset", StyleRole::Srcset, found);
      break;
    case 'o':
      if (MatchTagName(name, "object ")) AddValue(tag, "data", StyleRole::Picture, found);
      break;
    case 'v':
      if (MatchTagName(name, "video ")) AddValue(tag, "poster", StyleRole::Picture, found);
      break;
    default:
      break;
  }
  // Most tags have no 'y' at all, and so no style attribute: two quick byte searches spare them
  // the attribute search.
  if (tag.find('y') != kNone || tag.find('Y') != kNone) {
    AddValue(tag, "style", StyleRole::StyleText, found);
  }
  if (found.size() > 1 && found[1].From < found[0].From) std::swap(found[0], found[1]);
  return found;
}

bool StartsStyleBlock(std::string_view afterOpen) {
  return !afterOpen.empty() && LowerAscii(afterOpen.front()) == 's' &&
         (MatchTagName(afterOpen, "style ") || MatchTagName(afterOpen, "style>"));
}

}  // namespace gl
