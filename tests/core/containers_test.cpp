#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/contents_tree.h"
#include "core/link_list.h"
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
  EXPECT_EQ(table.HashOf("\xff"), 255 % 97);
  const std::string huge(9 * 1024 * 1024, '\xff');
  EXPECT_EQ(table.HashOf(huge), static_cast<std::int32_t>((9LL * 1024 * 1024 * 255) % 97));
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

// A recursive destructor would exhaust the stack on a tree this deep and crash the test; the
// sanitizer build also checks that every level is freed.
TEST(ContentsTreeTest, DestroysEveryLevelOfADeepTree) {
  auto tree = std::make_unique<TOCList>();
  TOCList* level = tree.get();
  for (int depth = 0; depth < 200000; ++depth) {
    level->Add("page");
    level->Add("sibling");
    level = level->First()->Children;
  }
  tree.reset();
  SUCCEED();
}

}  // namespace
}  // namespace gl
