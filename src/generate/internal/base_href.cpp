#include "generate/internal/base_href.h"

#include <algorithm>

#include "core/tag_text.h"
#include "generate/internal/stream_search.h"

namespace gl {
namespace {
constexpr std::size_t kNone = std::string_view::npos;
}

void StripBaseHref(MemoryStream& page) {
  std::string& bytes = page.Bytes();
  const std::size_t base = FindTagInStream(bytes, 0, "base");
  if (base == kNone) return;
  const std::string_view window = std::string_view(bytes).substr(base, kTagWindow);
  const std::size_t close = window.find('>');
  if (close == kNone) return;
  const std::size_t href = FindAttribute(window, "href", close);
  if (href == kNone) return;
  const std::size_t value = AttributeValue(window, href);
  if (value == kNone || value >= close) return;
  std::size_t end = ValueEnd(window, value);
  if (end == kNone || end > close) end = close;
  // A closing quote goes with the value, so no stray quote is left in the tag.
  if (end < close && (window[end] == '"' || window[end] == '\'') && window[end] == window[value]) {
    ++end;
  }
  std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(base + href), end - href, ' ');
}

}  // namespace gl
