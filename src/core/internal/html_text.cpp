#include "core/internal/html_text.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/byte_text.h"
#include "core/utf8_text.h"

namespace gl {
namespace {

// Longer than any reference decoded here ("&#x10FFFF;" has ten bytes), so that a stray "&"
// never makes the decoder look far ahead for a ";".
constexpr std::size_t kLongestReference = 12;

constexpr std::array<std::pair<std::string_view, char32_t>, 6> kNamedReferences = {{
    {"amp", U'&'},
    {"lt", U'<'},
    {"gt", U'>'},
    {"quot", U'"'},
    {"apos", U'\''},
    {"nbsp", U'\u00A0'},
}};

bool IsHexDigit(char byte) {
  return (byte >= '0' && byte <= '9') || (LowerAscii(byte) >= 'a' && LowerAscii(byte) <= 'f');
}

// The code point of a numeric reference's body ("233", "xE9"); none when it is not one.
std::optional<char32_t> NumericReference(std::string_view body) {
  const bool hex = !body.empty() && LowerAscii(body.front()) == 'x';
  if (hex) body.remove_prefix(1);
  if (body.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char digit : body) {
    if (hex ? !IsHexDigit(digit) : (digit < '0' || digit > '9')) return std::nullopt;
    const int number = digit <= '9' ? digit - '0' : LowerAscii(digit) - 'a' + 10;
    value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(number);
  }
  // U+0000 is no character: it shows as the replacement character, as in a browser.
  if (value == 0 || value > 0x10FFFF) return U'\uFFFD';
  return static_cast<char32_t>(value);
}

// The character that the reference at the start of `text` (its "&") stands for, and its length;
// none when `text` does not start with a reference decoded here.
std::optional<std::pair<char32_t, std::size_t>> ReferenceAt(std::string_view text) {
  const std::size_t semicolon = text.substr(0, kLongestReference).find(';');
  if (semicolon == std::string_view::npos) return std::nullopt;
  const std::string_view body = text.substr(1, semicolon - 1);
  if (!body.empty() && body.front() == '#') {
    const std::optional<char32_t> codePoint = NumericReference(body.substr(1));
    if (!codePoint) return std::nullopt;
    return std::pair{*codePoint, semicolon + 1};
  }
  for (const auto& [name, codePoint] : kNamedReferences) {
    if (body == name) return std::pair{codePoint, semicolon + 1};
  }
  return std::nullopt;
}

}  // namespace

std::string DecodeCharacterReferences(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t ampersand = text.find('&', at);
    decoded.append(text.substr(at, ampersand - at));
    if (ampersand == std::string_view::npos) break;
    const auto reference = ReferenceAt(text.substr(ampersand));
    if (reference) {
      AppendUtf8(decoded, reference->first);
      at = ampersand + reference->second;
    } else {
      decoded += '&';
      at = ampersand + 1;
    }
  }
  return decoded;
}

std::string PlainTextOf(std::string_view html) {
  std::string collapsed;
  collapsed.reserve(html.size());
  bool blankPending = false;
  for (const char byte : html) {
    if (IsBlankOrLineEnd(byte)) {
      blankPending = !collapsed.empty();
      continue;
    }
    if (blankPending) collapsed += ' ';
    blankPending = false;
    collapsed += byte;
  }
  return DecodeCharacterReferences(collapsed);
}

}  // namespace gl
