#pragma once

#include <string>
#include <string_view>

namespace gl {

// Base64 as in RFC 2045: the standard alphabet, "=" padding, no line breaks. Basic credentials
// are the encoding of user name + ":" + password.
std::string EncodeBase64(std::string_view bytes);

}  // namespace gl
