#include "browser/browser_items.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "browser/help_pages.h"
#include "browser/internal/endpoint_pages.h"
#include "platform/file_address.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

// Each row: the answer, and the address and title read from it ("-" when none is).
TEST(ParseWindowInfoTest, AddressAndTitleByTheQuotedAndUnquotedRules) {
  // Only 4999 bytes count: after a 4997-byte address the closing quote is the last of them.
  const std::string a4996(4996, 'a');
  const std::pair<std::string, std::string> rows[] = {
      {R"("http://a.test/x","Home page")", "http://a.test/x|Home page"},
      {R"("http://a.test/?q=a,b","T")", "http://a.test/?q=a,b|T"},
      {"http://a.test/x,Home page", "http://a.test/x|Home page"},
      {R"(http://a.test/x,"Home")", "http://a.test/x|Home"},
      {R"("http://a.test/","Netscape - [Home]")", "http://a.test/|Home"},
      {R"("http://a.test/","My Netscape")", "http://a.test/|"},
      {R"("","")", "|"},
      {R"("http://a.test/x")", "-"},
      {"http://a.test/x", "-"},
      {"\"" + a4996 + "\",\"T\"", a4996 + "|"},
      {"\"" + a4996 + "a\",\"T\"", "-"},
  };
  for (const auto& [answer, expected] : rows) {
    const std::optional<BrowserPage> page = ParseWindowInfo(answer);
    EXPECT_EQ(page ? page->Address + "|" + page->Title : "-", expected) << answer.substr(0, 60);
  }
  const BrowserPage page{"http://a.test/", "Quotes \"and\", commas"};
  const std::optional<BrowserPage> back = ParseWindowInfo(WindowInfoAnswer(page));
  ASSERT_TRUE(back);
  EXPECT_EQ(std::tie(back->Address, back->Title), std::tie(page.Address, page.Title));
}

// The item holds the address, its quotes, the suffix and a terminator in 5000 bytes.
TEST(OpenURLItemTest, FitsTheItemBufferOrIsNotMade) {
  const std::string fits(4987, 'a');
  EXPECT_EQ(OpenURLItem(fits), "\"" + fits + "\",,-1,0,,,,");
  EXPECT_EQ(OpenURLItem(fits + "a"), std::nullopt);

  const std::string address = R"(http://a.test/"q" x;y)";
  EXPECT_EQ(AddressOfOpenURLItem(*OpenURLItem(address)), address);
  EXPECT_EQ(AddressOfOpenURLItem("http://a.test/,,-1,0"), std::nullopt);
  EXPECT_EQ(AddressOfOpenURLItem("\"http://a.test/"), std::nullopt);
}

// Only pages with a text id count; fields that are not texts read as empty.
TEST(EndpointPagesTest, PagesOfTheListAndTheOpenedPage) {
  const auto pages = ParsePageList(R"([{"id": "UI", "type": "browser_ui", "url": "chrome://x/"},
      {"type": "page", "url": "http://no.id/"}, "not a target",
      {"id": "P1", "type": "page", "url": "http://a.test/", "title": "A"},
      {"id": "P2", "url": "http://b.test/", "title": 7}])");
  ASSERT_TRUE(pages);
  std::vector<std::string> read;
  for (const EndpointPage& page : *pages)
    read.push_back(page.Id + " " + page.Address + " " + page.Title);
  EXPECT_EQ(read, (std::vector<std::string>{"P1 http://a.test/ A", "P2 http://b.test/ "}));
  for (const char* body : {"", "[", R"({"id": "P1"})", "Target activated"})
    EXPECT_FALSE(ParsePageList(body)) << body;

  EXPECT_EQ(ParsePage(R"({"id": "N", "url": "http://c.test/"})")->Id, "N");
  EXPECT_FALSE(ParsePage(R"({"id": 5})"));
  EXPECT_FALSE(ParsePage("[]"));
}

// Every context opens a help page that exists, at an anchor that page has; a context without a
// page of its own opens the contents.
TEST(HelpAddressTest, EveryContextOpensAPageAtAnAnchorItHas) {
  int anchored = 0;
  for (int context = 0; context <= 40; ++context) {
    const std::string address = HelpAddress(context, GL_RESOURCES_FOLDER);
    const std::size_t hash = address.find('#');
    const std::string page = test::ReadFileBytes(PathFromFileAddress(address.substr(0, hash)));
    EXPECT_NE(page.find("</html>"), std::string::npos) << context;
    if (hash == std::string::npos) continue;
    ++anchored;
    EXPECT_NE(page.find("id=\"" + address.substr(hash + 1) + "\""), std::string::npos) << context;
  }
  EXPECT_EQ(anchored, 9);  // 6, 12, 13, 22 to 24 and 36 to 38
  EXPECT_EQ(HelpAddress(help_context::kEntryRetrieval, "/opt/gl"),
            "file:///opt/gl/help/entry-setup.html#retrieval");
}

}  // namespace
}  // namespace gl
