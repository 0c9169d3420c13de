#include "browser/browser_items.h"

namespace gl {
namespace {

constexpr std::string_view kOpenURLSuffix = ",,-1,0,,,,";

// "Netscape - [" comes before the page title in that browser's window titles.
constexpr std::string_view kNetscape = "Netscape";
constexpr std::size_t kNetscapeTitleOffset = 12;

std::string_view TitleOf(std::string_view rest) {
  const std::size_t start = rest.find_first_not_of(",\"");
  const bool quoted = rest.substr(0, start).find('"') != std::string_view::npos;
  std::string_view title =
      start == std::string_view::npos ? std::string_view() : rest.substr(start);
  if (quoted && !title.empty()) title.remove_suffix(1);
  const std::size_t netscape = title.find(kNetscape);
  if (netscape == std::string_view::npos) return title;
  const std::size_t from = netscape + kNetscapeTitleOffset;
  title = from < title.size() ? title.substr(from) : std::string_view();
  if (!title.empty()) title.remove_suffix(1);
  return title;
}

}  // namespace

std::optional<std::string> OpenURLItem(std::string_view address) {
  std::string item = "\"";
  item += address;
  item += '"';
  item += kOpenURLSuffix;
  if (item.size() + 1 > kItemBufferSize) return std::nullopt;
  return item;
}

std::optional<std::string> AddressOfOpenURLItem(std::string_view item) {
  const std::size_t first = item.find('"');
  const std::size_t last = item.rfind('"');
  if (first == last) return std::nullopt;  // none, or only one
  return std::string(item.substr(first + 1, last - first - 1));
}

std::string WindowInfoAnswer(const BrowserPage& page) {
  return "\"" + page.Address + "\",\"" + page.Title + "\"";
}

std::optional<BrowserPage> ParseWindowInfo(std::string_view answer) {
  answer = answer.substr(0, kItemBufferSize - 1);
  const bool quoted = answer.starts_with('"');
  const std::size_t start = quoted ? 1 : 0;
  const std::size_t end = quoted ? answer.find("\",", start) : answer.find(',');
  if (end == std::string_view::npos) return std::nullopt;
  return BrowserPage{std::string(answer.substr(start, end - start)),
                     std::string(TitleOf(answer.substr(end)))};
}

}  // namespace gl
