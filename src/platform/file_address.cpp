#include "platform/file_address.h"

#include <cctype>

namespace gl {
namespace {
constexpr std::string_view kFileScheme = "file://";
}

bool IsFileAddress(std::string_view address) {
  if (address.size() < kFileScheme.size()) return false;
  for (size_t i = 0; i < kFileScheme.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(address[i])) != kFileScheme[i]) return false;
  }
  return true;
}

std::string FileAddressFromPath(const std::filesystem::path& path) {
  return std::string(kFileScheme) + std::filesystem::absolute(path).string();
}

std::filesystem::path PathFromFileAddress(std::string_view address) {
  return std::filesystem::path(std::string(address.substr(kFileScheme.size())));
}

}  // namespace gl
