#include "ui/qt_text.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

TEST(QtText, Utf8RoundTripsAndOtherBytesShowAsLatin1) {
  EXPECT_EQ(ToBytes(ToQString("caf\xc3\xa9")), "caf\xc3\xa9");
  EXPECT_EQ(ToQString("caf\xe9"), QString::fromUtf8("caf\xc3\xa9"));
  EXPECT_EQ(ToQString(std::string_view("a\0b", 3)).size(), 3);
}

}  // namespace
}  // namespace gl
