#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/contents_tree.h"
#include "core/link_list.h"
#include "core/memory_stream.h"
#include "core/page_table.h"

namespace gl {
namespace {

using Texts = std::vector<std::string>;

// The texts from Head along the links, checked against Count and Tail.
Texts TextsOf(const TLList& list) {
  Texts texts;
  const TLList::Node* last = nullptr;
  for (auto* node = list.First(); node != nullptr; node = node->Next) {
    texts.push_back(node->Text);
    last = node;
  }
  EXPECT_EQ(static_cast<std::size_t>(list.Count), texts.size());
  EXPECT_EQ(list.Tail, last);
  return texts;
}

TEST(LinkListTest, AppendKeepsACopyAndPushStacksInFront) {
  TLList list;
  EXPECT_EQ(list.First(), nullptr);
  std::string buffer = "www.example.com/a.htm";
  auto* head = list.Append(buffer, 1);
  buffer.assign(buffer.size(), 'x');
  EXPECT_EQ(list.Append("b", 0), head);
  EXPECT_EQ(TextsOf(list), (Texts{"www.example.com/a.htm", "b"}));
  EXPECT_EQ(list.Head->Flag, 1);
  EXPECT_EQ(list.Tail->Flag, 0);

  // Pushing into an empty list sets the tail, so a later Append links after the true last node.
  TLList stack;
  stack.Push("a");
  stack.Push("b");
  EXPECT_EQ(stack.Head->Flag, 0);
  stack.Append("c", 1);
  EXPECT_EQ(TextsOf(stack), (Texts{"b", "a", "c"}));
}

TEST(LinkListTest, RemoveKeepsHeadTailAndCountRight) {
  TLList list;
  for (const char* text : {"a", "b", "c", "d"})
    list.Append(text, 0);
  EXPECT_EQ(list.Remove(list.Tail), list.Head);
  EXPECT_EQ(list.Remove(list.Head->Next)->Text, "a");
  EXPECT_EQ(TextsOf(list), (Texts{"a", "c"}));
  EXPECT_EQ(list.Remove(list.Head)->Text, "c");
  list.Append("e", 0);
  EXPECT_EQ(TextsOf(list), (Texts{"c", "e"}));
  list.Remove(list.Head);
  EXPECT_EQ(list.Remove(list.Head), nullptr);
  EXPECT_EQ(TextsOf(list), Texts{});
  list.Append("f", 0);
  TLList other;
  other.Append("x", 0);
  EXPECT_EQ(list.Remove(other.Head), nullptr);  // not in the list: nothing changes
  EXPECT_EQ(TextsOf(list), Texts{"f"});
}

// Bytes count as unsigned and the sum cannot overflow, so the bucket is never negative.
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
}

}  // namespace
}  // namespace gl
