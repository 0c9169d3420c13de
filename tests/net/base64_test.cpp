#include "net/base64.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

TEST(EncodeBase64Test, MatchesTheStandardAlphabetAndPadding) {
  struct Row {
    std::string in;
    const char* out;
  };
  const Row rows[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {":", "Og=="},
      {"user:pass", "dXNlcjpwYXNz"},
      {"Aladdin:open sesame", "QWxhZGRpbjpvcGVuIHNlc2FtZQ=="},
      {std::string("\xff\xfe\x00\x3e\x3f", 5), "//4APj8="},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.in);
    EXPECT_EQ(EncodeBase64(row.in), row.out);
  }
}

TEST(EncodeBase64Test, LongInputHasNoLineBreaks) {
  const std::string encoded = EncodeBase64(std::string(3000, 'a'));
  EXPECT_EQ(encoded.size(), 4000u);
  EXPECT_EQ(encoded.find_first_not_of("YWFh"), std::string::npos);
}

}  // namespace
}  // namespace gl
