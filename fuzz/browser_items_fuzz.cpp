// Feeds arbitrary bytes to the readers of conversation texts: a browser's window information
// answer and an open item. Whatever they find must lie within what they were given, and a page
// written back as window information must read back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "browser/browser_items.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 65536) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  if (const std::optional<gl::BrowserPage> page = gl::ParseWindowInfo(text)) {
    if (page->Address.size() + page->Title.size() >= gl::kItemBufferSize) std::abort();
    // An address that fits an answer with its quotes and contains no quote-comma reads back.
    if (page->Address.size() + 3 < gl::kItemBufferSize &&
        page->Address.find("\",") == std::string::npos) {
      const std::optional<gl::BrowserPage> back = gl::ParseWindowInfo(gl::WindowInfoAnswer(*page));
      if (!back || back->Address != page->Address) std::abort();
    }
  }
  if (const std::optional<std::string> address = gl::AddressOfOpenURLItem(text)) {
    if (address->size() + 2 > size) std::abort();
  }
  if (const std::optional<std::string> item = gl::OpenURLItem(text)) {
    if (gl::AddressOfOpenURLItem(*item) != text) std::abort();
  }
  return 0;
}
