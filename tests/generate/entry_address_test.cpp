#include "generate/internal/entry_address.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "generate/internal/download.h"

namespace gl {
namespace {

using Pair = std::pair<std::string_view, std::string_view>;

TEST(EntryAddressTest, AddressesExtensionsAndSuffixes) {
  const std::tuple<std::string_view, bool, std::string_view, bool> rows[] = {
      // entry address, secure pages on, canonical, fetchable
      {"HTTP://host/a.htm", false, "host/a.htm", true},
      {"host/a.htm", false, "host/a.htm", true},
      {"https://host/x", false, "https://host/x", false},
      {"HTTPS://host", true, "HTTPS://host/", true},
      {"FILE:///home/ann/a.htm", false, "FILE:///home/ann/a.htm", true},
      {"file://relative", false, "file://relative/", true},
  };
  for (const auto& [url, secure, address, fetchable] : rows) {
    SCOPED_TRACE(url);
    const EntryTarget target = WorkOutEntryAddress(url, secure);
    EXPECT_EQ(std::tie(target.Address, target.Fetchable, target.Mail),
              std::tuple(address, fetchable, false));
  }

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
