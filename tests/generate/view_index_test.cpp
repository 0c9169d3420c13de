#include "generate/internal/view_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generate/internal/hash_set.h"

namespace gl {
namespace {

// Enough to grow both several times: keys that share their first bytes, hashes their low bits.
TEST(ViewIndexTest, KeysAndHashesAreFoundAgainThroughGrowth) {
  std::vector<std::string> keys;
  for (int i = 0; i < 1000; ++i)
    keys.push_back("site.test/dir/page" + std::to_string(i) + ".htm");
  ViewIndex index;
  HashSet set;
  // Found again through copies: keys are compared by bytes, not by place.
  for (const bool again : {false, true}) {
    for (std::uint32_t i = 0; i < keys.size(); ++i) {
      const std::string copy = keys[i];
      const ViewIndex::Found found = index.FindOrAdd(again ? copy : keys[i]);
      EXPECT_EQ(std::pair(found.Added, found.Number), std::pair(!again, i + 1)) << keys[i];
      EXPECT_EQ(set.Insert(std::uint64_t{i} << 20), !again) << i;
    }
  }
  EXPECT_TRUE(index.Contains("site.test/dir/page999.htm"));
  EXPECT_FALSE(index.Contains("site.test/dir/page1000.htm"));
  EXPECT_FALSE(ViewIndex().Contains(""));
  EXPECT_TRUE(set.Insert(1000 << 20));
  EXPECT_FALSE(set.Insert(1));  // 0 stands for 1, as the slots keep 0 for empty
}

}  // namespace
}  // namespace gl
