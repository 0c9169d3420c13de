// Feeds arbitrary text to the readers of the remembered windows and recent briefs; whatever they
// read must write and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/startup_layout.h"

namespace {
constexpr std::size_t kMaxInput = 1 << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string layout = gl::OpenBriefsText(gl::ParseOpenBriefs(text));
  if (gl::OpenBriefsText(gl::ParseOpenBriefs(layout)) != layout) __builtin_trap();

  gl::RecentBriefs recent;
  for (const std::string& name : gl::ParsePreviousBriefs(text))
    recent.AddOlder(name);
  const std::vector<std::string> names = gl::ParsePreviousBriefs(gl::PreviousBriefsText(recent));
  if (names != recent.Names()) __builtin_trap();
  return 0;
}
