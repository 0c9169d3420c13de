#include "generate/internal/view_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gl {
namespace {

// Enough keys to grow the index several times, with keys that share their first bytes.
TEST(ViewIndexTest, KeysKeepTheirNumbersThroughGrowth) {
  std::vector<std::string> keys;
  for (int i = 0; i < 1000; ++i)
    keys.push_back("site.test/dir/page" + std::to_string(i) + ".htm");
  ViewIndex index;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const ViewIndex::Found found = index.FindOrAdd(keys[i]);
    EXPECT_TRUE(found.Added);
    EXPECT_EQ(found.Number, i + 1);
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    SCOPED_TRACE(keys[i]);
    const std::string copy = keys[i];  // compared by bytes, not by place
    const ViewIndex::Found found = index.FindOrAdd(copy);
    EXPECT_FALSE(found.Added);
    EXPECT_EQ(found.Number, i + 1);
  }
  EXPECT_TRUE(index.Contains("site.test/dir/page999.htm"));
  EXPECT_FALSE(index.Contains("site.test/dir/page1000.htm"));
  EXPECT_FALSE(ViewIndex().Contains(""));
}

}  // namespace
}  // namespace gl
