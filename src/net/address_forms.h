#pragma once

#include <string>
#include <string_view>

// The forms an address takes in this program, and the converters between them. All are byte
// strings; addresses compare exactly, while schemes and protocol words match in any letter case.
//
// - typed address: as a user, a brief or a page gives it, with a scheme or without one.
// - display address: with a scheme always, "http://" put in front where it had none
//   (NormaliseDisplayAddress). Generated pages show and link it; a fetch keeps it for its pages.
// - bare address: without its scheme (StripScheme): host, optional ":port", optional path and
//   fragment. What a request is built from.
// - canonical address: what a run compares, stores and looks up (ResolveAddress): a web address
//   as host and path without its scheme, with "/" after a bare host and its "." and ".." segments
//   resolved; a local address keeps "file://" so that it is still read from disk.
// - page-table key: a canonical address without its fragment (CutFragment), marked with
//   kOrdinaryLinkMark for a page reached through an ordinary link (PageTableKey).
// - local (file) address: "file://" and an absolute path; platform/file_address.h makes and reads
//   it.

namespace gl {

// Where a scheme ends: the first `mark` ("://", or ":" for a link such as "mailto:ann@host") in
// `address`, provided that none of the bytes of `stops` comes before it; npos otherwise. Each form
// stops at its own bytes (below), so that a "://" inside a path or query is not taken for a
// scheme.
inline constexpr std::string_view kSchemeMark = "://";
std::size_t FindSchemeMark(std::string_view address, std::string_view stops,
                           std::string_view mark = kSchemeMark);

// What bytes end the search for a scheme: a bare or typed address's first "/"; for the display
// form also a "\"; a link value's path separators, query and fragment.
inline constexpr std::string_view kBareFormStops = "/";
inline constexpr std::string_view kDisplayFormStops = "/\\";
inline constexpr std::string_view kLinkStops = "/\\?#";

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

// The absolute canonical address of a link `value` found on a page whose address is `base`
// (canonical or with a scheme). Leading blanks and quotes and trailing blanks of the value are
// skipped (blanks inside it stay, and the request sends them percent-encoded); "." and ".."
// path segments are removed; the fragment is kept. Callers keep values of another scheme
// (SchemeOfLink) away from it: an absolute "file:" value stays a local address.
std::string ResolveAddress(std::string_view base, std::string_view value);

// The bare address that a redirect's Location names, read against the bare address that was
// requested, as ResolveAddress reads a link against its page, except that any scheme is dropped
// and a bare host gets no "/".
std::string ResolveLocation(std::string_view requestedBareAddress, std::string_view location);

// The canonical address a fetched page's links resolve against: where it was found (after any
// redirect), unless that would turn a web address into a local one; then where it was asked for.
std::string FetchedPageAddress(std::string_view requested, std::string_view found);

// Removes "." segments and each ".." segment together with the segment before it from the path of
// an address, as browsers do (RFC 3986, section 5.2.4): a ".." with nothing before it to remove
// is dropped. The scheme, host, query and fragment are never touched. Taken by value: most
// addresses have nothing to collapse and come back as they went in, without a copy.
std::string CollapseDots(std::string address);

// The address without its "#" fragment.
std::string_view CutFragment(std::string_view address);

// What a link value in a page points at: the web (fetched as a page) or another scheme (mail,
// news, ftp ...), which is never fetched. A value has another scheme when a ':' comes before its
// first '/', '\', '?' and '#', and the four bytes before that ':' are not "http" in any case; it
// is a mail link when the six bytes before it are "mailto". A secure address ("https:" before the
// ':', any case) is another scheme unless `securePages` is on.
struct LinkScheme {
  bool Other = false;
  bool Mail = false;
};
LinkScheme SchemeOfLink(std::string_view value, bool securePages);

// The page-table key of a page reached through an ordinary link is this mark and its address. A
// page standing at the top of a window (the entry's top page, a link with a new-window target or
// inside a noframes part) and a downloaded file are known by the bare address, so the same address
// may be stored once in each role.
inline constexpr std::string_view kOrdinaryLinkMark = "!!--";

// The key of `address` (its fragment cut off) in the role that `ordinaryLink` names.
std::string PageTableKey(std::string_view address, bool ordinaryLink);

// The address a page-table key stands for: the key without its ordinary-link mark.
std::string_view AddressOfKey(std::string_view key);

}  // namespace gl
