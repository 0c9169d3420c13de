#include "net/generated_pages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "net/net_fixture.h"

namespace gl::test {
namespace {

constexpr std::string_view kD = "http://www.example.com/a.htm";

// generated_pages.txt holds each page as the user sees it, one a line: a name, the status code
// and the HTML, parted by tabs.
TEST(GeneratedPagesTest, PagesAreByteExact) {
  std::map<std::string, std::string> expected;
  std::ifstream file(GL_NET_TEST_DATA "/generated_pages.txt");
  for (std::string name, status, html; std::getline(file, name, '\t') &&
                                       std::getline(file, status, '\t') &&
                                       std::getline(file, html);)
    expected[name] = WithZero("HTTP/1.0 " + status + "\r\n\r\n" + html);
  using enum StatusPage;
  const std::pair<const char*, std::string> rows[] = {
      {"skipped", Page(WriteSkippedPage, kD)},
      {"unable to connect", Page(WriteUnableToConnectPage, kD)},
      {"busy", Page(WriteBusyNetworkPage, kD)},
      {"external", Page(WriteExternalLinkPage, kD)},
      {"other scheme", Page(WriteOtherSchemePage, "https://www.example.com/a.htm", false)},
      {"mail", Page(WriteOtherSchemePage, "mailto:ann@example.com", true)},
      {"certificate", Page(WriteRefusedCertificatePage, kD, "certificate has expired")},
      {"credentials", Page(WriteCredentialsPage, kD, "<b>&", "\"x\"")},
      {"no credentials", Page(WriteCredentialsPage, kD, "", "")},
      {"file not found", Page(WriteFileErrorPage, "file:///home/ann/a.htm", FileError::NotFound)},
      {"file failed", Page(WriteFileErrorPage, "file:///home/ann/a.htm", FileError::FailedToLoad)},
      {"accepted", Page(WriteStatusPage, Accepted, kD)},
      {"no response", Page(WriteStatusPage, NoResponse, kD)},
      {"refused", Page(WriteStatusPage, Refused, kD)},
      {"not found", Page(WriteStatusPage, NotFound, kD)},
      {"not functional", Page(WriteStatusPage, NotFunctional, kD)},
      {"unable to respond", Page(WriteStatusPage, UnableToRespond, kD)},
      {"empty", Page(WriteStatusPage, Empty, kD)},
  };
  ASSERT_EQ(expected.size(), std::size(rows));
  for (const auto& [name, page] : rows) {
    SCOPED_TRACE(name);
    EXPECT_EQ(page, expected[name]);
  }
}

// No address can end the link's attribute or open a tag, and a long one is written whole.
TEST(GeneratedPagesTest, AddressIsWrittenWholeWithMarkupPercentEncoded) {
  const std::string page = Page(WriteStatusPage, StatusPage::NotFound,
                                "http://h/\"><script>x</script>" + std::string(100000, 'p'));
  const std::string safe = "http://h/%22%3E%3Cscript%3Ex%3C/script%3E" + std::string(100000, 'p');
  EXPECT_NE(page.find("href=\"" + safe + "\">" + safe + "</a>"), std::string::npos);
  EXPECT_EQ(page.find("<script>"), std::string::npos);
}

}  // namespace
}  // namespace gl::test
