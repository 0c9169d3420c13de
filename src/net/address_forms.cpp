#include "net/address_forms.h"

#include <vector>

#include "core/byte_text.h"
#include "platform/file_address.h"

namespace gl {
namespace {

constexpr std::string_view kSchemeMark = "://";
constexpr std::string_view kHttp = "http://";

// Where the bare form of an address starts: after the first "://" when no "/" stands before it
// (a "/" always exists when "://" does, so a "\" never decides); otherwise 0.
std::size_t BareStart(std::string_view address) {
  const std::size_t mark = address.find(kSchemeMark);
  if (mark == std::string_view::npos) return 0;
  const std::size_t slash = address.find('/');
  return slash < mark ? 0 : mark + kSchemeMark.size();
}

std::string_view HostOf(std::string_view bareAddress) {
  return bareAddress.substr(0, bareAddress.find('/'));
}

std::string_view WithoutPort(std::string_view host) {
  return host.substr(0, host.rfind(':'));
}

// The last two labels of a host ("a.b.c" gives "b.c"); a host with one dot or none is whole.
std::string_view DomainOf(std::string_view host) {
  const std::size_t lastDot = host.rfind('.');
  if (lastDot == std::string_view::npos || lastDot == 0) return host;
  const std::size_t dotBefore = host.rfind('.', lastDot - 1);
  return dotBefore == std::string_view::npos ? host : host.substr(dotBefore + 1);
}

// Resolves "." and ".." segments of a path that starts with "/".
std::string RemoveDotSegments(std::string_view path) {
  std::vector<std::string_view> segments;
  bool trailingSlash = false;
  std::size_t start = 1;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    const std::string_view segment = path.substr(start, end - start);
    const bool last = end == path.size();
    if (segment == ".") {
      trailingSlash = last;
    } else if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
      trailingSlash = last;
    } else {
      segments.push_back(segment);
      trailingSlash = false;
    }
    start = end + 1;
  }
  std::string result;
  for (std::string_view segment : segments) {
    result += '/';
    result += segment;
  }
  if (result.empty() || trailingSlash) result += '/';
  return result;
}

// Tidies the path of a bare address; the query and fragment stay as they are.
std::string WithCleanPath(std::string_view bareAddress) {
  const std::size_t slash = bareAddress.find('/');
  if (slash == std::string_view::npos) return std::string(bareAddress);
  const std::size_t pathEnd = std::min(bareAddress.find_first_of("?#", slash), bareAddress.size());
  return std::string(bareAddress.substr(0, slash)) +
         RemoveDotSegments(bareAddress.substr(slash, pathEnd - slash)) +
         std::string(bareAddress.substr(pathEnd));
}

}  // namespace

std::string NormaliseDisplayAddress(std::string_view address) {
  const std::size_t mark = address.find(kSchemeMark);
  const bool hasScheme =
      mark != std::string_view::npos && address.find('/') >= mark && address.find('\\') >= mark;
  if (hasScheme) return std::string(address);
  std::string display;
  display.reserve(kHttp.size() + address.size());
  display += kHttp;
  display += address;
  return display;
}

AddressKind KindOfAddress(std::string_view address) {
  if (IsFileAddress(address)) return AddressKind::Local;
  const std::size_t start = BareStart(address);
  if (start == 0) return AddressKind::Web;
  const std::size_t mark = start - kSchemeMark.size();
  if (start == kSecureScheme.size() && StartsWithNoCase(address, kSecureScheme)) {
    return AddressKind::Secure;
  }
  if (mark >= 4 && StartsWithNoCase(address.substr(mark - 4), "http")) return AddressKind::Web;
  if (mark >= 6 && StartsWithNoCase(address.substr(mark - 6), "mailto")) return AddressKind::Mail;
  return AddressKind::Other;
}

std::string_view StripScheme(std::string_view address) {
  return address.substr(BareStart(address));
}

bool IsSameSite(std::string_view address, std::string_view baseAddress, std::string& bareAddress,
                std::string& bareBaseAddress) {
  bareAddress = StripScheme(address);
  bareBaseAddress = StripScheme(baseAddress);
  // A local page has no host: of the links it holds only local ones stay on its site.
  if (IsFileAddress(baseAddress)) return IsFileAddress(address);
  const std::string_view domain = DomainOf(WithoutPort(HostOf(bareBaseAddress)));
  const std::string_view host = WithoutPort(HostOf(bareAddress));
  if (!host.ends_with(domain)) return false;
  return domain.empty() || host.size() == domain.size() ||
         host[host.size() - domain.size() - 1] == '.';
}

HostAndPath SplitHostAndPath(std::string_view bareAddress) {
  const std::string_view withoutFragment = bareAddress.substr(0, bareAddress.find('#'));
  const std::size_t slash = withoutFragment.find('/');
  if (slash == std::string_view::npos) return {withoutFragment, "/"};
  return {withoutFragment.substr(0, slash), withoutFragment.substr(slash)};
}

std::string ResolveLocation(std::string_view requestedBareAddress, std::string_view location) {
  if (const std::size_t start = BareStart(location); start > 0) {
    return WithCleanPath(location.substr(start));
  }
  if (location.starts_with("//")) return WithCleanPath(location.substr(2));

  const HostAndPath requested = SplitHostAndPath(requestedBareAddress);
  std::string resolved(requested.Host);
  if (location.starts_with('/')) {
    resolved += location;
  } else if (location.starts_with('#')) {
    resolved += requested.Path;
    resolved += location;
  } else {
    const std::string_view path = requested.Path.substr(0, requested.Path.find('?'));
    resolved += location.starts_with('?') ? path : path.substr(0, path.rfind('/') + 1);
    resolved += location;
  }
  return WithCleanPath(resolved);
}

}  // namespace gl
