#include "net/answer.h"

#include <algorithm>
#include <limits>

#include "core/byte_text.h"

namespace gl {
namespace {

bool IsBlank(char byte) {
  return byte == ' ' || byte == '\t';
}

bool IsDigit(char byte) {
  return byte >= '0' && byte <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

// The leading token of a field value: up to the first blank or ";".
std::string_view FirstToken(std::string_view value) {
  return value.substr(0, value.find_first_of(" \t;"));
}

// Decimal digits saturate instead of overflowing; anything else is no number.
std::optional<std::int64_t> ParseDecimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  for (char byte : text) {
    if (!IsDigit(byte)) return std::nullopt;
    const int digit = byte - '0';
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return value;
}

}  // namespace

std::size_t FindHeaderEnd(std::string_view answer, std::size_t from) {
  // An LF LF is only of interest before the first CR LF CR LF, so the second search stops there:
  // a large page is not searched twice to its end.
  const std::size_t crlf = answer.find("\r\n\r\n", from);
  const std::size_t lflf = answer.substr(0, crlf).find("\n\n", from);
  if (lflf != std::string_view::npos) return lflf + 2;
  return crlf == std::string_view::npos ? crlf : crlf + 4;
}

std::size_t HeaderEndFinder::Find(std::string_view answer) {
  const std::size_t end = FindHeaderEnd(answer, searchedUpTo_);
  if (end == std::string_view::npos) searchedUpTo_ = answer.size() >= 3 ? answer.size() - 3 : 0;
  return end;
}

std::optional<std::string_view> FindHeaderField(std::string_view headerBlock,
                                                std::string_view lowerName) {
  std::size_t lineStart = headerBlock.find('\n');
  while (lineStart != std::string_view::npos) {
    ++lineStart;
    const std::size_t lineEnd = std::min(headerBlock.find('\n', lineStart), headerBlock.size());
    std::string_view line = headerBlock.substr(lineStart, lineEnd - lineStart);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (StartsWithNoCase(line, lowerName)) {
      const std::string_view rest = TrimBlanks(line.substr(lowerName.size()));
      if (rest.starts_with(':')) return TrimBlanks(rest.substr(1));
    }
    lineStart = lineEnd < headerBlock.size() ? lineEnd : std::string_view::npos;
  }
  return std::nullopt;
}

HeaderFacts AnalyseHeader(std::string_view headerBlock) {
  HeaderFacts facts;
  if (const auto length = FindHeaderField(headerBlock, "content-length")) {
    facts.BodyLength = ParseDecimal(FirstToken(*length));
    facts.ContentLength = std::max<std::int64_t>(facts.BodyLength.value_or(1), 1);
  }
  if (const auto type = FindHeaderField(headerBlock, "content-type")) {
    facts.ContentType = LowerAscii(FirstToken(*type));
  }
  return facts;
}

ContentDecision JudgeContentType(std::string_view lowerType, bool acceptImages,
                                 bool acceptOtherFiles) {
  if (lowerType.starts_with("text")) return ContentDecision::Text;
  if (lowerType.starts_with("multipart")) return ContentDecision::Reject;
  if (lowerType.starts_with("image")) {
    return acceptImages || acceptOtherFiles ? ContentDecision::NonText : ContentDecision::Reject;
  }
  return acceptOtherFiles ? ContentDecision::NonText : ContentDecision::Reject;
}

std::optional<int> FindStatusCode(std::string_view answer) {
  std::size_t at = FindNoCase(answer, "http/");
  if (at == std::string_view::npos) return std::nullopt;
  at += 5;
  while (at < answer.size() && !IsBlankOrLineEnd(answer[at]))
    ++at;
  while (at < answer.size() && IsBlankOrLineEnd(answer[at]))
    ++at;
  const std::string_view code = answer.substr(at, 3);
  if (code.size() < 3 || !std::all_of(code.begin(), code.end(), IsDigit)) return 404;
  return (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
}

std::optional<std::string_view> FindLocation(std::string_view answer) {
  const std::size_t headerEnd = FindHeaderEnd(answer);
  return FindHeaderField(answer.substr(0, headerEnd), "location");
}

}  // namespace gl
