#include "generate/address.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "generate/download.h"
#include "generate/entry_address.h"

namespace gl {
namespace {

using Pair = std::pair<std::string_view, std::string_view>;
using Triple = std::tuple<std::string_view, std::string_view, std::string_view>;

TEST(ResolveAddressTest, Table) {
  const Triple rows[] = {
      // base, value, resolved
      {"http://host/a/b/page.htm", "../c/file.htm", "host/a/c/file.htm"},
      {"host/a/page.htm#old", "#new", "host/a/page.htm#new"},
      // A bare host as base, and as absolute value.
      {"host", "file.htm", "host/file.htm"},
      {"http://host", "file.htm", "host/file.htm"},
      {"host/a/", "http://other.test", "other.test/"},
      {"host/a/", "HTTP://Other.Test/X.htm", "Other.Test/X.htm"},
      // Host-relative values keep the host and port.
      {"host:8080/a/b.htm", "/c.htm", "host:8080/c.htm"},
      {"http://host:8080/a/b.htm", "\\c.htm", "host:8080\\c.htm"},
      {"host/a/b.htm", "//cdn.test/x.gif", "cdn.test/x.gif"},
      // Leading blanks and quotes are skipped.
      {"host/a/b.htm", " \"c.htm", "host/a/c.htm"},
      // "." and ".." segments; a ".." with nothing to remove stays.
      {"host/a/b.htm", "./c/./d.htm", "host/a/c/d.htm"},
      {"host/b.htm", "../../x.htm", "host/../../x.htm"},
      {"host/a/b/", "..", "host/a/"},
      {"host/a/b.htm", "c/..", "host/a/"},
      // Queries: a "://" inside a query is no scheme, and dots there are left alone.
      {"host/a/b.htm", "x.cgi?u=http://e.test/../y", "host/a/x.cgi?u=http://e.test/../y"},
      {"host/a/b.htm?q=1", "?q=2", "host/a/b.htm?q=2"},
      {"host", "?q=2", "host/?q=2"},
      // The empty value is the page itself.
      {"host/a/b.htm", "", "host/a/b.htm"},
      // Local pages keep their scheme, so their links stay local.
      {"file:///home/ann/site/index.htm", "sub/a.htm", "file:///home/ann/site/sub/a.htm"},
      {"file:///home/ann/site/index.htm", "../up.htm", "file:///home/ann/up.htm"},
      {"file:///home/ann/site/index.htm", "/etc/x.htm", "file:///etc/x.htm"},
      // A web link never becomes a local one.
      {"host/a/b.htm", "http://file:///etc/passwd", "http://file:///etc/passwd"},
      {"host/a/b.htm", "http://file:/.//etc/passwd", "http://file://etc/passwd"},
      {"host/a/b.htm", "HTTP://FILE://x", "http://FILE://x/"},
      {"file:/.//x/a.htm", "", "http://file://x/a.htm"},
      {":", "//file://e.", "http://file://e./"},
      // Secure pages keep their scheme, and so do their relative links; a plain link leaves it.
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

TEST(ResolveAddressTest, DotsFragmentsAndRedirects) {
  // Dots collapse in the path only, never in the host, the query or the fragment.
  EXPECT_EQ(CollapseDots("http://host/../a"), "http://host/../a");
  EXPECT_EQ(CollapseDots("host/x/../a?p=../b#../c"), "host/a?p=../b#../c");
  EXPECT_EQ(CollapseDots("host/x/./y/../"), "host/x/");
  EXPECT_EQ(CollapseDots("host\\x\\..\\y"), "host\\y");
  EXPECT_EQ(CollapseDots("host/a..b/c"), "host/a..b/c");
  EXPECT_EQ(CutFragment("host/a.htm#x#y"), "host/a.htm");
  // A fetched page is read where it was found, but never on the disk.
  EXPECT_EQ(FetchedPageAddress("host/a", "host/b/"), "host/b/");
  EXPECT_EQ(FetchedPageAddress("host/a", "other"), "other/");
  EXPECT_EQ(FetchedPageAddress("host/a", "file:///etc/passwd"), "host/a");
  EXPECT_EQ(FetchedPageAddress("file:///x/a.htm", "file:///x/a.htm"), "file:///x/a.htm");
}

TEST(ResolveAddressTest, SchemeOfLink) {
  const std::tuple<std::string_view, bool, bool> rows[] = {
      // value, another scheme, mail
      {"mailto:ann@host.test", true, true},
      {"MAILTO:ann@host.test", true, true},
      {" 'mailto:x", true, true},
      {"news:comp.lang", true, false},
      {"https://host/a", true, false},  // a secure address is another scheme, unless secure
                                        // pages are on (below)
      {"javascript:go()", true, false},
      {"HTTP://host/a", false, false},
      {"a/b:c", false, false},
      {"page.cgi?x=a:b", false, false},
      {"page.htm#a:b", false, false},
  };
  for (const auto& [value, other, mail] : rows) {
    SCOPED_TRACE(value);
    EXPECT_EQ(SchemeOfLink(value, false).Other, other);
    EXPECT_EQ(SchemeOfLink(value, false).Mail, mail);
  }
  EXPECT_FALSE(SchemeOfLink("HTTPS://host/a", true).Other);
  EXPECT_TRUE(SchemeOfLink("xhttps://host/a", true).Other);
}

TEST(EntryAddressTest, Table) {
  const std::tuple<std::string_view, std::string_view, bool, bool> rows[] = {
      // entry address, canonical, fetchable, mail (the whole runs cover the plain forms)
      {"HTTP://host/a.htm", "host/a.htm", true, false},
      {"host/a.htm", "host/a.htm", true, false},
      {"https://host/x", "https://host/x", false, false},
      {"FILE:///home/ann/a.htm", "FILE:///home/ann/a.htm", true, false},
      {"file://relative", "file://relative/", true, false},
  };
  for (const auto& [url, address, fetchable, mail] : rows) {
    SCOPED_TRACE(url);
    const EntryTarget target = WorkOutEntryAddress(url, false);
    EXPECT_EQ(target.Address, address);
    EXPECT_EQ(target.Fetchable, fetchable);
    EXPECT_EQ(target.Mail, mail);
  }
  EXPECT_EQ(WorkOutEntryAddress("HTTPS://host", true).Address, "HTTPS://host/");
  EXPECT_TRUE(WorkOutEntryAddress("HTTPS://host", true).Fetchable);
}

TEST(EntryAddressTest, FileExtensionsAndSuffixes) {
  const Pair extensions[] = {
      {"host/pub/file.zip", "zip"}, {"host/pub/File.ZIP", "zip"},
      {"host/cgi-bin/x?a=1", ""},   {"host/x?a=1/b.tar", "tar"},
      {"host/x?u=http://y", ""},    {"host/dir.d/file", ""},
      {"host/a.b\\file", ""},       {"host/", ""},
  };
  for (const auto& [address, extension] : extensions) {
    SCOPED_TRACE(address);
    EXPECT_EQ(TopFileExtension(address), extension);
  }
  const Pair suffixes[] = {
      {"host/pics/photo.JPEG", "jpg"},   {"host/pics/photo.jpe", "jpg"}, {"host/movie.mpeg", "mpg"},
      {"host/page.html?x=1.gif", "htm"}, {"host/dir.d/file", ""},        {"host/a.png", "png"},
  };
  for (const auto& [address, suffix] : suffixes) {
    SCOPED_TRACE(address);
    EXPECT_EQ(DownloadSuffix(address), suffix);
  }
}

}  // namespace
}  // namespace gl
