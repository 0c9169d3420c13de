#include "generate/internal/page_clean.h"

#include <algorithm>

#include "generate/internal/stream_search.h"
#include "net/answer.h"

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Blanks comments and declarations. The next "<!" and the next "<script" are each searched once
// and kept until the scan passes them, so the pass is linear in the page size however many
// comments stand before a far-away script.
void BlankComments(std::string& page) {
  const std::string_view view(page);
  std::size_t at = 0;
  std::size_t nextBang = 0;
  std::size_t nextScript = 0;
  bool bangKnown = false;
  bool scriptKnown = false;
  while (true) {
    if (!bangKnown || (nextBang != kNone && nextBang < at)) {
      nextBang = FindTagInStream(view, at, "!");
      bangKnown = true;
    }
    if (nextBang == kNone) return;
    if (!scriptKnown || (nextScript != kNone && nextScript < at)) {
      nextScript = FindTagInStream(view, at, "script");
      scriptKnown = true;
    }
    if (nextScript != kNone && nextScript < nextBang) {
      // A script is left alone; "<!" inside it is script text.
      const std::size_t scriptEnd = FindEndInStream(view, nextScript + 1, "/script");
      if (scriptEnd == kNone) return;
      at = scriptEnd;
      continue;
    }
    std::size_t end;
    if (view.substr(nextBang + 2, 2) == "--") {
      const std::size_t close = FindEndInStream(view, nextBang + 4, "-->");
      if (close == kNone) return;
      end = close + 2;
    } else {
      end = view.find('>', nextBang + 2);
      if (end == kNone) return;
    }
    std::fill(page.begin() + static_cast<std::ptrdiff_t>(nextBang),
              page.begin() + static_cast<std::ptrdiff_t>(end + 1), ' ');
    at = end + 1;
  }
}

}  // namespace

void CleanPage(MemoryStream& page) {
  std::string& bytes = page.Bytes();
  const std::size_t body = FindHeaderEnd(bytes);
  if (body != kNone) bytes.erase(0, body);
  // A fetched stream already ends with its zero byte; it becomes the page's terminator.
  if (bytes.empty() || bytes.back() != '\0') bytes.push_back('\0');
  page.Seek(0);
  BlankComments(bytes);
  // Zero bytes inside a page are rare: found with memchr rather than compared one by one.
  const std::size_t end = bytes.size() - 1;
  for (std::size_t zero = bytes.find('\0'); zero < end; zero = bytes.find('\0', zero + 1))
    bytes[zero] = ' ';
}

std::optional<std::string_view> PageTitle(std::string_view page) {
  constexpr std::size_t kOpenLength = 7;  // "<title>"
  std::optional<std::string_view> title;
  std::size_t close = 0;
  bool closeKnown = false;
  for (std::size_t open = FindTagInStream(page, 0, "title>"); open != kNone;
       open = FindTagInStream(page, open + kOpenLength, "title>")) {
    const std::size_t start = open + kOpenLength;
    if (!closeKnown || close < start) {
      close = FindTagInStream(page, start, "/title>");
      closeKnown = true;
    }
    if (close == kNone) break;
    title = page.substr(start, close - start);
  }
  return title;
}

}  // namespace gl
