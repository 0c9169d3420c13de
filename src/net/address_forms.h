#pragma once

#include <string>
#include <string_view>

// The forms an address takes on its way to a request. A bare address is host, optional ":port",
// optional path from the first "/" and optional fragment, without any scheme.

namespace gl {

// The address as generated pages show and link it: "http://" is put in front unless the address
// already names a scheme ("://" with no "/" or "\" before it).
std::string NormaliseDisplayAddress(std::string_view address);

// What an address's scheme asks of a fetch. An address names a scheme when "://" stands before
// its first "/"; "http" before that mark (any case, so also "xhttp") or no scheme at all is the
// web, "file://" the local disk, "https" (any case, nothing before it) a secure page, "mailto" a
// mail link, and anything else ("ftp", "gopher" ...) a scheme the program does not fetch. A secure
// page is fetched only with the secure-pages setting on; otherwise it is treated as Other. The
// run and a single fetch decide alike.
enum class AddressKind { Web, Local, Secure, Mail, Other };
AddressKind KindOfAddress(std::string_view address);

// The scheme that a secure page's address keeps in every form, so it is fetched over TLS again.
inline constexpr std::string_view kSecureScheme = "https://";

// The address without its scheme: everything up to and including the first "://" is removed
// when no "/" stands before that "://". Any scheme goes, not only "http".
std::string_view StripScheme(std::string_view address);

// Strips both addresses into `bareAddress` and `bareBaseAddress` and tells whether the address's
// host lies in the base host's domain (its last two labels; a host without dots is its own
// domain). Ports are ignored and the comparison is case-sensitive. The domain must match whole
// labels: "b.c" holds "b.c" and "a.b.c", not "ab.c". A local base ("file://...") has no host:
// only local addresses are on its site, so an entry read from disk never wanders onto the web.
bool IsSameSite(std::string_view address, std::string_view baseAddress, std::string& bareAddress,
                std::string& bareBaseAddress);

// The two halves of a bare address that a request needs.
struct HostAndPath {
  std::string_view Host;  // up to the first "/", keeping ":port"
  std::string_view Path;  // from the first "/" to the first "#"; "/" when there is none
};

HostAndPath SplitHostAndPath(std::string_view bareAddress);

// The bare address that a redirect's Location names, read against the bare address that was
// requested: a full address loses its scheme; "//host/..." names a host; "/path" keeps the
// requested host; "?query" keeps the requested path; anything else is relative to the requested
// path's folder. "." and ".." segments of the resulting path are resolved.
std::string ResolveLocation(std::string_view requestedBareAddress, std::string_view location);

}  // namespace gl
