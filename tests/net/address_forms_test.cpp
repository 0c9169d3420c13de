#include "net/address_forms.h"

#include <gtest/gtest.h>

#include <tuple>

namespace gl {
namespace {

// A scheme is "://" with no "/" before it; the display form also refuses a "\" before it.
TEST(AddressFormsTest, DisplayFormAndBareForm) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"www.example.com/a.html", "http://www.example.com/a.html", "www.example.com/a.html"},
      {"HTTP://host:8080/a#top", "HTTP://host:8080/a#top", "host:8080/a#top"},
      {"ftp://files/x", "ftp://files/x", "files/x"},
      {"host/go?to=http://other/", "http://host/go?to=http://other/", "host/go?to=http://other/"},
      {"a\\b://c", "http://a\\b://c", "c"},
      {"://host", "://host", "host"},
      {"", "http://", ""}};
  for (const auto& [address, display, bare] : rows) {
    SCOPED_TRACE(address);
    EXPECT_EQ(NormaliseDisplayAddress(address), display);
    EXPECT_EQ(StripScheme(address), bare);
  }
}

TEST(IsSameSiteTest, ComparesTheHostWithTheBasesLastTwoLabels) {
  const std::tuple<const char*, const char*, bool> rows[] = {
      {"http://a.b.c/page", "http://b.c/index.htm", true},
      {"http://b.c/page", "http://www.b.c/index.htm", true},
      {"http://x.y.b.c:8080/page", "http://www.b.c:80/", true},
      {"localhost/a", "http://localhost:8080/", true},
      {"https://www.b.c/page", "http://b.c/", true},  // http and https of a host are one site
      {"b.c/page", "HTTPS://b.c:443/", true},
      {"http://anything/", "", true},
      {"http://a.b.d/page", "http://b.c/index.htm", false},
      {"http://ab.c/page", "http://b.c/", false},
      {"http://c/page", "http://b.c/", false},
      {"http://evil.com/b.c", "http://b.c/", false},
      {"http://www.example.com/paths/", "file:///home/ann/site/index.htm", false},
      {"file:///home/ann/site/a.htm", "file:///home/ann/site/index.htm", true},
  };
  for (const auto& [address, base, same] : rows) {
    SCOPED_TRACE(std::string(address) + " on " + base);
    std::string bare, bareBase;
    EXPECT_EQ(IsSameSite(address, base, bare, bareBase), same);
  }
}

// Local and secure pages keep their scheme for relative links; a web link never turns local.
TEST(ResolveAddressTest, Table) {
  const std::tuple<std::string_view, std::string_view, std::string_view> rows[] = {
      {"http://host/a/b/page.htm", "../c/file.htm", "host/a/c/file.htm"},
      {"host/a/page.htm#old", "#new", "host/a/page.htm#new"},
      {"host", "file.htm", "host/file.htm"},
      {"http://host", "file.htm", "host/file.htm"},
      {"host/a/", "http://other.test", "other.test/"},
      {"host/a/", "HTTP://Other.Test/X.htm", "Other.Test/X.htm"},
      {"host:8080/a/b.htm", "/c.htm", "host:8080/c.htm"},
      {"http://host:8080/a/b.htm", "\\c.htm", "host:8080\\c.htm"},
      {"host/a/b.htm", "//cdn.test/x.gif", "cdn.test/x.gif"},
      {"host/a/b.htm", " \"c.htm", "host/a/c.htm"},
      {"host/a/b.htm", "./c/./d.htm", "host/a/c/d.htm"},
      {"host/b.htm", "../../x.htm", "host/x.htm"},
      {"host/a/b/", "..", "host/a/"},
      {"host/a/b.htm", "c/..", "host/a/"},
      {"host/a/b.htm", "x.cgi?u=http://e.test/../y", "host/a/x.cgi?u=http://e.test/../y"},
      {"host/a/b.htm?q=1", "?q=2", "host/a/b.htm?q=2"},
      {"host", "?q=2", "host/?q=2"},
      {"host/a/b.htm", "", "host/a/b.htm"},
      {"file:///home/ann/site/index.htm", "sub/a.htm", "file:///home/ann/site/sub/a.htm"},
      {"file:///home/ann/site/index.htm", "../up.htm", "file:///home/ann/up.htm"},
      {"file:///home/ann/site/index.htm", "/etc/x.htm", "file:///etc/x.htm"},
      {"host/a/b.htm", "http://file:///etc/passwd", "http://file:///etc/passwd"},
      {"host/a/b.htm", "http://file:/.//etc/passwd", "http://file://etc/passwd"},
      {"host/a/b.htm", "HTTP://FILE://x", "http://FILE://x/"},
      {"file:/.//x/a.htm", "", "http://file://x/a.htm"},
      {":", "//file://e.", "http://file://e./"},
      {"ab:/", ".//x", "x/"},  // removed dots that make a scheme
      {"https://host/a/b.htm", "../c.htm", "https://host/c.htm"},
      {"https://host/a/b.htm", "//cdn.test/x.gif", "https://cdn.test/x.gif"},
      {"https://host/a/b.htm", "http://host/c.htm", "host/c.htm"},
      {"host/a/b.htm", "HTTPS://Host", "HTTPS://Host/"},
  };
  for (const auto& [base, value, expected] : rows) {
    SCOPED_TRACE(std::string(base) + " + " + std::string(value));
    EXPECT_EQ(ResolveAddress(base, value), expected);
  }
}

TEST(ResolveAddressTest, DotsFragmentsLocationsAndFetchedPages) {
  // Dots collapse in the path only, never in the host, the query or the fragment.
  EXPECT_EQ(CollapseDots("http://host/../a"), "http://host/a");
  EXPECT_EQ(CollapseDots("host/x/../a?p=../b#../c"), "host/a?p=../b#../c");
  EXPECT_EQ(CollapseDots("host/x/./y/../"), "host/x/");
  EXPECT_EQ(CollapseDots("host\\x\\..\\y"), "host\\y");
  EXPECT_EQ(CollapseDots("host/a..b/c"), "host/a..b/c");
  EXPECT_EQ(CutFragment("host/a.htm#x#y"), "host/a.htm");
  // A Location is read as a link is, but keeps no scheme and adds no "/".
  const char* page = "host:81/dir/sub/page.htm?q=1#f";
  EXPECT_EQ(ResolveLocation(page, "http://other.example/a/../b.htm"), "other.example/b.htm");
  EXPECT_EQ(ResolveLocation(page, "http://other.example"), "other.example");
  EXPECT_EQ(ResolveLocation(page, "//cdn.example/lib.js"), "cdn.example/lib.js");
  EXPECT_EQ(ResolveLocation(page, "#part"), "host:81/dir/sub/page.htm?q=1#part");
  // A fetched page is read where it was found, but never on the disk.
  EXPECT_EQ(FetchedPageAddress("host/a", "host/b/"), "host/b/");
  EXPECT_EQ(FetchedPageAddress("host/a", "other"), "other/");
  EXPECT_EQ(FetchedPageAddress("host/a", "file:///etc/passwd"), "host/a");
  EXPECT_EQ(FetchedPageAddress("file:///x/a.htm", "file:///x/a.htm"), "file:///x/a.htm");
}

TEST(ResolveAddressTest, SchemeOfLink) {
  const std::tuple<std::string_view, bool, bool> rows[] = {
      {"mailto:ann@host.test", true, true}, {"MAILTO:ann@host.test", true, true},
      {" 'mailto:x", true, true},           {"news:comp.lang", true, false},
      {"https://host/a", true, false},  // another scheme unless secure pages are on (below)
      {"HTTP://host/a", false, false},      {"a/b:c", false, false},
      {"page.cgi?x=a:b", false, false},     {"page.htm#a:b", false, false}};
  for (const auto& [value, other, mail] : rows) {
    SCOPED_TRACE(value);
    const LinkScheme scheme = SchemeOfLink(value, false);
    EXPECT_EQ(std::tie(scheme.Other, scheme.Mail), std::tie(other, mail));
  }
  EXPECT_FALSE(SchemeOfLink("HTTPS://host/a", true).Other);
  EXPECT_TRUE(SchemeOfLink("xhttps://host/a", true).Other);
}

}  // namespace
}  // namespace gl
