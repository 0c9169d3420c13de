#include "platform/percent_encode.h"

namespace gl {

void AppendHexDigits(std::string& text, unsigned char byte, bool lowerCase) {
  static constexpr char kUpper[] = "0123456789ABCDEF";
  static constexpr char kLower[] = "0123456789abcdef";
  const char* digits = lowerCase ? kLower : kUpper;
  text += digits[byte >> 4];
  text += digits[byte & 0xF];
}

std::string PercentEncode(std::string_view text, bool (*keep)(unsigned char byte)) {
  std::string encoded;
  encoded.reserve(text.size());
  for (const char byte : text) {
    const auto value = static_cast<unsigned char>(byte);
    if (keep(value)) {
      encoded += byte;
    } else {
      encoded += '%';
      AppendHexDigits(encoded, value);
    }
  }
  return encoded;
}

bool IsUnreserved(unsigned char byte) {
  return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

}  // namespace gl
