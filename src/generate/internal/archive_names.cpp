#include "generate/internal/archive_names.h"

#include <algorithm>
#include <system_error>

#include "core/byte_text.h"
#include "generate/internal/texts.h"

namespace gl {
namespace {

constexpr std::int32_t kLastSummaryNumber = 999;
constexpr std::int32_t kPageNumberLimit = 999999;
constexpr std::int32_t kPageNumberStep = 100;
// "GL" + six digits + "." leave room for this much extension in a 255-byte catalogue record.
constexpr std::size_t kLongestExtension = 240;

bool IsTaken(const std::filesystem::path& path) {
  std::error_code error;
  // A dangling link counts as taken too: a run never writes through a link.
  return std::filesystem::symlink_status(path, error).type() !=
         std::filesystem::file_type::not_found;
}

bool IsAsciiAlphanumeric(char byte) {
  return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= '0' && byte <= '9');
}

std::string ReplaceOddBytes(std::string_view extension) {
  std::string result(extension);
  for (char& byte : result) {
    if (!IsAsciiAlphanumeric(byte)) byte = 'w';
  }
  return result;
}

std::string AllocateNumbered(const std::filesystem::path& directory, const std::string& extension,
                             std::int32_t& counter) {
  for (std::int32_t n = std::max(counter, 0); n < kPageNumberLimit; n += kPageNumberStep) {
    std::string name = "GL" + std::to_string(n) + "." + extension;
    if (!IsTaken(directory / name)) {
      counter = n + 1;
      return name;
    }
  }
  return std::string(texts::kNoName);
}

}  // namespace

std::string AllocateSummaryName(const std::filesystem::path& directory, std::int32_t& counter) {
  for (std::int32_t n = std::max(counter, 0); n <= kLastSummaryNumber; ++n) {
    std::string name = "Brief" + std::to_string(n) + ".htm";
    if (!IsTaken(directory / name)) {
      counter = n + 1;
      return name;
    }
  }
  return std::string(texts::kNoName);
}

std::string NormalisePageExtension(std::string_view extension) {
  if (extension.empty()) return std::string(texts::kPageSuffix);
  std::string result = LowerAscii(ReplaceOddBytes(extension));
  if (result == "jpeg") result = "jpg";
  if (result == "cgi") result = texts::kPageSuffix;
  if (result == "mpeg") result = "mpg";
  if (result.size() > 3) result.resize(3);
  return result;
}

std::string NormaliseImageExtension(std::string_view extension) {
  if (extension.empty()) return std::string(texts::kPageSuffix);
  std::string result = ReplaceOddBytes(extension.substr(0, kLongestExtension));
  if (result == "cgi") result = "gif";
  return result;
}

std::string AllocatePageName(const std::filesystem::path& directory, std::string_view extension,
                             std::int32_t& counter) {
  return AllocateNumbered(directory, NormalisePageExtension(extension), counter);
}

std::string AllocateImageName(const std::filesystem::path& directory, std::string_view extension,
                              std::int32_t& counter) {
  return AllocateNumbered(directory, NormaliseImageExtension(extension), counter);
}

std::string CatalogueNameFor(std::string_view summaryName) {
  std::string name(
      summaryName.substr(0, summaryName.size() - std::min<std::size_t>(3, summaryName.size())));
  return name + "cat";
}

}  // namespace gl
