#include "cli/terminal_text.h"

#include <vector>

#include "core/utf8_text.h"
#include "platform/percent_encode.h"

namespace gl::cli {
namespace {

constexpr std::string_view kEllipsis = "...";

bool IsControl(char32_t codePoint) {
  return (codePoint < 0x20 && codePoint != '\t') || (codePoint >= 0x7F && codePoint < 0xA0);
}

void AppendEscaped(std::string& shown, std::string_view bytes) {
  for (const char byte : bytes) {
    shown += "\\x";
    AppendHexDigits(shown, static_cast<unsigned char>(byte));
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
    const Utf8Char glyph = DecodeUtf8(shown, at);
    at += glyph.Length == 0 ? 1 : glyph.Length;
    glyphs.push_back({at, glyph.Length != 0 && glyph.CodePoint >= 0x1100 ? 2u : 1u});
  }
  return glyphs;
}

}  // namespace

std::string TerminalText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    Utf8Char character = DecodeUtf8(text, at);
    if (character.Length == 0) {
      // A byte of some other code page; in the 0x80 to 0x9F range an 8-bit terminal would take
      // it for a control.
      character = {1, static_cast<unsigned char>(text[at])};
    }
    const std::string_view bytes = text.substr(at, character.Length);
    if (IsControl(character.CodePoint)) {
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
