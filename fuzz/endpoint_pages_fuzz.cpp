// Feeds arbitrary bytes to the readers of a remote-debugging endpoint's JSON answers. They never
// throw; every page they report has an id.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "browser/internal/endpoint_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 65536) return 0;
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  if (const auto pages = gl::ParsePageList(body)) {
    for (const gl::EndpointPage& page : *pages) {
      if (page.Id.size() > size) std::abort();
    }
  }
  if (const auto page = gl::ParsePage(body)) {
    if (page->Id.size() > size) std::abort();
  }
  return 0;
}
