#include "cli/terminal_text.h"

#include <vector>

namespace gl::cli {
namespace {

constexpr std::string_view kEllipsis = "...";

// One character of a cleaned text: where its bytes are and how many columns it takes.
struct Glyph {
  std::size_t Start;
  std::size_t Length;
  std::size_t Columns;
};

// The length of the UTF-8 sequence at `at` and its code point; 0 when the bytes there are not
// a valid, shortest-form sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < minimum || codePoint > 0x10FFFF || surrogate) return 0;
  return length;
}

bool IsControl(char32_t codePoint) {
  return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

// The text from its first non-blank character up to its first tab or line end, with every
// control character and every byte that is not UTF-8 replaced by "?".
std::string CleanLine(std::string_view text, std::vector<Glyph>& glyphs) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  text.remove_prefix(first);
  text = text.substr(0, text.find_first_of("\t\r\n"));

  std::string clean;
  clean.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    char32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(text, at, codePoint);
    const std::size_t start = clean.size();
    if (length == 0 || IsControl(codePoint)) {
      clean += '?';
      glyphs.push_back({start, 1, 1});
      at += length == 0 ? 1 : length;
      continue;
    }
    clean.append(text.substr(at, length));
    glyphs.push_back({start, length, codePoint >= 0x1100 ? 2u : 1u});
    at += length;
  }
  return clean;
}

}  // namespace

std::string FitText(std::string_view text, std::size_t columns) {
  std::vector<Glyph> glyphs;
  std::string clean = CleanLine(text, glyphs);
  std::size_t width = 0;
  for (const Glyph& glyph : glyphs)
    width += glyph.Columns;
  if (width <= columns) return clean;
  if (columns <= kEllipsis.size()) return std::string(kEllipsis.substr(0, columns));

  // Keep whole characters while they and the ellipsis fit.
  const std::size_t room = columns - kEllipsis.size();
  std::size_t used = 0;
  std::size_t keep = 0;
  for (const Glyph& glyph : glyphs) {
    if (used + glyph.Columns > room) break;
    used += glyph.Columns;
    keep = glyph.Start + glyph.Length;
  }
  clean.resize(keep);
  clean += kEllipsis;
  return clean;
}

}  // namespace gl::cli
