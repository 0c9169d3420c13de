#include "generate/internal/entry_address.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "generate/internal/download.h"

namespace gl {
namespace {

using Pair = std::pair<std::string_view, std::string_view>;

TEST(EntryAddressTest, AddressesExtensionsAndSuffixes) {
  const std::tuple<std::string_view, std::string_view, bool, bool> rows[] = {
      // entry address, canonical, fetchable, mail
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
