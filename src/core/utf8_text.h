#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Brief texts are byte strings of no fixed encoding. These tell whether one is well-formed UTF-8
// (RFC 3629: shortest forms only, no surrogates, nothing above U+10FFFF), for the places that
// must show or export it as Unicode text.

namespace gl {

// The character at `at` (which must lie inside `text`): the length of the well-formed sequence
// there and its code point; Length 0 when the bytes there are not one.
struct Utf8Char {
  std::size_t Length = 0;
  char32_t CodePoint = 0;
};
Utf8Char DecodeUtf8(std::string_view text, std::size_t at);

bool IsUtf8(std::string_view text);

// Characters as a user counts them: code points of well-formed UTF-8, else bytes.
std::size_t CharacterCount(std::string_view text);

// One "*" per character of a password, to show that one is set without showing it.
std::string MaskedPassword(std::string_view password);

// The first `count` characters of `text`, counted as CharacterCount counts them, so a cut never
// splits a UTF-8 sequence.
std::string_view FirstCharacters(std::string_view text, std::size_t count);

// Appends the UTF-8 form of a code point; one that Unicode does not allow (a surrogate, above
// U+10FFFF) becomes U+FFFD, the replacement character.
void AppendUtf8(std::string& text, char32_t codePoint);

}  // namespace gl
