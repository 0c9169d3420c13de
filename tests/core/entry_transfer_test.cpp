#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/entry_holder.h"
#include "core/entry_sort.h"

namespace gl {
namespace {

TEST(EntryHolderTest, CarriesEveryFieldWithTextsCutTo256Characters) {
  EntryHolder holder;
  EXPECT_FALSE(holder.HasClip());
  TWebEntry entry;
  entry.Active = false;
  entry.Name = std::string(300, 'n');
  entry.NameSet = true;
  entry.URL = std::string(255, 'u') + "\xC3\xA9\xC3\xA9";  // 257 characters of UTF-8
  entry.Depth = 7;
  entry.Images = entry.OtherFiles = true;
  entry.StayLocal = false;
  entry.UserName = "ann";
  entry.Password = std::string(256, 'p') + "\xE9";  // not UTF-8: bytes
  entry.ExtraText = "x";
  holder.Copy(entry, "Entire Page");

  TWebEntry expected = entry;
  expected.Name.resize(256);
  expected.URL.resize(257);  // 255 bytes and one two-byte character
  expected.Password.resize(256);
  EXPECT_TRUE(holder.HasClip());
  EXPECT_EQ(holder.DepthText(), "Entire Page");
  const TWebEntry& held = holder.Entry();
  EXPECT_EQ(std::tie(held.Active, held.Name, held.NameSet, held.URL, held.Depth, held.EntryFlag,
                     held.Images, held.OtherFiles, held.StayLocal, held.UserName, held.Password,
                     held.ExtraText),
            std::tie(expected.Active, expected.Name, expected.NameSet, expected.URL, expected.Depth,
                     expected.EntryFlag, expected.Images, expected.OtherFiles, expected.StayLocal,
                     expected.UserName, expected.Password, expected.ExtraText));
}

TEST(EntryHolderTest, DeleteQuestionNamesTheVerb) {
  const UserMessage cut = DeleteEntryQuestion("Cut");
  EXPECT_EQ(cut.Title, "Cut a Web Entry");
  EXPECT_EQ(cut.Text, "Are you sure you want to cut this Web Entry and all of its properties?");
  EXPECT_EQ(DeleteEntryQuestion("Delete").Title, "Delete a Web Entry");
}

std::vector<TWebEntry> Named(const std::vector<std::string>& names) {
  std::vector<TWebEntry> entries(names.size());
  for (std::size_t i = 0; i < names.size(); ++i)
    entries[i].Name = names[i];
  return entries;
}

TEST(EntrySortTest, ExchangeSortByUnsignedBytes) {
  const struct {
    std::vector<std::string> names;
    std::vector<std::string> sorted;
    std::vector<std::pair<std::size_t, std::size_t>> exchanges;
  } cases[] = {
      {{"b", "B", "a"}, {"B", "a", "b"}, {{0, 1}, {1, 2}}},
      {{"ab", "a", "\xE9", "z"}, {"a", "ab", "z", "\xE9"}, {{0, 1}, {2, 3}}},
      {{"a", "b"}, {"a", "b"}, {}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.names[0] + row.names[1]);
    std::vector<TWebEntry> entries = Named(row.names);
    std::vector<std::pair<std::size_t, std::size_t>> exchanges;
    SortEntries(entries, [&](std::size_t i, std::size_t j) { exchanges.emplace_back(i, j); });
    std::vector<std::string> sorted;
    for (const TWebEntry& entry : entries)
      sorted.push_back(entry.Name);
    EXPECT_EQ(sorted, row.sorted);
    EXPECT_EQ(exchanges, row.exchanges);
  }
}

}  // namespace
}  // namespace gl
