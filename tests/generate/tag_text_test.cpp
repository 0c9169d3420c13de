#include "generate/tag_text.h"

#include <gtest/gtest.h>

#include <string>

#include "generate/stream_search.h"

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

TEST(TagTextTest, MatchTagName) {
  struct Row {
    std::string_view text;
    std::string_view pattern;
    bool match;
  };
  const Row rows[] = {
      {"a href", "a ", true},
      {"A HREF", "a ", true},
      {"a\nhref", "a ", true},
      {"a\thref", "a ", true},
      {"a\rhref", "a ", true},
      {"abbr title", "a ", false},  // an abbreviation is no anchor
      {"IMG src", "img ", true},
      {"img\nsrc", "img ", true},
      {"frameset rows", "frame ", false},
      {"FrAmE src", "frame ", true},
      {"a", "a ", false},  // the text ends before the pattern
      {"", "a", false},
      {"-->", "-->", true},
      {"\r\r>", "-->", false},  // only letters fold; "-" is not CR
      {"/title>", "/title>", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.text) + " / " + std::string(row.pattern));
    EXPECT_EQ(MatchTagName(row.text, row.pattern), row.match);
  }
}

TEST(TagTextTest, FindTagInTextAndLetter) {
  EXPECT_EQ(FindTagInText("x <abbr> <A HREF=a>", "a "), 9u);
  EXPECT_EQ(FindTagInText("<b>bold</b>", "i"), kNone);
  EXPECT_EQ(FindTagLetter("text <B>", 'b'), 5u);
  EXPECT_EQ(FindTagLetter("text <", 'b'), kNone);
}

TEST(TagTextTest, FindAttributeTakesWholeNames) {
  struct Row {
    std::string_view tag;
    std::string_view name;
    std::size_t at;
  };
  const Row rows[] = {
      {"<a href=x>", "href", 3},
      {"<a HREF=x>", "href", 3},
      {"<a hreflang=en href=x>", "href", 15},
      {"<img data-src=a src=b>", "src", 16},
      {"<a name=x>", "href", kNone},
      {"<a\thref = x>", "href", 3},
      {"<a title='x'href=y>", "href", 12},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tag);
    EXPECT_EQ(FindAttribute(row.tag, row.name, row.tag.size()), row.at);
  }
  // A limit stops the search.
  EXPECT_EQ(FindAttribute("<a x=1 href=y>", "href", 6), kNone);
}

TEST(TagTextTest, AttributeValueAndEnds) {
  struct Row {
    std::string_view tag;
    std::size_t valueAt;  // from the attribute name at 3
    std::size_t end;
    std::size_t addressEnd;
  };
  const Row rows[] = {
      {"<a href=x.htm>", 8, 13, 13},
      {"<a href=\"x.htm\">", 8, 14, 14},
      {"<a href='x.htm'>", 8, 14, 14},
      {"<a href = \n\"x.htm\" target=y>", 11, 17, 17},
      {"<a href=\"x.htm>", 8, 14, 14},          // a broken quote stops at '>'
      {"<a href=\"my page.htm\">", 8, 11, 11},  // ... or at a blank
      {"<a href=x.cgi?a=1>", 8, 17, 13},
      {"<a href=x.htm", 8, kNone, kNone},  // the buffer ends first
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tag);
    const std::size_t value = AttributeValue(row.tag, 3);
    EXPECT_EQ(value, row.valueAt);
    EXPECT_EQ(ValueEnd(row.tag, value), row.end);
    EXPECT_EQ(AddressEnd(row.tag, value), row.addressEnd);
  }
  EXPECT_EQ(AttributeValue("<a href>", 3), kNone);
  EXPECT_EQ(AttributeValue("<a href=", 3), kNone);
}

TEST(StreamSearchTest, FindsAcrossWhatWouldBeBlockBoundaries) {
  // A tag, a comment end and a text that straddle 4999 bytes are found like any other.
  std::string page(4997, 'x');
  page += "<A HREF=x>-->";
  EXPECT_EQ(FindTagInStream(page, 0, "a "), 4997u);
  EXPECT_EQ(FindEndInStream(page, 0, "-->"), 5007u);
  EXPECT_EQ(FindEndInStream(page, 0, "/a"), kNone);
  EXPECT_EQ(FindTextInStream(page, "href", 0), 5000u);
  EXPECT_EQ(FindByteInStream(page, '>', 4998), 5006u);
  EXPECT_EQ(FindTagInStream(page, 4998, "a "), kNone);
}

TEST(StreamSearchTest, BodyStartTakesTheEarlierEmptyLine) {
  EXPECT_EQ(BodyStart("HTTP/1.0 200\r\n\r\nbody"), 16u);
  EXPECT_EQ(BodyStart("HTTP/1.0 200\n\nbody\r\n\r\n"), 14u);
  EXPECT_EQ(BodyStart("HTTP/1.0 200\r\n\r\nbody\n\n"), 16u);
  EXPECT_EQ(BodyStart("no header end"), kNone);
}

}  // namespace
}  // namespace gl
