#pragma once

#include <string>
#include <string_view>

namespace gl {

// What a web entry's stored URL asks the run to do.
struct EntryTarget {
  std::string Address;    // the address fetched (web addresses lose "http://"), or the whole URL
  bool Fetchable = true;  // a web or local address; false for another scheme
  bool Mail = false;      // a mail link (another scheme)
};

// "file:" URLs (any case) stay as they are; "http://" URLs lose their scheme; "https://" URLs stay
// as they are when `securePages` is on; URLs with another scheme before "://" are not fetched (a
// mail link when that scheme is "mailto"); anything else is a web address as it stands. A URL
// with a scheme and no "/" or "\" within the 256 bytes after "://" gets "/" appended, so a bare
// host is asked for its root.
EntryTarget WorkOutEntryAddress(std::string_view url, bool securePages);

// The extension of a file that an entry's address leads to directly, lower case, before
// AllocatePageName normalises it: the text after the last '.' when that '.' stands after the last
// '/' and '\'. An address whose query holds no '/' after its last '?', or whose last '/' belongs
// to a "://" after that '?', has none.
std::string TopFileExtension(std::string_view address);

}  // namespace gl
