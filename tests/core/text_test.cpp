#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/byte_text.h"
#include "core/tag_text.h"
#include "core/utf8_text.h"

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// '@' '[' '`' '{' sit next to the letters; only A-Z may fold.
TEST(ByteTextTest, OnlyAsciiLettersMatchInEitherCase) {
  EXPECT_EQ(LowerAscii("Content-TYPE: Text/HTML \xC4@[`{"), "content-type: text/html \xC4@[`{");
  EXPECT_TRUE(StartsWithNoCase("HTTP/1.0 200", "http/"));
  EXPECT_FALSE(StartsWithNoCase("htt", "http"));
  EXPECT_FALSE(StartsWithNoCase("[ttp", "{ttp"));
  const std::string_view text = "Location: a\r\nLOCATION: b";
  EXPECT_EQ(FindNoCase(text, "location", 1), 13u);
  EXPECT_EQ(FindNoCase(text, "missing"), kNone);
  EXPECT_EQ(FindNoCase(text, "location", 99), kNone);
  EXPECT_EQ(FindNoCase(text, "", 3), 3u);
}

TEST(Utf8TextTest, WellFormedSequencesCountedCutAndMasked) {
  for (const std::string& text : {std::string("a\0\x7F", 3), std::string("caf\xC3\xA9"),
                                  std::string("\xE2\x82\xAC"), std::string("\xF4\x8F\xBF\xBF")})
    EXPECT_TRUE(IsUtf8(text)) << ::testing::PrintToString(text);
  for (const char* text : {"\x80", "caf\xE9", "\xC0\xAF", "\xE0\x80\xAF", "\xF0\x8F\xBF\xBF",
                           "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE2\x82\x41"})
    EXPECT_FALSE(IsUtf8(text)) << ::testing::PrintToString(text);
  EXPECT_EQ(CharacterCount("caf\xC3\xA9 \xF0\x9F\x93\xB0"), 6u);
  EXPECT_EQ(CharacterCount("caf\xE9\xC3"), 5u);  // not UTF-8: bytes
  EXPECT_EQ(FirstCharacters("caf\xC3\xA9 \xF0\x9F\x93\xB0", 4), "caf\xC3\xA9");
  EXPECT_EQ(FirstCharacters("caf\xC3\xA9", 9), "caf\xC3\xA9");
  EXPECT_EQ(FirstCharacters("caf\xE9\xC3", 4), "caf\xE9");
  EXPECT_EQ(MaskedPassword("p\xC3\xA4ss"), "****");
}

// In the last table the tag has an attribute name at 3: where its value starts and where it ends.
TEST(TagTextTest, TagNamesAttributeNamesAndValues) {
  const std::tuple<std::string_view, std::string_view, bool> rows[] = {
      {"A HREF", "a ", true},        {"a\nhref", "a ", true},
      {"a\thref", "a ", true},       {"abbr title", "a ", false},  // an abbreviation is no anchor
      {"img\rsrc", "img ", true},    {"frameset rows", "frame ", false},
      {"FrAmE src", "frame ", true}, {"a", "a ", false},       // the text ends before the pattern
      {"-->", "-->", true},          {"\r\r>", "-->", false},  // only letters fold; "-" is not CR
  };
  for (const auto& [text, pattern, match] : rows)
    EXPECT_EQ(MatchTagName(text, pattern), match) << text << " / " << pattern;

  const std::tuple<std::string_view, std::string_view, std::size_t> attributes[] = {
      {"<a HREF=x>", "href", 3},     {"<a hreflang=en href=x>", "href", 15},
      {"<a name=x>", "href", kNone}, {"<img data-src=a src=b>", "src", 16},
      {"<a\thref = x>", "href", 3},  {"<a title='x'href=y>", "href", 12},
  };
  for (const auto& [tag, name, at] : attributes)
    EXPECT_EQ(FindAttribute(tag, name, tag.size()), at) << tag;
  EXPECT_EQ(FindAttribute("<a x=1 href=y>", "href", 6), kNone);  // a limit stops the search

  const std::tuple<std::string_view, std::size_t, std::size_t> values[] = {
      {"<a href=x.htm>", 8, 13},           {"<a href=\"x.htm\">", 8, 14},
      {"<a href='x.htm'>", 8, 14},         {"<a href = \n\"x.htm\" target=y>", 11, 17},
      {"<a href=\"x.htm>", 8, 14},          // a broken quote stops at '>'
      {"<a href=\"my page.htm\">", 8, 20},  // blanks inside quotes belong to the value
      {"<a href=my page.htm>", 8, 10},      // ... and end an unquoted one
      {"<a href=x.htm", 8, kNone},          // the buffer ends first
      {"<a href>", kNone, kNone},          {"<a href=", kNone, kNone},
  };
  for (const auto& [tag, valueAt, end] : values) {
    const std::size_t value = AttributeValue(tag, 3);
    EXPECT_EQ(value, valueAt) << tag;
    EXPECT_EQ(value == kNone ? kNone : ValueEnd(tag, value), end) << tag;
  }
}

// Long texts are searched sixteen bytes a step: a hit at any place of a block, after near misses.
TEST(TagTextTest, BlockSearchesAtEveryPlaceOfALongText) {
  const std::string misses = "<b>bold</b><bod <x <!-- -->";
  for (std::size_t at = 0; at < 40; ++at) {
    SCOPED_TRACE(at);
    const std::string text = std::string(at, 'x') + (at % 2 == 0 ? "<BODY bgcolor=x>" : "<body>");
    EXPECT_EQ(FindTagInText(misses + text, "body"), misses.size() + at);
    EXPECT_EQ(FindTagInText(text.substr(0, at + 5), "body"), at);
    EXPECT_EQ(FindTagInText(text.substr(0, at + 4), "body"), kNone);
    EXPECT_EQ(FindTagInText(misses + text, "!"), 19u);
    const std::string tag = "<img hreflang=x data-href=y" + std::string(at + 1, ' ') + "HREF=z>";
    const std::size_t href = tag.size() - 7;
    EXPECT_EQ(FindAttribute(tag, "href", tag.size()), href);
    EXPECT_EQ(FindAttribute(tag, "href", href), kNone);
    EXPECT_EQ(FindNoCase(tag, "href=z"), href);
    EXPECT_EQ(FindNoCase(tag, "href=z>", href + 1), kNone);
    const std::string page = std::string(at, 'x') + "<Body><br><s><F>";
    EXPECT_EQ(FindTagStarts(page, "fbs"), (std::vector<std::size_t>{at, at + 6, at + 10, at + 13}));
  }
}

}  // namespace
}  // namespace gl
