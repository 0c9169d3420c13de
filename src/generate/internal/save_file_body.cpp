#include "generate/internal/save_file_body.h"

#include <algorithm>

#include "net/answer.h"

namespace gl {
namespace {
// Free space is tested once for every 21 blocks of 1,000 bytes.
constexpr std::size_t kBytesBetweenChecks = 21 * 1000;
}  // namespace

void SaveFileBody(RunContext& run, const MemoryStream& stream, std::string_view name) {
  run.RecordFile(name);
  const std::string_view bytes = stream.View();
  std::size_t start = FindHeaderEnd(bytes);
  if (start == std::string_view::npos) start = 0;
  std::size_t end = bytes.size();
  if (end > start && bytes[end - 1] == '\0') --end;

  CheckedFile file(run.PathOf(name));
  for (std::size_t at = start; at < end; at += kBytesBetweenChecks) {
    run.CheckFreeSpace();
    file.Write(bytes.substr(at, std::min(kBytesBetweenChecks, end - at)));
  }
  file.Close();
}

}  // namespace gl
