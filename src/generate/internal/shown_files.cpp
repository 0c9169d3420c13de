#include "generate/internal/shown_files.h"

#include <algorithm>
#include <unordered_set>

#include "core/tag_text.h"
#include "net/address_forms.h"

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The attribute of a tag that names a file it shows; empty for any other tag.
std::string_view FileAttribute(std::string_view afterOpen) {
  if (MatchTagName(afterOpen, "img ") || MatchTagName(afterOpen, "image ") ||
      MatchTagName(afterOpen, "embed ")) {
    return "src";
  }
  if (MatchTagName(afterOpen, "body")) return "background";
  return {};
}

}  // namespace

std::vector<std::string> ShownFileAddresses(std::string_view page, std::string_view pageAddress) {
  std::vector<std::string> addresses;
  std::unordered_set<std::string> seen;
  for (std::size_t open = page.find('<'); open != kNone; open = page.find('<', open + 1)) {
    const std::string_view tag = page.substr(open, kTagWindow);
    const std::string_view attribute = FileAttribute(tag.substr(1));
    if (attribute.empty()) continue;
    const std::size_t close = std::min(tag.find('>'), tag.size());
    const auto found = FindAttributeValue(tag, attribute, close);
    if (!found || found->From >= found->To) continue;
    const std::string_view value = tag.substr(found->From, found->To - found->From);
    // Secure images are fetched when secure pages are on; with them off the fetch of one
    // explains it without going out.
    if (SchemeOfLink(value, true).Other) continue;
    std::string address(CutFragment(ResolveAddress(pageAddress, value)));
    if (seen.insert(address).second) addresses.push_back(std::move(address));
  }
  return addresses;
}

}  // namespace gl
