#include "generate/internal/archive_names.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "core/byte_text.h"
#include "generate/internal/texts.h"

namespace gl {
namespace {

constexpr std::int32_t kLastSummaryNumber = 999;
constexpr std::int32_t kPageNumberLimit = 999999;
constexpr std::int32_t kPageNumberStep = 100;
// "GL" + six digits + "." leave room for this much extension in a 255-byte catalogue record.
constexpr std::size_t kLongestExtension = 240;

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

}  // namespace

RunFolderNames::RunFolderNames(std::filesystem::path directory)
    : directory_(std::move(directory)) {}

std::string RunFolderNames::Summary(std::int32_t& counter) {
  return Allocate("Brief", texts::kPageSuffix, kLastSummaryNumber, 1, counter);
}

std::string RunFolderNames::Page(std::string_view extension, std::int32_t& counter) {
  return Allocate("GL", NormalisePageExtension(extension), kPageNumberLimit - 1, kPageNumberStep,
                  counter);
}

std::string RunFolderNames::Image(std::string_view extension, std::int32_t& counter) {
  return Allocate("GL", NormaliseImageExtension(extension), kPageNumberLimit - 1, kPageNumberStep,
                  counter);
}

std::string RunFolderNames::Allocate(std::string_view prefix, std::string_view extension,
                                     std::int32_t last, std::int32_t step, std::int32_t& counter) {
  std::string kind(prefix);
  kind += '.';
  kind += extension;
  std::vector<bool>& given = given_[kind];
  std::string name;
  for (std::int32_t n = std::max(counter, 0); n <= last; n += step) {
    const auto number = static_cast<std::size_t>(n);
    if (number < given.size() && given[number]) continue;
    name.assign(prefix);
    name += std::to_string(n);
    name += '.';
    name += extension;
    if (OnDisk(name)) continue;
    if (number >= given.size()) given.resize(number + 1);
    given[number] = true;
    counter = n + 1;
    return name;
  }
  return std::string(texts::kNoName);
}

bool RunFolderNames::OnDisk(const std::string& name) {
  if (!onDisk_) {
    onDisk_.emplace();
    // A folder that cannot be read lists nothing: creating a file in it fails and says why.
    std::error_code error;
    for (std::filesystem::directory_iterator entry(directory_, error), end; !error && entry != end;
         entry.increment(error)) {
      onDisk_->insert(entry->path().filename().string());
    }
  }
  // A run folder is new and empty: nothing to hash.
  return !onDisk_->empty() && onDisk_->contains(name);
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

std::string CatalogueNameFor(std::string_view summaryName) {
  std::string name(
      summaryName.substr(0, summaryName.size() - std::min<std::size_t>(3, summaryName.size())));
  return name + "cat";
}

}  // namespace gl
