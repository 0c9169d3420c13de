// Feeds arbitrary bytes to the catalogue reader. The archive lists it fills must stay index for
// index, and what it read must write and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/brief_format.h"

namespace {
constexpr std::size_t kMaxInput = 1 << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  gl::TBriefRecord brief;
  gl::ReadCatalogue(in, brief);
  if (brief.ArchivePaths.size() != brief.ArchiveStamps.size()) __builtin_trap();

  std::istringstream again(gl::CatalogueBytes(brief));
  gl::TBriefRecord reread;
  gl::ReadCatalogue(again, reread);
  if (reread.ArchivePaths != brief.ArchivePaths || reread.ArchiveStamps != brief.ArchiveStamps)
    __builtin_trap();
  return 0;
}
