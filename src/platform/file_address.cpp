#include "platform/file_address.h"

#include <cctype>

#include "platform/percent_encode.h"

namespace gl {
namespace {
constexpr std::string_view kFileScheme = "file://";

bool IsPathByte(unsigned char byte) {
  return byte == '/' || IsUnreserved(byte);
}

}  // namespace

bool IsFileAddress(std::string_view address) {
  if (address.size() < kFileScheme.size()) return false;
  for (size_t i = 0; i < kFileScheme.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(address[i])) != kFileScheme[i]) return false;
  }
  return true;
}

std::string FileAddressFromPath(const std::filesystem::path& path) {
  return std::string(kFileScheme) +
         PercentEncode(std::filesystem::absolute(path).string(), IsPathByte);
}

std::filesystem::path PathFromFileAddress(std::string_view address) {
  return std::filesystem::path(std::string(address.substr(kFileScheme.size())));
}

}  // namespace gl
