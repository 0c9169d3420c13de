#include "net/internal/request.h"

#include <gtest/gtest.h>

#include "net/internal/base64.h"

namespace gl {
namespace {

// The request texts themselves are pinned over loopback by the fetch tests.
TEST(RequestTextTest, BlanksAndControlBytesCannotAddHeaderLines) {
  EXPECT_EQ(PlainRequestText("host\r\nX: 1/a b\r\nX-Evil: 1\t\x7f.htm", Proxy{}),
            "GET /a%20b%0D%0AX-Evil:%201%09%7F.htm HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\n"
            "Host: host%0D%0AX:%201\r\nAccept: */*; q=1\r\n\r\n");
  EXPECT_EQ(AuthRequestText("host/\xc3\xa9\n", "u", "p", Proxy{"proxy.example", 3128}),
            "GET http://host/\xc3\xa9%0A HTTP/1.0\r\nAccept: */*; q=1\r\n"
            "User-Agent: Gleaner-Light 1.0\r\nHost: host\r\nAuthorization: Basic dTpw\r\n\r\n");
}

// Padding after whole groups, bytes above 0x7F, and no line breaks in a long text.
TEST(EncodeBase64Test, MatchesTheStandardAlphabetAndPadding) {
  const std::pair<std::string, std::string> rows[] = {
      {"", ""},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {std::string("\xff\xfe\x00\x3e\x3f", 5), "//4APj8="},
      {std::string(300, '\xff'), std::string(400, '/')},
  };
  for (const auto& [in, out] : rows) {
    SCOPED_TRACE(in.substr(0, 8));
    EXPECT_EQ(EncodeBase64(in), out);
  }
}

}  // namespace
}  // namespace gl
