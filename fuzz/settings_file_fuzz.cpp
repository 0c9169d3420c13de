// Feeds arbitrary text to the settings file reader; whatever it reads must write and read back
// unchanged.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/settings_store.h"

namespace {
constexpr std::size_t kMaxInput = 1 << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const gl::SettingsTree keys =
      gl::ParseSettingsFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (gl::ParseSettingsFile(gl::SettingsFileText(keys)) != keys) __builtin_trap();
  return 0;
}
