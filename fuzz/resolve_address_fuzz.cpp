// Address handling on arbitrary text: the first line is a page address, the rest a link value.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/byte_text.h"
#include "generate/internal/download.h"
#include "generate/internal/entry_address.h"
#include "net/address_forms.h"
#include "platform/file_address.h"

namespace {
constexpr std::size_t kLargestInput = 64 * 1024;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kLargestInput) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t line = input.find('\n');
  const std::string_view base = input.substr(0, line);
  const std::string_view value = line == std::string_view::npos ? "" : input.substr(line + 1);

  const std::string address = gl::ResolveAddress(base, value);
  // A resolved address always has a path, and a web link never leads to the local disk.
  if (address.find_first_of("/\\") == std::string::npos) std::abort();
  if (!gl::SchemeOfLink(value, true).Other && !gl::IsFileAddress(base) &&
      gl::IsFileAddress(address))
    std::abort();
  if (!gl::IsFileAddress(base) && gl::IsFileAddress(gl::FetchedPageAddress(base, value)))
    std::abort();
  const std::string collapsed = gl::CollapseDots(std::string(input));
  if (gl::CollapseDots(collapsed) != collapsed) std::abort();

  (void)gl::SchemeOfLink(value, false);
  (void)gl::CutFragment(address);
  (void)gl::DownloadSuffix(address);
  (void)gl::TopFileExtension(input);
  // An entry and a single fetch decide alike what is fetched, with secure pages off and on.
  const gl::AddressKind kind = gl::KindOfAddress(input);
  const bool other = kind == gl::AddressKind::Mail || kind == gl::AddressKind::Other;
  const bool secure = kind == gl::AddressKind::Secure;
  if (!gl::StartsWithNoCase(input, "file:") &&
      (gl::WorkOutEntryAddress(input, false).Fetchable == (other || secure) ||
       gl::WorkOutEntryAddress(input, true).Fetchable == other))
    std::abort();
  return 0;
}
