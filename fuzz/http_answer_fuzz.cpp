// Feeds arbitrary bytes to the answer parsing that runs on every fetched page: the header end
// found chunk by chunk (checked against one search over the whole answer), the header facts,
// the content-type decision, the status code and a redirect's Location resolved to an address
// when it is a web address.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "net/address_forms.h"
#include "net/answer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 65536) return 0;
  const std::string_view answer(reinterpret_cast<const char*>(data), size);

  // The first byte picks the chunk size, as a server may split its answer anywhere.
  const std::size_t chunk = size > 0 ? 1 + data[0] % 16 : 1;
  gl::HeaderEndFinder finder;
  std::size_t found = std::string_view::npos;
  for (std::size_t received = 0; received < size && found == std::string_view::npos;) {
    received = std::min(received + chunk, size);
    found = finder.Find(answer.substr(0, received));
  }
  const std::size_t whole = gl::FindHeaderEnd(answer);
  if (found != whole || (whole != std::string_view::npos && whole > size)) std::abort();

  const gl::HeaderFacts facts = gl::AnalyseHeader(answer.substr(0, whole));
  if (facts.ContentLength && *facts.ContentLength < 1) std::abort();
  if (facts.BodyLength && (*facts.BodyLength < 0 || !facts.ContentLength)) std::abort();
  if (facts.ContentType) {
    static_cast<void>(gl::JudgeContentType(*facts.ContentType, data[0] & 1, data[0] & 2));
  }

  const std::optional<int> code = gl::FindStatusCode(answer);
  if (code && (*code < 0 || *code > 999)) std::abort();

  if (const std::optional<std::string_view> location = gl::FindLocation(answer)) {
    if (location->find('\n') != std::string_view::npos) std::abort();
    // A Location of another scheme is never followed.
    if (gl::KindOfAddress(*location) != gl::AddressKind::Web) return 0;
    const std::string next = gl::ResolveLocation("host:81/dir/page.htm?q=1#f", *location);
    std::string bare;
    std::string bareBase;
    static_cast<void>(gl::IsSameSite(next, "http://www.host/", bare, bareBase));
  }
  return 0;
}
