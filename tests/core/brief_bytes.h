#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Builders for brief file and catalogue bytes, written from the format's tables so the tests do
// not depend on the writer they check.

namespace gl::test {

inline std::string Word(std::uint16_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

// Header: magic, major, minor, flag count, then the flag words.
inline std::string Header(std::uint16_t major = 1, std::uint16_t minor = 0,
                          std::initializer_list<std::uint16_t> flags = {1, 1}) {
  std::string bytes = "GLBF-ORX" + Word(major) + Word(minor);
  bytes += Word(static_cast<std::uint16_t>(flags.size()));
  for (std::uint16_t flag : flags)
    bytes += Word(flag);
  return bytes;
}

inline std::string TextRecord(std::uint16_t tag, std::string_view text) {
  return Word(tag) + Word(static_cast<std::uint16_t>(text.size())) + std::string(text);
}

inline std::string NumberRecord(std::uint16_t tag, std::uint16_t value) {
  return Word(tag) + Word(2) + Word(value);
}

inline std::string CatalogueText(std::string_view text) {
  return Word(static_cast<std::uint16_t>(text.size())) + std::string(text);
}

}  // namespace gl::test
