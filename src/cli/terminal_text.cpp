#include "cli/terminal_text.h"

namespace gl::cli {

std::string TerminalText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  shown.reserve(text.size());
  for (const char byte : text) {
    const auto value = static_cast<unsigned char>(byte);
    if ((value < 0x20 && byte != '\t') || value == 0x7F) {
      shown += "\\x";
      shown += kHex[value >> 4];
      shown += kHex[value & 0xF];
    } else {
      shown += byte;
    }
  }
  return shown;
}

}  // namespace gl::cli
