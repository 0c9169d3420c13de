#include "net/generated_pages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "net/net_fixture.h"

namespace gl::test {
namespace {

constexpr std::string_view kD = "http://www.example.com/a.htm";

// generated_pages.txt: in this order, one a line, a name, the status code and the HTML, tab-parted.
TEST(GeneratedPagesTest, PagesAreByteExactAndAddressesCannotAddMarkup) {
  using enum StatusPage;
  const std::string file = "file:///home/ann/a.htm";
  std::vector<std::string> pages = {
      Page(WriteSkippedPage, kD),
      Page(WriteUnableToConnectPage, kD),
      Page(WriteBusyNetworkPage, kD),
      Page(WriteExternalLinkPage, kD),
      Page(WriteOtherSchemePage, "https://www.example.com/a.htm", false),
      Page(WriteOtherSchemePage, "mailto:ann@example.com", true),
      Page(WriteRefusedCertificatePage, kD, "certificate has expired"),
      Page(WriteCredentialsPage, kD, "<b>&", "\"x\""),
      Page(WriteCredentialsPage, kD, "", ""),
      Page(WriteFileErrorPage, file, FileError::NotFound),
      Page(WriteFileErrorPage, file, FileError::FailedToLoad)};
  for (const StatusPage page :
       {Accepted, NoResponse, Refused, NotFound, NotFunctional, UnableToRespond, Empty})
    pages.push_back(Page(WriteStatusPage, page, kD));
  std::ifstream lines(GL_NET_TEST_DATA "/generated_pages.txt");
  std::size_t i = 0;
  for (std::string name, status, html;
       std::getline(lines, name, '\t') && std::getline(lines, status, '\t') &&
       std::getline(lines, html);
       ++i) {
    SCOPED_TRACE(name);
    ASSERT_LT(i, pages.size());
    EXPECT_EQ(pages[i], WithZero("HTTP/1.0 " + status + "\r\n\r\n" + html));
  }
  EXPECT_EQ(i, pages.size());

  // No address can end the link's attribute or open a tag, and a long one is written whole.
  const std::string page = Page(WriteStatusPage, StatusPage::NotFound,
                                "http://h/\"><script>x</script>" + std::string(100000, 'p'));
  const std::string safe = "http://h/%22%3E%3Cscript%3Ex%3C/script%3E" + std::string(100000, 'p');
  EXPECT_NE(page.find("href=\"" + safe + "\">" + safe + "</a>"), std::string::npos);
}

}  // namespace
}  // namespace gl::test
