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
      {"", "http://", ""},
  };
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
    std::string bare;
    std::string bareBase;
    EXPECT_EQ(IsSameSite(address, base, bare, bareBase), same);
  }
}

TEST(SplitHostAndPathTest, PathRunsFromTheFirstSlashToTheFragment) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"host:8080/a#top", "host:8080", "/a"},
      {"host", "host", "/"},
      {"host/dir/page.htm?x=1#f", "host", "/dir/page.htm?x=1"},
      {"host#frag", "host", "/"},
  };
  for (const auto& [bare, host, path] : rows) {
    SCOPED_TRACE(bare);
    EXPECT_EQ(SplitHostAndPath(bare).Host, host);
    EXPECT_EQ(SplitHostAndPath(bare).Path, path);
  }
}

TEST(ResolveLocationTest, ReadsTheLocationAgainstTheRequestedAddress) {
  const std::pair<const char*, const char*> rows[] = {
      {"http://other.example/a/../b.htm", "other.example/b.htm"},
      {"//cdn.example/lib.js", "cdn.example/lib.js"},
      {"/top.htm", "host:81/top.htm"},
      {"/go?to=http://other/", "host:81/go?to=http://other/"},
      {"./next.htm", "host:81/dir/sub/next.htm"},
      {"../up.htm", "host:81/dir/up.htm"},
      {"../../../../root.htm", "host:81/root.htm"},
      {"deeper/", "host:81/dir/sub/deeper/"},
      {"..", "host:81/dir/"},
      {"?q=2", "host:81/dir/sub/page.htm?q=2"},
      {"#part", "host:81/dir/sub/page.htm?q=1#part"},
  };
  for (const auto& [location, resolved] : rows) {
    SCOPED_TRACE(location);
    EXPECT_EQ(ResolveLocation("host:81/dir/sub/page.htm?q=1#f", location), resolved);
  }
  // An address without a path resolves from the root.
  EXPECT_EQ(ResolveLocation("host", "a.htm"), "host/a.htm");
}

}  // namespace
}  // namespace gl
