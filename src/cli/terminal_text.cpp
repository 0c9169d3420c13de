#include "cli/terminal_text.h"

#include <vector>

namespace gl::cli {
namespace {

constexpr std::string_view kEllipsis = "...";

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
  return (codePoint < 0x20 && codePoint != '\t') || (codePoint >= 0x7F && codePoint < 0xA0);
}

void AppendEscaped(std::string& shown, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    shown += "\\x";
    shown += kHex[value >> 4];
    shown += kHex[value & 0xF];
  }
}

// One character of a shown text: where its bytes end and how many columns it takes. A byte that
// is not UTF-8 takes one column (the terminal shows a replacement mark).
struct Glyph {
  std::size_t End;
  std::size_t Columns;
};

std::vector<Glyph> Glyphs(std::string_view shown) {
  std::vector<Glyph> glyphs;
  glyphs.reserve(shown.size());
  for (std::size_t at = 0; at < shown.size();) {
    char32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(shown, at, codePoint);
    at += length == 0 ? 1 : length;
    glyphs.push_back({at, length != 0 && codePoint >= 0x1100 ? 2u : 1u});
  }
  return glyphs;
}

}  // namespace

std::string TerminalText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    char32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(text, at, codePoint);
    if (length == 0) {
      // A byte of some other code page; in the 0x80 to 0x9F range an 8-bit terminal would take
      // it for a control.
      codePoint = static_cast<unsigned char>(text[at]);
    }
    const std::string_view bytes = text.substr(at, length == 0 ? 1 : length);
    if (IsControl(codePoint)) {
      AppendEscaped(shown, bytes);
    } else {
      shown += bytes;
    }
    at += bytes.size();
  }
  return shown;
}

std::string FitText(std::string_view text, std::size_t columns) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  text.remove_prefix(first);
  std::string shown = TerminalText(text.substr(0, text.find_first_of("\t\r\n")));

  const std::vector<Glyph> glyphs = Glyphs(shown);
  std::size_t width = 0;
  for (const Glyph& glyph : glyphs)
    width += glyph.Columns;
  if (width <= columns) return shown;
  if (columns <= kEllipsis.size()) return std::string(kEllipsis.substr(0, columns));

  // Keep whole characters while they and the ellipsis fit.
  const std::size_t room = columns - kEllipsis.size();
  std::size_t used = 0;
  std::size_t keep = 0;
  for (const Glyph& glyph : glyphs) {
    if (used + glyph.Columns > room) break;
    used += glyph.Columns;
    keep = glyph.End;
  }
  shown.resize(keep);
  shown += kEllipsis;
  return shown;
}

}  // namespace gl::cli
