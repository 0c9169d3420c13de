#include "generate/internal/srcset.h"

#include "core/byte_text.h"

namespace gl {
namespace {

bool IsSrcsetBlank(char byte) {
  return IsBlankOrLineEnd(byte) || byte == '\f';
}

// From the end of a candidate's address past its descriptors and the comma that ends them.
std::size_t SkipDescriptors(std::string_view value, std::size_t at) {
  bool inParentheses = false;
  for (; at < value.size(); ++at) {
    const char byte = value[at];
    if (byte == '(') inParentheses = true;
    if (byte == ')') inParentheses = false;
    if (byte == ',' && !inParentheses) return at + 1;
  }
  return at;
}

}  // namespace

std::vector<SrcsetCandidate> SrcsetCandidates(std::string_view value) {
  std::vector<SrcsetCandidate> candidates;
  std::size_t at = 0;
  while (at < value.size()) {
    while (at < value.size() && (IsSrcsetBlank(value[at]) || value[at] == ','))
      ++at;
    if (at >= value.size()) break;
    const std::size_t from = at;
    while (at < value.size() && !IsSrcsetBlank(value[at]))
      ++at;
    std::size_t to = at;
    const bool endsInComma = value[to - 1] == ',';
    while (to > from && value[to - 1] == ',')
      --to;
    if (to > from) candidates.push_back({from, to});
    if (!endsInComma) at = SkipDescriptors(value, at);
  }
  return candidates;
}

}  // namespace gl
