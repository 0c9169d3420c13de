#include "generate/internal/save_file_body.h"

#include <algorithm>

#include "net/answer.h"

namespace gl {
namespace {
// Free space is tested once for every 21 blocks of 1,000 bytes.
constexpr std::size_t kBytesBetweenChecks = 21 * 1000;
}  // namespace

std::string_view FetchedBody(const MemoryStream& stream) {
  std::string_view body = stream.View();
  const std::size_t start = FindHeaderEnd(body);
  body.remove_prefix(start == std::string_view::npos ? 0 : start);
  if (!body.empty() && body.back() == '\0') body.remove_suffix(1);
  return body;
}

void SaveFileBody(RunContext& run, const MemoryStream& stream, std::string_view name) {
  run.RecordFile(name);
  const std::string_view body = FetchedBody(stream);
  CheckedFile file(run.PathOf(name));
  for (std::size_t at = 0; at < body.size(); at += kBytesBetweenChecks) {
    run.CheckFreeSpace();
    file.Write(body.substr(at, std::min(kBytesBetweenChecks, body.size() - at)));
  }
  file.Close();
}

}  // namespace gl
