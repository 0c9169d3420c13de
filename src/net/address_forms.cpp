#include "net/address_forms.h"

#include <algorithm>
#include <cstdint>

#include "core/byte_text.h"
#include "core/tag_text.h"
#include "platform/file_address.h"

namespace gl {
namespace {

constexpr std::string_view kHttp = "http://";

// What the scheme before a mark at `mark` names: a secure page ("https", any case, nothing before
// it), the web ("http"), a mail link ("mailto") or anything else.
AddressKind KindOfScheme(std::string_view address, std::size_t mark) {
  constexpr std::string_view kSecureName = kSecureScheme.substr(0, kSecureScheme.find(':'));
  if (mark == kSecureName.size() && StartsWithNoCase(address, kSecureName)) {
    return AddressKind::Secure;
  }
  if (mark >= 4 && StartsWithNoCase(address.substr(mark - 4), "http")) return AddressKind::Web;
  if (mark >= 6 && StartsWithNoCase(address.substr(mark - 6), "mailto")) return AddressKind::Mail;
  return AddressKind::Other;
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

}  // namespace

std::size_t FindSchemeMark(std::string_view address, std::string_view stops,
                           std::string_view mark) {
  // One pass that ends at the first stop: every link of every page is read here several times,
  // and most have no scheme but a '/' early on.
  if (mark.empty()) return 0;
  // The bytes worth a second look (the mark's first byte and the stops), as a set of 128 bits:
  // any other byte, as most of a host name, is passed with one test.
  std::uint64_t watched[2] = {0, 0};
  const auto watch = [&watched](char byte) {
    const auto code = static_cast<unsigned char>(byte);
    if (code < 128) watched[code >> 6] |= std::uint64_t{1} << (code & 63);
  };
  watch(mark.front());
  for (const char stop : stops)
    watch(stop);
  const bool allAscii = static_cast<unsigned char>(mark.front()) < 128 &&
                        std::all_of(stops.begin(), stops.end(), [](char stop) {
                          return static_cast<unsigned char>(stop) < 128;
                        });
  for (std::size_t at = 0; at < address.size(); ++at) {
    const char byte = address[at];
    const auto code = static_cast<unsigned char>(byte);
    if (allAscii && (code >= 128 || ((watched[code >> 6] >> (code & 63)) & 1) == 0)) continue;
    if (byte == mark.front() && address.compare(at, mark.size(), mark) == 0) return at;
    for (const char stop : stops) {
      if (byte == stop) return std::string_view::npos;
    }
  }
  return std::string_view::npos;
}

std::string NormaliseDisplayAddress(std::string_view address) {
  if (FindSchemeMark(address, kDisplayFormStops) != std::string_view::npos) {
    return std::string(address);
  }
  std::string display;
  display.reserve(kHttp.size() + address.size());
  display += kHttp;
  display += address;
  return display;
}

AddressKind KindOfAddress(std::string_view address) {
  if (IsFileAddress(address)) return AddressKind::Local;
  const std::size_t mark = FindSchemeMark(address, kBareFormStops);
  return mark == std::string_view::npos ? AddressKind::Web : KindOfScheme(address, mark);
}

std::string_view StripScheme(std::string_view address) {
  const std::size_t mark = FindSchemeMark(address, kBareFormStops);
  return mark == std::string_view::npos ? address : address.substr(mark + kSchemeMark.size());
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
  const std::string_view withoutFragment = CutFragment(bareAddress);
  const std::size_t slash = withoutFragment.find('/');
  if (slash == std::string_view::npos) return {withoutFragment, "/"};
  return {withoutFragment.substr(0, slash), withoutFragment.substr(slash)};
}

std::string_view CutFragment(std::string_view address) {
  return address.substr(0, address.find('#'));
}

LinkScheme SchemeOfLink(std::string_view value, bool securePages) {
  value = SkipBlanksAndQuotes(value);
  const std::size_t colon = FindSchemeMark(value, kLinkStops, ":");
  if (colon == std::string_view::npos) return {};
  AddressKind kind = KindOfScheme(value, colon);
  if (kind == AddressKind::Secure && securePages) kind = AddressKind::Web;
  return {.Other = kind != AddressKind::Web, .Mail = kind == AddressKind::Mail};
}

std::string PageTableKey(std::string_view address, bool ordinaryLink) {
  std::string key(ordinaryLink ? kOrdinaryLinkMark : std::string_view());
  key += CutFragment(address);
  return key;
}

std::string_view AddressOfKey(std::string_view key) {
  return key.starts_with(kOrdinaryLinkMark) ? key.substr(kOrdinaryLinkMark.size()) : key;
}

}  // namespace gl
