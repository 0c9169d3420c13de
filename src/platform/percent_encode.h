#pragma once

#include <string>
#include <string_view>

// Bytes written as hex digits: percent-encoding for addresses and stored texts, and the digits
// that other escapes ("\x1B" on a terminal, hex in JSON) are made of.

namespace gl {

// Appends the two hex digits of `byte`, upper case unless `lowerCase`.
void AppendHexDigits(std::string& text, unsigned char byte, bool lowerCase = false);

// `text` with every byte for which `keep` is false written as "%" and two upper-case hex digits
// (RFC 3986, section 2.1). Example: PercentEncode("a b", IsUnreserved) == "a%20b".
std::string PercentEncode(std::string_view text, bool (*keep)(unsigned char byte));

// The bytes an address never needs to encode: letters, digits, "-", ".", "_" and "~".
bool IsUnreserved(unsigned char byte);

}  // namespace gl
