#include "core/utf8_text.h"

#include <algorithm>

namespace gl {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

Utf8Char DecodeUtf8(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {1, lead};
  std::size_t length = 0;
  char32_t codePoint = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return {};
  }
  if (text.size() - at < length) return {};
  const auto second = static_cast<unsigned char>(text[at + 1]);
  if (second < low || second > high) return {};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if (!IsContinuation(next)) return {};
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  return {length, codePoint};
}

bool IsUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = DecodeUtf8(text, at).Length;
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

std::string MaskedPassword(std::string_view password) {
  return std::string(CharacterCount(password), '*');
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  if (!IsUtf8(text)) return text.substr(0, count);
  std::size_t at = 0;
  for (; at < text.size() && count > 0; --count)
    at += DecodeUtf8(text, at).Length;
  return text.substr(0, at);
}

void AppendUtf8(std::string& text, char32_t codePoint) {
  if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) codePoint = 0xFFFD;
  const auto byte = [&text](char32_t value) { text += static_cast<char>(value); };
  if (codePoint < 0x80) {
    byte(codePoint);
  } else if (codePoint < 0x800) {
    byte(0xC0 | (codePoint >> 6));
    byte(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    byte(0xE0 | (codePoint >> 12));
    byte(0x80 | ((codePoint >> 6) & 0x3F));
    byte(0x80 | (codePoint & 0x3F));
  } else {
    byte(0xF0 | (codePoint >> 18));
    byte(0x80 | ((codePoint >> 12) & 0x3F));
    byte(0x80 | ((codePoint >> 6) & 0x3F));
    byte(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace gl
