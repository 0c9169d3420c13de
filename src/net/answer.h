#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reading an HTTP answer as it arrives (RFC 1945): where its header block ends, what the header
// says about length and type, its status code and its Location.

namespace gl {

// The offset just past the header block: after the first CR LF CR LF or the first LF LF,
// whichever comes first. The search starts at `from`, so a caller that appends chunks can go on
// where it stopped (three bytes before the old end). npos while the block has not ended.
std::size_t FindHeaderEnd(std::string_view answer, std::size_t from = 0);

// FindHeaderEnd for an answer that grows chunk by chunk: each call searches only what arrived
// since the last one (plus the three bytes before, where a marker may have begun).
class HeaderEndFinder {
 public:
  // `answer` is everything received so far. npos while the header block has not ended.
  std::size_t Find(std::string_view answer);

 private:
  std::size_t searchedUpTo_ = 0;
};

// The value of the header field `lowerName` ("location"), from the header lines after the first
// line of `headerBlock`: its first occurrence, without the blanks around it and without the line
// end. Empty when the field is absent.
std::optional<std::string_view> FindHeaderField(std::string_view headerBlock,
                                                std::string_view lowerName);

// What the transfer reads from a header block.
struct HeaderFacts {
  std::optional<std::int64_t> ContentLength;  // at least 1; a value that is no number gives 1
  std::optional<std::int64_t> BodyLength;     // the declared length when it is a number
  std::optional<std::string> ContentType;     // lower case, up to the first blank or ";"
};

HeaderFacts AnalyseHeader(std::string_view headerBlock);

enum class ContentDecision { Text, NonText, Reject };

// Text is always taken. Multipart streams never are. Images are taken when images or other
// files are wanted; anything else only when other files are.
ContentDecision JudgeContentType(std::string_view lowerType, bool acceptImages,
                                 bool acceptOtherFiles);

// The status code of an answer: the three bytes after the first "HTTP/" (any case), its version
// and the blanks after it; 404 when they are not three digits. Empty when "HTTP/" never occurs.
std::optional<int> FindStatusCode(std::string_view answer);

// The Location of a redirect answer. Empty when the header block has no Location field; the
// value (possibly empty) otherwise.
std::optional<std::string_view> FindLocation(std::string_view answer);

}  // namespace gl
