#pragma once

#include <string>
#include <string_view>

#include "generate/internal/checked_file.h"
#include "generate/internal/navigation.h"
#include "generate/internal/run_context.h"

namespace gl {

// Which page stands in for a link that the run does not fetch.
enum class SpecialPage {
  SpiderLimit,          // beyond the entry's spider depth
  MailLink,             // a mail link
  UnsupportedProtocol,  // any other scheme than the web's
};

// Names, lists and writes a page that explains why `address` was not fetched, and writes its name
// into `referring` where the link target belongs. Returns the name; empty when no name was free
// (then nothing is written anywhere).
std::string WriteSpecialPage(RunContext& run, CheckedFile& referring, std::string_view address,
                             SpecialPage kind, const LinkSet& links, std::string_view title);

// The title a special page shows in its navigation header.
std::string_view SpecialPageTitle(SpecialPage kind);

// The body text of a special page, between its header and its footer.
std::string SpecialPageBody(SpecialPage kind, std::string_view address);

}  // namespace gl
