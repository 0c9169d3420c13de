#include "platform/percent_encode.h"

namespace gl {

std::string PercentEncode(std::string_view text, bool (*keep)(unsigned char byte)) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size());
  for (const char byte : text) {
    const auto value = static_cast<unsigned char>(byte);
    if (keep(value)) {
      encoded += byte;
    } else {
      encoded += '%';
      encoded += kHex[value >> 4];
      encoded += kHex[value & 0xF];
    }
  }
  return encoded;
}

bool IsUnreserved(unsigned char byte) {
  return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

}  // namespace gl
