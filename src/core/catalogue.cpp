#include <algorithm>
#include <istream>
#include <limits>

#include "core/brief_format.h"
#include "core/internal/word_io.h"

namespace gl {

void OutputString(std::string& out, std::string_view text) {
  text = text.substr(0, std::min(text.size(), kMaxStoredText));
  AppendWord(out, static_cast<std::uint16_t>(text.size()));
  out.append(text);
}

bool InputString(std::istream& in, std::string& text) {
  std::uint16_t word = 0;
  if (!ReadWord(in, word)) return false;
  const auto length = static_cast<std::int16_t>(word);
  if (length < 0) return false;
  text.resize(static_cast<std::size_t>(length));
  return length == 0 || static_cast<bool>(in.read(text.data(), length));
}

std::string CatalogueBytes(const TBriefRecord& brief) {
  const std::size_t count =
      std::min<std::size_t>(brief.ArchivePaths.size(), std::numeric_limits<std::uint16_t>::max());
  std::string out;
  AppendWord(out, static_cast<std::uint16_t>(count));
  for (std::size_t i = 0; i < count; ++i) {
    OutputString(out, brief.ArchivePaths[i]);
    OutputString(out, i < brief.ArchiveStamps.size() ? brief.ArchiveStamps[i] : std::string());
  }
  return out;
}

void ReadCatalogue(std::istream& in, TBriefRecord& brief) {
  std::uint16_t count = 0;
  if (!ReadWord(in, count)) return;
  std::string path, stamp;
  for (std::uint16_t i = 0; i < count; ++i) {
    if (!InputString(in, path) || !InputString(in, stamp)) return;
    if (path.empty()) continue;
    brief.ArchivePaths.push_back(path);
    brief.ArchiveStamps.push_back(stamp);
  }
}

}  // namespace gl
