#include "core/tag_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

TEST(TagTextTest, MatchTagName) {
  const std::tuple<std::string_view, std::string_view, bool> rows[] = {
      // text, pattern, match
      {"A HREF", "a ", true},        {"a\nhref", "a ", true},
      {"a\thref", "a ", true},       {"abbr title", "a ", false},  // an abbreviation is no anchor
      {"img\rsrc", "img ", true},    {"frameset rows", "frame ", false},
      {"FrAmE src", "frame ", true}, {"a", "a ", false},       // the text ends before the pattern
      {"-->", "-->", true},          {"\r\r>", "-->", false},  // only letters fold; "-" is not CR
  };
  for (const auto& [text, pattern, match] : rows) {
    SCOPED_TRACE(std::string(text) + " / " + std::string(pattern));
    EXPECT_EQ(MatchTagName(text, pattern), match);
  }
}

TEST(TagTextTest, FindAttributeTakesWholeNames) {
  const std::tuple<std::string_view, std::string_view, std::size_t> rows[] = {
      // tag, attribute, where its name starts
      {"<a HREF=x>", "href", 3},
      {"<a hreflang=en href=x>", "href", 15},
      {"<img data-src=a src=b>", "src", 16},
      {"<a name=x>", "href", kNone},
      {"<a\thref = x>", "href", 3},
      {"<a title='x'href=y>", "href", 12},
  };
  for (const auto& [tag, name, at] : rows) {
    SCOPED_TRACE(tag);
    EXPECT_EQ(FindAttribute(tag, name, tag.size()), at);
  }
  // A limit stops the search.
  EXPECT_EQ(FindAttribute("<a x=1 href=y>", "href", 6), kNone);
}

TEST(TagTextTest, AttributeValueAndItsEnd) {
  const std::tuple<std::string_view, std::size_t, std::size_t> rows[] = {
      // tag with an attribute name at 3, where its value starts, where it ends
      {"<a href=x.htm>", 8, 13},           {"<a href=\"x.htm\">", 8, 14},
      {"<a href='x.htm'>", 8, 14},         {"<a href = \n\"x.htm\" target=y>", 11, 17},
      {"<a href=\"x.htm>", 8, 14},          // a broken quote stops at '>'
      {"<a href=\"my page.htm\">", 8, 20},  // blanks inside quotes belong to the value
      {"<a href=my page.htm>", 8, 10},      // ... and end an unquoted one
      {"<a href=x.htm", 8, kNone},          // the buffer ends first
      {"<a href>", kNone, kNone},          {"<a href=", kNone, kNone},
  };
  for (const auto& [tag, valueAt, end] : rows) {
    SCOPED_TRACE(tag);
    const std::size_t value = AttributeValue(tag, 3);
    EXPECT_EQ(value, valueAt);
    EXPECT_EQ(value == kNone ? kNone : ValueEnd(tag, value), end);
  }
}

}  // namespace
}  // namespace gl
