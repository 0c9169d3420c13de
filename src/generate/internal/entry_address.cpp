#include "generate/internal/entry_address.h"

#include "core/byte_text.h"
#include "net/address_forms.h"

namespace gl {
namespace {
constexpr std::size_t kNone = std::string_view::npos;
// How far after "://" a separator must appear for the URL to name more than a host.
constexpr std::size_t kHostReach = 256;

}  // namespace

EntryTarget WorkOutEntryAddress(std::string_view url, bool securePages) {
  EntryTarget target;
  target.Address = std::string(url);
  const std::size_t mark = FindSchemeMark(url, kBareFormStops);
  if (!StartsWithNoCase(url, "file:") && mark != kNone) {
    const AddressKind kind = KindOfAddress(url);
    if (kind == AddressKind::Web) {
      target.Address = std::string(StripScheme(url));
    } else if (kind != AddressKind::Secure || !securePages) {
      target.Fetchable = false;
      target.Mail = kind == AddressKind::Mail;
    }
  }
  if (mark != kNone &&
      url.substr(mark + kSchemeMark.size(), kHostReach).find_first_of("/\\") == kNone) {
    target.Address += '/';
  }
  return target;
}

std::string TopFileExtension(std::string_view address) {
  const std::size_t query = address.rfind('?');
  const std::size_t lastSlash = address.rfind('/');
  if (query != kNone) {
    if (lastSlash == kNone || lastSlash < query) return {};
    const std::size_t mark = address.find(kSchemeMark, query);
    if (mark != kNone && lastSlash == mark + 2) return {};
  }
  const std::size_t dot = address.rfind('.');
  if (dot == kNone) return {};
  if (lastSlash != kNone && dot < lastSlash) return {};
  const std::size_t lastBackslash = address.rfind('\\');
  if (lastBackslash != kNone && dot < lastBackslash) return {};
  return LowerAscii(address.substr(dot + 1));
}

}  // namespace gl
