#include <algorithm>
#include <initializer_list>
#include <vector>

#include "core/byte_text.h"
#include "core/tag_text.h"
#include "net/address_forms.h"
#include "platform/file_address.h"

// Reading a link or a redirect's Location against the address of the page it came from, the way
// browsers do (RFC 3986, section 5.2), with '\' taken for '/' as they take it too.

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::string_view kHttp = "http://";

bool IsSeparator(char byte) {
  return byte == '/' || byte == '\\';
}

bool IsQueryOrFragment(char byte) {
  return byte == '?' || byte == '#';
}

// The first byte at or after `from` that `wanted` accepts. (find_first_of would search its set
// once for every byte of the text; addresses are resolved for every link of every page.)
template <typename Predicate>
std::size_t FindFirst(std::string_view text, Predicate wanted, std::size_t from = 0) {
  for (std::size_t at = from; at < text.size(); ++at) {
    if (wanted(text[at])) return at;
  }
  return kNone;
}

// The length of "scheme://" at the start of the address, 0 when it has none.
std::size_t SchemeLength(std::string_view address) {
  const std::size_t mark = FindSchemeMark(address, kLinkStops);
  return mark == kNone ? 0 : mark + kSchemeMark.size();
}

// "https://" as the scheme an address starts with.
bool IsSecureScheme(std::string_view address, std::size_t schemeLength) {
  return schemeLength == kSecureScheme.size() && StartsWithNoCase(address, kSecureScheme);
}

// Where the path of an address starts: its first separator after the scheme (of
// `schemeLength` bytes) and host; the address's size when it has none.
std::size_t PathStart(std::string_view address, std::size_t schemeLength) {
  // A query or fragment that comes before any separator starts where the path would.
  const std::size_t end = FindFirst(
      address, [](char byte) { return IsSeparator(byte) || IsQueryOrFragment(byte); },
      schemeLength);
  return end == kNone ? address.size() : end;
}

// The parts one after the other, in one allocation.
std::string Concat(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (std::string_view part : parts)
    size += part.size();
  std::string joined(size, '\0');
  auto out = joined.begin();
  for (std::string_view part : parts)
    out = std::copy(part.begin(), part.end(), out);
  return joined;
}

// An absolute address and the length of its scheme (SchemeLength).
struct Joined {
  std::string Address;
  std::size_t SchemeLength = 0;
};

// The absolute form of a value against its base, scheme still in place where there was one. The
// value's scheme is `valueSchemeLength` bytes long. Except for a network-path reference to a base
// without a scheme, the result keeps the scheme of the value or else of the base, and everything
// before the first separator, query or fragment: its scheme is known without a second search.
Joined Join(std::string_view base, std::string_view value, std::size_t valueSchemeLength) {
  if (valueSchemeLength > 0) return {std::string(value), valueSchemeLength};
  const std::size_t schemeLength = SchemeLength(base);
  if (value.empty()) return {std::string(base), schemeLength};
  const std::string_view scheme = base.substr(0, schemeLength);
  const std::string_view rest = base.substr(schemeLength);
  if (value.size() >= 2 && IsSeparator(value[0]) && IsSeparator(value[1])) {
    // A network-path reference names its own host and keeps the base's scheme.
    std::string joined = Concat({scheme, value.substr(2)});
    const std::size_t joinedSchemeLength = schemeLength > 0 ? schemeLength : SchemeLength(joined);
    return {std::move(joined), joinedSchemeLength};
  }
  if (IsSeparator(value.front())) {
    const std::size_t siteEnd =
        FindFirst(rest, [](char byte) { return IsSeparator(byte) || IsQueryOrFragment(byte); });
    return {Concat({scheme, rest.substr(0, siteEnd), value}), schemeLength};
  }
  if (value.front() == '#') return {Concat({CutFragment(base), value}), schemeLength};
  if (value.front() == '?')
    return {Concat({base.substr(0, FindFirst(base, IsQueryOrFragment)), value}), schemeLength};
  const std::string_view path = rest.substr(0, FindFirst(rest, IsQueryOrFragment));
  std::size_t lastSeparator = path.size();
  while (lastSeparator > 0 && !IsSeparator(path[lastSeparator - 1]))
    --lastSeparator;
  // The folder of the base, up to and with its last separator; a base without any gets "/".
  if (lastSeparator == 0) return {Concat({scheme, path, "/", value}), schemeLength};
  return {Concat({scheme, path.substr(0, lastSeparator), value}), schemeLength};
}

// Whether a path (empty, or starting with a separator) has a "." or ".." segment.
bool HasDotSegment(std::string_view path) {
  for (std::size_t at = path.find('.'); at != kNone; at = path.find('.', at + 1)) {
    if (at == 0 || !IsSeparator(path[at - 1])) continue;
    std::size_t end = at + 1;
    if (end < path.size() && path[end] == '.') ++end;
    if (end == path.size() || IsSeparator(path[end])) return true;
  }
  return false;
}

// CollapseDots for an address whose path starts at `pathStart`.
std::string CollapseDotsFrom(std::string whole, std::size_t pathStart) {
  const std::string_view address(whole);
  const std::size_t pathEnd =
      std::min(FindFirst(address, IsQueryOrFragment, pathStart), address.size());
  const std::string_view path = address.substr(pathStart, pathEnd - pathStart);
  // Most addresses have nothing to collapse.
  if (!HasDotSegment(path)) return whole;

  struct Segment {
    char separator;
    std::string_view name;
  };
  std::vector<Segment> kept;
  bool endsInDirectory = false;
  std::size_t at = 0;
  while (at < path.size()) {
    const char separator = path[at];
    const std::size_t next = std::min(FindFirst(path, IsSeparator, at + 1), path.size());
    const std::string_view name = path.substr(at + 1, next - at - 1);
    at = next;
    endsInDirectory = name == "." || name == "..";
    if (name == "..") {
      // Above the root there is nothing to climb to; a server would refuse the request.
      if (!kept.empty()) kept.pop_back();
    } else if (name != ".") {
      kept.push_back({separator, name});
    }
  }

  std::string result(address.substr(0, pathStart));
  for (const Segment& segment : kept) {
    result += segment.separator;
    result += segment.name;
  }
  if (endsInDirectory && (result.size() == pathStart || !IsSeparator(result.back()))) {
    result += path.empty() ? '/' : path.front();
  }
  result += address.substr(pathEnd);
  return result;
}

}  // namespace

std::string CollapseDots(std::string address) {
  const std::size_t pathStart = PathStart(address, SchemeLength(address));
  return CollapseDotsFrom(std::move(address), pathStart);
}

std::string FetchedPageAddress(std::string_view requested, std::string_view found) {
  if (!IsFileAddress(requested) && IsFileAddress(found)) return ResolveAddress(requested, "");
  return ResolveAddress(found, "");
}

std::string ResolveAddress(std::string_view base, std::string_view value) {
  value = SkipBlanksAndQuotes(value);
  // A quoted value keeps its inner blanks, but as browsers do, not those around it.
  while (!value.empty() && IsBlankOrLineEnd(value.back()))
    value.remove_suffix(1);
  // Only a local page's relative links, or a value that is itself a local address, may lead to
  // the local disk.
  const std::size_t valueSchemeLength = SchemeLength(value);
  const bool mayBeLocal = IsFileAddress(value) || (valueSchemeLength == 0 && IsFileAddress(base));
  auto [address, schemeLength] = Join(base, value, valueSchemeLength);
  const std::size_t joinedSize = address.size();
  const std::size_t pathStart = PathStart(address, schemeLength);
  address = CollapseDotsFrom(std::move(address), pathStart);
  // Removing dot segments always shortens the address, and may make a scheme of what was path
  // (":/./" becomes "://"): only then is it looked for again.
  if (address.size() != joinedSize) schemeLength = SchemeLength(address);
  // The canonical form drops a web scheme; a local address keeps "file://" so it stays local, and
  // a secure page "https://" so it stays secure.
  if (schemeLength > 0 && !IsFileAddress(address) && !IsSecureScheme(address, schemeLength)) {
    address.erase(0, schemeLength);
    schemeLength = SchemeLength(address);
  }
  const std::size_t canonicalPathStart = PathStart(address, schemeLength);
  if (canonicalPathStart == address.size() || !IsSeparator(address[canonicalPathStart])) {
    address.insert(address.begin() + static_cast<std::ptrdiff_t>(canonicalPathStart), '/');
  }
  // Any other address that now reads "file://" (its host part said so, or removed dots made it
  // so) is kept as a web address, which no server answers.
  if (!mayBeLocal && IsFileAddress(address)) address.insert(0, kHttp);
  return address;
}

std::string ResolveLocation(std::string_view requestedBareAddress, std::string_view location) {
  std::string address =
      CollapseDots(Join(requestedBareAddress, location, SchemeLength(location)).Address);
  address.erase(0, SchemeLength(address));
  return address;
}

}  // namespace gl
