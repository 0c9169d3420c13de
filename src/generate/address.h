#pragma once

#include <string>
#include <string_view>

// Addresses as the generation run compares, stores and looks them up. The canonical form of a web
// address is host and path without the scheme ("www.example.com/a/b.htm"), with "/" after a bare
// host; a local address keeps its scheme ("file:///home/ann/site/a.htm") so that it is still
// read from the disk when its page is fetched, and a secure page keeps "https://" so that it is
// fetched over TLS again. Addresses compare byte for byte.

namespace gl {

// The absolute canonical address of a link `value` found on a page whose address is `base`
// (canonical or with a scheme). Leading blanks and quotes and trailing blanks of the value are
// skipped (blanks inside it stay, and the request sends them percent-encoded); "." and ".."
// path segments are removed; the fragment is kept. Callers keep values of another scheme
// (SchemeOfLink) away from it: an absolute "file:" value stays a local address.
std::string ResolveAddress(std::string_view base, std::string_view value);

// The canonical address a fetched page's links resolve against: where it was found (after any
// redirect), unless that would turn a web address into a local one; then where it was asked for.
std::string FetchedPageAddress(std::string_view requested, std::string_view found);

// Removes "." segments and each ".." segment together with the segment before it from the path of
// an address; a ".." with nothing before it to remove stays. The host, query and fragment are
// never touched.
std::string CollapseDots(std::string_view address);

// The address without its "#" fragment: the key under which the page table knows it.
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

}  // namespace gl
