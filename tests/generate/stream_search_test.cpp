#include "generate/stream_search.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

TEST(StreamSearchTest, BodyStartTakesTheEarlierEmptyLine) {
  EXPECT_EQ(BodyStart("HTTP/1.0 200\r\n\r\nbody"), 16u);
  EXPECT_EQ(BodyStart("HTTP/1.0 200\n\nbody\r\n\r\n"), 14u);
  EXPECT_EQ(BodyStart("HTTP/1.0 200\r\n\r\nbody\n\n"), 16u);
  EXPECT_EQ(BodyStart("no header end"), kNone);
}

}  // namespace
}  // namespace gl
