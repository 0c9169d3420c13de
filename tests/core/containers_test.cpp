#include <gtest/gtest.h>

#include <string>

#include "core/contents_tree.h"
#include "core/link_list.h"
#include "core/memory_stream.h"
#include "core/page_table.h"

namespace gl {
namespace {

// Emptied from the head, then appended to again (the tail must not point at a freed node).
TEST(LinkListTest, AQueueTakenFromTheFrontCanBeFilledAgain) {
  TLList list;
  std::string buffer = "www.example.com/a.htm";
  list.Append(buffer, 1);
  buffer.assign(buffer.size(), 'x');
  list.Append("b", 0);
  EXPECT_EQ(list.First()->Text, "www.example.com/a.htm");
  EXPECT_EQ(list.Remove(list.First())->Text, "b");
  EXPECT_EQ(list.Remove(list.First()), nullptr);
  EXPECT_EQ(list.First(), nullptr);
  list.Append("c", 0);
  EXPECT_TRUE(list.Count == 1 && list.Head == list.Tail && list.Head->Text == "c");
}

TEST(PageTableTest, HashOfHighBytesAndHugeAddressesStaysInRange) {
  THashTable table(kPageTableBuckets);
  for (const std::string& address : {std::string("\xff"), std::string(9 << 20, '\xff')}) {
    EXPECT_GE(table.HashOf(address), 0);
    EXPECT_LT(table.HashOf(address), kPageTableBuckets);
  }
}

TEST(PageTableTest, FindGivesTheNewestRecordForExactlyThatAddress) {
  THashTable table(kPageTableBuckets);
  TOCList tree;
  TOCList::Node* node = tree.Add("");
  EXPECT_EQ(table.Find("host/"), nullptr);
  table.AddStored("host/", "GL0.htm", 3);
  auto* newer = table.AddPromised("host/", "GL100.htm", 2, node, true);
  EXPECT_EQ(table.Find("host/"), newer);
  EXPECT_EQ(newer->TocNode, node);
  EXPECT_EQ(node->Page, newer);

  ASSERT_EQ(table.HashOf("ab/"), table.HashOf("ba/"));
  auto* first = table.AddStored("ab/", "GL1.htm", 1);
  auto* second = table.AddStored("ba/", "GL2.htm", 1);
  EXPECT_EQ(table.Find("ab/"), first);
  EXPECT_EQ(table.Find("ba/"), second);
  EXPECT_EQ(table.Find("Host/"), nullptr);
  EXPECT_EQ(table.Find("host/#top"), nullptr);
}

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
  // The buffer shortened under the position: no read or write past its end.
  stream.Bytes() = "0123456789";
  stream.Seek(8);
  stream.Bytes().resize(4);
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(stream.Position(), 4u);
  stream.Seek(8);
  stream.Bytes().resize(2);
  stream.Write("ab");
  EXPECT_EQ(stream.View(), "01ab");
}

}  // namespace
}  // namespace gl
