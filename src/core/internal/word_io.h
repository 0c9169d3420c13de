#pragma once

#include <cstdint>
#include <istream>
#include <string>

// Little-endian 16-bit words, as brief files and catalogues store every number.

namespace gl {

inline void AppendWord(std::string& out, std::uint16_t word) {
  out.push_back(static_cast<char>(word & 0xFF));
  out.push_back(static_cast<char>(word >> 8));
}

// False when fewer than two bytes remain.
[[nodiscard]] inline bool ReadWord(std::istream& in, std::uint16_t& word) {
  char bytes[2];
  if (!in.read(bytes, 2)) return false;
  word = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) |
                                    static_cast<unsigned char>(bytes[1]) << 8);
  return true;
}

}  // namespace gl
