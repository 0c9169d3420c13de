#pragma once

#include <cstddef>
#include <string_view>

#include "net/fetch.h"
#include "net/transfer.h"

namespace gl {

// Serves a "file://" address from the local disk into `result`. A regular file with content is
// laid out like an answer: "HTTP/1.0 200", CR LF CR LF, the file's bytes and one zero byte, so
// whoever cuts the header off later never cuts into the file; PageOk is then true, and NonText
// tells that its name is not that of a page or text file (a picture or other file linked from a
// local page is stored as a file, not rewritten as a page). Anything else gives the file error
// page: a missing file "was not found"; an empty or unreadable file, one of more than `limit`
// bytes, and whatever is not a regular file (a folder, a device such as /dev/zero, a named pipe)
// "failed to load" without a byte read, so no local address can hang a run or fill its memory.
void LoadLocalFile(std::string_view address, std::string_view display, FetchResult& result,
                   std::size_t limit = kMaxAnswerBytes);

}  // namespace gl
