#include "core/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace gl {
namespace {

TEST(Utf8TextTest, WellFormedSequences) {
  const struct {
    const char* what;
    std::string text;
    bool valid;
  } cases[] = {
      {"ascii with controls", std::string("a\0\x7F", 3), true},
      {"two bytes", "caf\xC3\xA9", true},
      {"three bytes", "\xE2\x82\xAC", true},
      {"four bytes, highest", "\xF4\x8F\xBF\xBF", true},
      {"lone continuation", "\x80", false},
      {"latin-1 e acute, cut short", "caf\xE9", false},
      {"overlong two bytes", "\xC0\xAF", false},
      {"overlong three bytes", "\xE0\x80\xAF", false},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"lead byte F5", "\xF5\x80\x80\x80", false},
      {"bad third byte", "\xE2\x82\x41", false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(IsUtf8(row.text), row.valid);
  }
}

TEST(Utf8TextTest, CharacterCount) {
  EXPECT_EQ(CharacterCount(""), 0u);
  EXPECT_EQ(CharacterCount("News"), 4u);
  EXPECT_EQ(CharacterCount("caf\xC3\xA9 \xF0\x9F\x93\xB0"), 6u);
  EXPECT_EQ(CharacterCount("caf\xE9\xC3"), 5u);  // not UTF-8: bytes
  EXPECT_EQ(FirstCharacters("\xC3\xA9t\xC3\xA9", 3), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(FirstCharacters("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");
  EXPECT_EQ(FirstCharacters("caf\xE9\xC3", 4), "caf\xE9");
}

}  // namespace
}  // namespace gl
