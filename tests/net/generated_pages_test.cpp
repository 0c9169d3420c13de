#include "net/generated_pages.h"

#include <gtest/gtest.h>

#include "net/net_fixture.h"

namespace gl::test {
namespace {

constexpr std::string_view kD = "http://www.example.com/a.htm";

std::string Expected(std::string_view statusLine, std::string_view html) {
  return WithZero(std::string(statusLine) + "\r\n\r\n" + std::string(html));
}

const std::string kInaccessible =
    "<html><title>Inaccessible Page</title><body><h2>Inaccessible Page</h2>";

TEST(GeneratedPagesTest, FixedPagesAreByteExact) {
  EXPECT_EQ(Page(WriteSkippedPage, kD),
            Expected("HTTP/1.0 200",
                     "<html><title>Gleaner-Light Web page skipped</title><body><h2>Page "
                     "Skipped</h2>You asked Gleaner-Light to skip <a "
                     "href=\"http://www.example.com/a.htm\">this Web entry</a>.</body></html>"));
  EXPECT_EQ(
      Page(WriteUnableToConnectPage, kD),
      Expected("HTTP/1.0 500",
               kInaccessible + "Gleaner-Light was unable to connect to the server to load <a "
                               "href=\"http://www.example.com/a.htm\">this page</a>. The server or "
                               "network may be down.</body></html>"));
  EXPECT_EQ(Page(WriteBusyNetworkPage, kD),
            Expected("HTTP/1.0 500",
                     kInaccessible +
                         "Gleaner-Light was unable to load <a "
                         "href=\"http://www.example.com/a.htm\">this page</a>. The network "
                         "appears to be heavily loaded at this time and Gleaner-Light could not "
                         "access the page.</body></html>"));
  EXPECT_EQ(
      Page(WriteExternalLinkPage, kD),
      Expected("HTTP/1.0 200",
               "<html><title>External Link</title><body><h2>External Link</h2>In the Web "
               "properties for this brief entry, Gleaner-Light was instructed to not follow "
               "links which led to external sites. This link (<a "
               "href=\"http://www.example.com/a.htm\">http://www.example.com/a.htm</a>) is "
               "external to the original page and, as such, was not followed. On future visits "
               "to this site, you may want to select \"Follow External Links\" in the Web Page "
               "Properties</body></html>"));
  EXPECT_EQ(Page(WriteOtherSchemePage, "https://www.example.com/a.htm", false),
            Expected("HTTP/1.0 200",
                     "<html><body><title>Unsupported Protocol</title><h2>Gleaner-Light does not "
                     "support this protocol.</h2>This link (<a href=\"https://www.example.com/"
                     "a.htm\">https://www.example.com/a.htm</a>) is not an HTTP Web link."
                     "</body></html>"));
}

// The credentials are shown as text, so markup in them is escaped.
TEST(GeneratedPagesTest, CredentialsPageShowsWhatWasSent) {
  const std::string head =
      kInaccessible +
      "Gleaner-Light was unable to load the Web page located at <a "
      "href=\"http://www.example.com/a.htm\">http://www.example.com/a.htm</a>.<p>This page "
      "requires a UserName and Password.<p>The current UserName is: ";
  const std::string tail =
      "<p>This combination is not correct. Please correct it to properly load the "
      "page.</body></html>";
  EXPECT_EQ(Page(WriteCredentialsPage, kD, "<b>&", "\"x\""),
            Expected("HTTP/1.0 200",
                     head + "&lt;b&gt;&amp;<p>The current Password is: &quot;x&quot;" + tail));
  EXPECT_EQ(Page(WriteCredentialsPage, kD, "", ""),
            Expected("HTTP/1.0 200", head +
                                         "<i>None Entered</i><p>The current Password is: "
                                         "<i>None Entered</i>" +
                                         tail));
}

TEST(GeneratedPagesTest, FileErrorPageNamesTheReason) {
  const std::string lead =
      kInaccessible +
      "Gleaner-Light was unable to load the file. The <a href=\"file:///home/ann/a.htm\">file</a> ";
  EXPECT_EQ(Page(WriteFileErrorPage, "file:///home/ann/a.htm", FileError::NotFound),
            Expected("HTTP/1.0 500", lead + "was not found. </body></html>"));
  EXPECT_EQ(Page(WriteFileErrorPage, "file:///home/ann/a.htm", FileError::FailedToLoad),
            Expected("HTTP/1.0 500", lead + "failed to load. </body></html>"));
}

TEST(GeneratedPagesTest, StatusPagesAreByteExact) {
  const std::string attempted = kInaccessible +
                                "Gleaner-Light attempted to load the Web page located at <a "
                                "href=\"http://www.example.com/a.htm\">http://www.example.com/"
                                "a.htm</a>.<p>";
  const std::pair<StatusPage, std::string> rows[] = {
      {StatusPage::Accepted,
       attempted + "The server accepted this request but chose not to respond.</body></html>"},
      {StatusPage::NoResponse,
       attempted + "The server did not respond to the request.</body></html>"},
      {StatusPage::Refused,
       attempted +
           "The server understood the request but refused to fulfill it. This response is often "
           "used when the server does not wish to reveal exactly why the request was "
           "refused.</body></html>"},
      {StatusPage::NotFound,
       attempted + "The server was unable to find or deliver the requested page.</body></html>"},
      {StatusPage::NotFunctional,
       attempted + "The server is not fully functional and was unable to respond to the "
                   "request.</body></html>"},
      {StatusPage::UnableToRespond,
       attempted + "The server was unable to respond to the request.</body></html>"},
      {StatusPage::Empty,
       kInaccessible +
           "Gleaner-Light loaded the Web page located at <a "
           "href=\"http://www.example.com/a.htm\">http://www.example.com/a.htm</a>.<p>This page, "
           "however, is empty; the server returned no content.</body></html>"},
  };
  for (const auto& [page, html] : rows) {
    SCOPED_TRACE(html);
    EXPECT_EQ(Page(WriteStatusPage, page, kD), Expected("HTTP/1.0 500", html));
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
