#include "core/byte_text.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

// '@' '[' '`' '{' sit next to the letters; only A-Z may fold.
TEST(ByteTextTest, OnlyAsciiLettersMatchInEitherCase) {
  EXPECT_EQ(LowerAscii("Content-TYPE: Text/HTML \xC4@[`{"), "content-type: text/html \xC4@[`{");
  EXPECT_TRUE(StartsWithNoCase("HTTP/1.0 200", "http/"));
  EXPECT_FALSE(StartsWithNoCase("htt", "http"));
  EXPECT_FALSE(StartsWithNoCase("[ttp", "{ttp"));

  const std::string_view text = "Location: a\r\nLOCATION: b";
  EXPECT_EQ(FindNoCase(text, "location"), 0u);
  EXPECT_EQ(FindNoCase(text, "location", 1), 13u);
  EXPECT_EQ(FindNoCase(text, "missing"), std::string_view::npos);
  EXPECT_EQ(FindNoCase(text, "location", 99), std::string_view::npos);
  EXPECT_EQ(FindNoCase(text, "", 3), 3u);
}

}  // namespace
}  // namespace gl
