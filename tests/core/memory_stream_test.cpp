#include "core/memory_stream.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

TEST(MemoryStreamTest, WriteOverwritesThenExtendsAndReadStopsAtTheEnd) {
  MemoryStream stream(std::string("abcdef"));
  stream.Seek(4);
  stream.Write("XYZ");
  EXPECT_EQ(stream.View(), "abcdXYZ");
  stream.Seek(5);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "YZ");
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
  stream.Seek(99);
  EXPECT_EQ(stream.Position(), 7u);
}

// A caller may shorten the buffer under the position; neither Read nor Write may then touch
// memory past its end.
TEST(MemoryStreamTest, BufferShortenedUnderThePositionIsSafe) {
  MemoryStream stream(std::string("0123456789"));
  stream.Seek(8);
  stream.Bytes().resize(4);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(stream.Position(), 4u);
  stream.Seek(8);
  stream.Bytes().resize(2);
  stream.Write("ab");
  EXPECT_EQ(stream.View(), "01ab");
  EXPECT_EQ(stream.Position(), 4u);
}

}  // namespace
}  // namespace gl
