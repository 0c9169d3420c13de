#pragma once

#include <string>

#include "core/memory_stream.h"
#include "core/settings.h"
#include "net/progress_sink.h"

namespace gl {

// What the caller asks of one fetch besides the address.
struct FetchOptions {
  std::string UserName;  // the entry's credentials; both empty: the settings' defaults
  std::string Password;
  // The credentials are sent only to this address's host and port (the entry's own address),
  // never to another server that a redirect or a page's image leads to; empty: the address
  // fetched first.
  std::string CredentialsAddress;
  bool StayLocal = false;   // the entry does not follow links to other sites
  std::string BaseAddress;  // the entry's own address, for the same-site test
  bool AcceptImages = false;
  bool AcceptOtherFiles = false;
};

// Everything a fetch produces. The stream holds the answer as received (status line, headers,
// body) or a generated explanation page laid out the same way, followed by one zero byte.
struct FetchResult {
  MemoryStream Stream;
  bool LocationMissing = false;  // a redirect answer named no Location to follow
  bool PageOk = false;           // a usable page: answer 200 or 203, or a loaded local file
  bool NonText = false;          // the answer's content type is not text
  bool External = false;         // refused as an external link, nothing was sent
};

// Fetches a "file://" address from disk, a web address over HTTP/1.0 (directly or through the
// settings' proxy, with the retry count and default credentials of the settings), and with the
// settings' secure pages on an "https://" address over TLS as well. An address or a redirect of
// another scheme ("ftp://", "mailto://", "https://" with secure pages off ...) is not fetched: the
// stream holds the page that explains it, as a run shows it. After a redirect, `address` holds
// the bare form of the last Location followed, behind "https://" when that is a secure page.
// Never throws.
FetchResult FetchPage(std::string& address, const FetchOptions& options, const Settings& settings,
                      ProgressSink& progress);

// Whether `url` is a secure page that the stored settings leave unfetched: the case a new entry's
// address is warned about. The settings store is read only for a secure page.
bool WaitsForSecurePages(std::string_view url);

}  // namespace gl
