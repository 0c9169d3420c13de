#pragma once

#include <cstddef>
#include <string_view>

// Brief texts are byte strings of no fixed encoding. These tell whether one is well-formed UTF-8
// (RFC 3629: shortest forms only, no surrogates, nothing above U+10FFFF), for the places that
// must show or export it as Unicode text.

namespace gl {

bool IsUtf8(std::string_view text);

// Characters as a user counts them: code points of well-formed UTF-8, else bytes.
std::size_t CharacterCount(std::string_view text);

// The first `count` characters of `text`, counted as CharacterCount counts them, so a cut never
// splits a UTF-8 sequence.
std::string_view FirstCharacters(std::string_view text, std::size_t count);

}  // namespace gl
