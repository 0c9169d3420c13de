#include "browser/browser_items.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "browser/endpoint_pages.h"

namespace gl {
namespace {

TEST(ParseWindowInfoTest, AddressAndTitleByTheQuotedAndUnquotedRules) {
  // Only 4999 bytes count: after this address the closing quote is the last of them.
  const std::string cutAddress(4997, 'a');
  const struct {
    std::string Answer;
    std::optional<std::string> Address;
    std::string Title;
  } rows[] = {
      {R"("http://a.test/x","Home page")", "http://a.test/x", "Home page"},
      {R"("http://a.test/?q=a,b","T")", "http://a.test/?q=a,b", "T"},
      {"http://a.test/x,Home page", "http://a.test/x", "Home page"},
      {R"(http://a.test/x,"Home")", "http://a.test/x", "Home"},
      {R"("http://a.test/","Netscape - [Home]")", "http://a.test/", "Home"},
      {R"("http://a.test/","My Netscape")", "http://a.test/", ""},
      {R"("","")", "", ""},
      {R"("http://a.test/x")", std::nullopt, ""},
      {"http://a.test/x", std::nullopt, ""},
      {"\"" + cutAddress.substr(1) + "\",\"T\"", cutAddress.substr(1), ""},
      {"\"" + cutAddress + "\",\"T\"", std::nullopt, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Answer.substr(0, 60));
    const std::optional<BrowserPage> page = ParseWindowInfo(row.Answer);
    ASSERT_EQ(page.has_value(), row.Address.has_value());
    if (!page) continue;
    EXPECT_EQ(page->Address, *row.Address);
    EXPECT_EQ(page->Title, row.Title);
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

TEST(EndpointPagesTest, PagesOfTheListAndTheOpenedPage) {
  const std::optional<std::vector<EndpointPage>> pages = ParsePageList(R"([
      {"id": "UI", "type": "browser_ui", "url": "chrome://omnibox/", "title": "Omnibox"},
      {"type": "page", "url": "http://no.id/"},
      {"id": "P1", "type": "page", "url": "http://a.test/", "title": "A"},
      "not a target",
      {"id": "P2", "url": "http://b.test/", "title": 7}])");
  ASSERT_TRUE(pages);
  ASSERT_EQ(pages->size(), 2u);
  EXPECT_EQ(std::tie((*pages)[0].Id, (*pages)[0].Address, (*pages)[0].Title),
            std::make_tuple("P1", "http://a.test/", "A"));
  EXPECT_EQ(std::tie((*pages)[1].Id, (*pages)[1].Address, (*pages)[1].Title),
            std::make_tuple("P2", "http://b.test/", ""));
  for (const char* body : {"", "[", R"({"id": "P1"})", "Target activated"}) {
    SCOPED_TRACE(body);
    EXPECT_FALSE(ParsePageList(body));
  }

  const std::optional<EndpointPage> opened = ParsePage(R"({"id": "N", "url": "http://c.test/"})");
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->Id, "N");
  EXPECT_FALSE(ParsePage(R"({"id": 5})"));
  EXPECT_FALSE(ParsePage("[]"));
}

}  // namespace
}  // namespace gl
