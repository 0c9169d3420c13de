#include "net/address_forms.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

TEST(NormaliseDisplayAddressTest, PutsHttpInFrontUnlessASchemeLeads) {
  struct Row {
    const char* address;
    const char* display;
  };
  const Row rows[] = {
      {"www.example.com/a.html", "http://www.example.com/a.html"},
      {"HTTP://www.example.com", "HTTP://www.example.com"},
      {"ftp://files.example.com/x", "ftp://files.example.com/x"},
      {"file:///home/ann/a.htm", "file:///home/ann/a.htm"},
      {"www.example.com/go?to=http://other", "http://www.example.com/go?to=http://other"},
      {"a\\b://c", "http://a\\b://c"},
      {"", "http://"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.address);
    EXPECT_EQ(NormaliseDisplayAddress(row.address), row.display);
  }
}

TEST(StripSchemeTest, RemovesAnySchemeBeforeTheFirstSlash) {
  struct Row {
    const char* address;
    const char* bare;
  };
  const Row rows[] = {
      {"http://www.example.com:8080/a#top", "www.example.com:8080/a#top"},
      {"HTTPS://host/x", "host/x"},
      {"gopher://host", "host"},
      {"host/page?u=http://other/", "host/page?u=http://other/"},
      {"host", "host"},
      {"://host", "host"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.address);
    EXPECT_EQ(StripScheme(row.address), row.bare);
  }
}

TEST(IsSameSiteTest, ComparesTheHostWithTheBasesLastTwoLabels) {
  struct Row {
    const char* address;
    const char* base;
    bool same;
  };
  const Row rows[] = {
      {"http://a.b.c/page", "http://b.c/index.htm", true},
      {"http://b.c/page", "http://www.b.c/index.htm", true},
      {"http://x.y.b.c:8080/page", "http://www.b.c:80/", true},
      {"http://a.b.d/page", "http://b.c/index.htm", false},
      {"http://a.B.C/page", "http://b.c/index.htm", false},
      {"http://ab.c/page", "http://b.c/", false},
      {"http://c/page", "http://b.c/", false},
      {"localhost/a", "http://localhost:8080/", true},
      {"http://evil.com/b.c", "http://b.c/", false},
      {"http://anything/", "", true},
      {"http://www.example.com/paths/", "file:///home/ann/site/index.htm", false},
      {"www.example.com/", "FILE:///home/ann/site/index.htm", false},
      {"file:///home/ann/site/a.htm", "file:///home/ann/site/index.htm", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.address) + " on " + row.base);
    std::string bare;
    std::string bareBase;
    EXPECT_EQ(IsSameSite(row.address, row.base, bare, bareBase), row.same);
    EXPECT_EQ(bare, StripScheme(row.address));
    EXPECT_EQ(bareBase, StripScheme(row.base));
  }
}

TEST(SplitHostAndPathTest, PathRunsFromTheFirstSlashToTheFragment) {
  struct Row {
    const char* bare;
    const char* host;
    const char* path;
  };
  const Row rows[] = {
      {"www.example.com:8080/a#top", "www.example.com:8080", "/a"},
      {"host", "host", "/"},
      {"host/", "host", "/"},
      {"host/dir/page.htm?x=1#f", "host", "/dir/page.htm?x=1"},
      {"host#frag", "host", "/"},
      {"", "", "/"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.bare);
    const HostAndPath parts = SplitHostAndPath(row.bare);
    EXPECT_EQ(parts.Host, row.host);
    EXPECT_EQ(parts.Path, row.path);
  }
}

TEST(ResolveLocationTest, ReadsTheLocationAgainstTheRequestedAddress) {
  struct Row {
    const char* location;
    const char* resolved;
  };
  // Requested: host:81/dir/sub/page.htm?q=1#f
  const Row rows[] = {
      {"http://other.example/x.htm", "other.example/x.htm"},
      {"HTTP://other.example", "other.example"},
      {"http://other.example/a/../b.htm", "other.example/b.htm"},
      {"//cdn.example/lib.js", "cdn.example/lib.js"},
      {"/top.htm", "host:81/top.htm"},
      {"/", "host:81/"},
      {"next.htm", "host:81/dir/sub/next.htm"},
      {"./next.htm", "host:81/dir/sub/next.htm"},
      {"../up.htm", "host:81/dir/up.htm"},
      {"../../../../root.htm", "host:81/root.htm"},
      {"deeper/", "host:81/dir/sub/deeper/"},
      {"..", "host:81/dir/"},
      {"?q=2", "host:81/dir/sub/page.htm?q=2"},
      {"#part", "host:81/dir/sub/page.htm?q=1#part"},
      {"/go?to=http://other/", "host:81/go?to=http://other/"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.location);
    EXPECT_EQ(ResolveLocation("host:81/dir/sub/page.htm?q=1#f", row.location), row.resolved);
  }
}

TEST(ResolveLocationTest, RelativeLocationOnAnAddressWithoutPathStartsAtTheRoot) {
  EXPECT_EQ(ResolveLocation("host", "a.htm"), "host/a.htm");
  EXPECT_EQ(ResolveLocation("host", "/a.htm"), "host/a.htm");
}

}  // namespace
}  // namespace gl
