#include "core/html_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace gl {
namespace {

TEST(HtmlTextTest, CharacterReferencesAndBlanks) {
  const std::pair<std::string, std::string> rows[] = {
      // HTML text, plain text
      {"Tom &amp; Jerry &lt;3 &quot;x&quot; &apos;y&#39;", "Tom & Jerry <3 \"x\" 'y'"},
      {"caf&#233; &#x20AC;&#X1F4F0; a&nbsp;b",
       "caf\xC3\xA9 \xE2\x82\xAC\xF0\x9F\x93\xB0 a\xC2\xA0"
       "b"},
      {"&#0;&#xD800;&#x110000;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // no characters
      {"?a=1&b=2 &amp &#; &#x; &#12a; &copy; &", "?a=1&b=2 &amp &#; &#x; &#12a; &copy; &"},
      {"&ampxxxxxxxxxxxxxx;&amp;", "&ampxxxxxxxxxxxxxx;&"},  // no ';' near the first '&'
      {" \r\n Two\t\tlines\r\nof text \n", "Two lines of text"},
  };
  for (const auto& [html, plain] : rows) {
    SCOPED_TRACE(html);
    EXPECT_EQ(PlainTextOf(html), plain);
  }
  EXPECT_EQ(DecodeCharacterReferences(" a &amp;\tb "), " a &\tb ");
}

}  // namespace
}  // namespace gl
