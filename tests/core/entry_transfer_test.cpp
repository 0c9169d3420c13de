#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/brief_format.h"
#include "core/entry_holder.h"
#include "core/entry_sort.h"

namespace gl {
namespace {

TEST(EntryHolderTest, CarriesEveryFieldWithTextsCutTo256Characters) {
  EntryHolder holder;
  EXPECT_FALSE(holder.HasClip());
  const std::string url = std::string(255, 'u') + "\xC3\xA9\xC3\xA9";  // 257 characters of UTF-8
  const std::string password = std::string(256, 'p') + "\xE9";         // not UTF-8: bytes
  const TWebEntry entry{
      false, std::string(300, 'n'), true, url, 7, true, true, true, false, "ann", password, "x"};
  holder.Copy(entry, "Entire Page");

  TWebEntry expected = entry;
  expected.Name.resize(256);
  expected.URL.resize(257);  // 255 bytes and one two-byte character
  expected.Password.resize(256);
  EXPECT_TRUE(holder.HasClip());
  // The brief file stores every field of an entry.
  TBriefRecord held, wanted;
  held.WebList = {holder.Entry()};
  wanted.WebList = {expected};
  EXPECT_EQ(BriefFileBytes(held), BriefFileBytes(wanted));
}

TEST(EntrySortTest, ExchangeSortByUnsignedBytes) {
  const std::pair<std::vector<std::string>, std::vector<std::size_t>> cases[] = {
      {{"ab", "a", "\xE9", "z"}, {1, 0, 3, 2}},  // a, ab, z, \xE9
      {{"x", "a", "x", "a"}, {1, 3, 2, 0}},      // not stable: the exchanges decide equal names
  };
  for (const auto& [names, order] : cases) {
    SCOPED_TRACE(names[0] + names[1]);
    std::vector<TWebEntry> entries;
    for (const std::string& name : names)
      entries.emplace_back().Name = name;
    EXPECT_EQ(ExchangeSortOrder(entries), order);
    Reorder(entries, order);
    EXPECT_EQ(entries[0].Name, names[order[0]]);
  }
}

}  // namespace
}  // namespace gl
