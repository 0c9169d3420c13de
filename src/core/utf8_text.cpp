#include "core/utf8_text.h"

#include <algorithm>

namespace gl {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The length of the well-formed sequence that starts at `at`, or 0 when there is none.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  const auto second = static_cast<unsigned char>(text[at + 1]);
  if (second < low || second > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) return 0;
  }
  return length;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::size_t CharacterCount(std::string_view text) {
  if (!IsUtf8(text)) return text.size();
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char byte) {
    return !IsContinuation(static_cast<unsigned char>(byte));
  }));
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  if (!IsUtf8(text)) return text.substr(0, count);
  std::size_t at = 0;
  for (; at < text.size() && count > 0; --count)
    at += SequenceLength(text, at);
  return text.substr(0, at);
}

}  // namespace gl
