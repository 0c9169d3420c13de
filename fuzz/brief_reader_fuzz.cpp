// Feeds arbitrary bytes to the brief file reader. Besides not crashing or hanging, a brief that
// loads must survive the writer: after one save and load (which settles the shown names of
// entries without a typed name), saving and loading again gives the same bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/brief_format.h"

namespace {

constexpr std::size_t kMaxInput = 1 << 20;

// Writes and reads back a brief; ExtraStrings are stored last to first, so they are turned back.
gl::TBriefRecord SaveAndLoad(const gl::TBriefRecord& brief) {
  const std::string bytes = gl::BriefFileBytes(brief);
  std::istringstream in(bytes);
  gl::TBriefRecord loaded;
  if (gl::ReadBriefRecords(in, bytes.size(), loaded) != gl::BriefReadOutcome::Loaded)
    __builtin_trap();
  std::reverse(loaded.ExtraStrings.begin(), loaded.ExtraStrings.end());
  return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  gl::TBriefRecord brief;
  if (gl::ReadBriefRecords(in, size, brief) != gl::BriefReadOutcome::Loaded) return 0;
  const gl::TBriefRecord settled = SaveAndLoad(brief);
  if (gl::BriefFileBytes(SaveAndLoad(settled)) != gl::BriefFileBytes(settled)) __builtin_trap();
  return 0;
}
