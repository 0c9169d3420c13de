#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/contents_tree.h"
#include "core/link_list.h"
#include "core/page_table.h"

namespace gl {
namespace {

std::vector<std::string> Texts(const TLList& list) {
  std::vector<std::string> texts;
  for (auto* node = list.First(); node != nullptr; node = node->Next)
    texts.push_back(node->Text);
  return texts;
}

TEST(LinkListTest, AppendReturnsHeadAndKeepsTail) {
  TLList list;
  EXPECT_EQ(list.First(), nullptr);
  auto* head = list.Append("a", 1);
  EXPECT_EQ(head, list.Head);
  EXPECT_EQ(list.Head, list.Tail);
  EXPECT_EQ(list.Append("b", 0), head);
  EXPECT_EQ(list.Tail->Text, "b");
  EXPECT_EQ(list.Head->Flag, 1);
  EXPECT_EQ(list.Tail->Flag, 0);
  EXPECT_EQ(list.Count, 2);
}

TEST(LinkListTest, CopiesTheCallersText) {
  TLList list;
  {
    std::string buffer = "www.example.com/a.htm";
    list.Append(buffer, 0);
    buffer.assign(buffer.size(), 'x');
  }
  EXPECT_EQ(list.First()->Text, "www.example.com/a.htm");
}

TEST(LinkListTest, RemoveOnlyNodeThenAppendAgain) {
  TLList list;
  list.Append("a", 0);
  EXPECT_EQ(list.Remove(list.Head), nullptr);
  EXPECT_EQ(list.Count, 0);
  EXPECT_EQ(list.First(), nullptr);
  list.Append("b", 0);
  EXPECT_EQ(Texts(list), std::vector<std::string>{"b"});
  EXPECT_EQ(list.Tail, list.Head);
}

TEST(LinkListTest, RemoveLastOfThreeMovesTail) {
  TLList list;
  list.Append("a", 0);
  list.Append("b", 0);
  list.Append("c", 0);
  EXPECT_EQ(list.Remove(list.Tail), list.Head);
  EXPECT_EQ(list.Tail->Text, "b");
  list.Append("d", 0);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "d"}));
}

TEST(LinkListTest, RemoveOfAForeignNodeChangesNothing) {
  TLList list, other;
  list.Append("a", 0);
  other.Append("x", 0);
  EXPECT_EQ(list.Remove(other.Head), nullptr);
  EXPECT_EQ(list.Count, 1);
  TLList empty;
  EXPECT_EQ(empty.Remove(list.Head), nullptr);
  EXPECT_EQ(list.Count, 1);
}

TEST(LinkListTest, RemoveFromTheMiddleAndTheFront) {
  TLList list;
  list.Append("a", 0);
  list.Append("b", 0);
  list.Append("c", 0);
  EXPECT_EQ(list.Remove(list.Head->Next)->Text, "a");
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(list.Remove(list.Head)->Text, "c");
  EXPECT_EQ(list.Head, list.Tail);
  list.Append("d", 0);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"c", "d"}));
  EXPECT_EQ(list.Count, 2);
}

TEST(LinkListTest, PushStacksInFrontWithFlagZero) {
  TLList list;
  list.Push("a");
  list.Push("b");
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(list.Head->Flag, 0);
  // Appending after pushes links after the real last node.
  list.Append("c", 1);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "a", "c"}));
}

TEST(PageTableTest, HashIsTheByteSumModuloBuckets) {
  THashTable table(kPageTableBuckets);
  EXPECT_EQ(table.HashOf(""), 0);
  EXPECT_EQ(table.HashOf("a"), 0);  // 97
  EXPECT_EQ(table.HashOf("b"), 1);
  EXPECT_EQ(table.HashOf("\xff"), 255 % 97);  // bytes count as unsigned
  EXPECT_EQ(table.HashOf("a\x61"), 0);        // 194 is a multiple of 97
}

TEST(PageTableTest, FindReturnsTheNewestRecordForAnAddress) {
  THashTable table(kPageTableBuckets);
  EXPECT_EQ(table.Find("host/"), nullptr);
  table.Add("host/", "GL0.htm", 0, 3, 1, nullptr, 0);
  auto* newer = table.Add("host/", "GL100.htm", 0, 2, 0, nullptr, 1);
  EXPECT_EQ(table.Find("host/"), newer);
  EXPECT_EQ(newer->LocalName, "GL100.htm");
  EXPECT_EQ(newer->Number, 2);
  EXPECT_EQ(newer->FlagC, 1);
}

TEST(PageTableTest, AddressesSharingABucketStayApart) {
  THashTable table(kPageTableBuckets);
  ASSERT_EQ(table.HashOf("ab/"), table.HashOf("ba/"));
  auto* first = table.Add("ab/", "GL1.htm", 0, 1, 1, nullptr, 0);
  auto* second = table.Add("ba/", "GL2.htm", 0, 1, 1, nullptr, 0);
  EXPECT_EQ(table.Find("ab/"), first);
  EXPECT_EQ(table.Find("ba/"), second);
}

TEST(PageTableTest, HashOfAHugeAddressStaysInRange) {
  THashTable table(kPageTableBuckets);
  const std::string huge(9 * 1024 * 1024, '\xff');  // its byte sum overflows 32 bits
  EXPECT_EQ(table.HashOf(huge), static_cast<std::int32_t>((9LL * 1024 * 1024 * 255) % 97));
}

TEST(PageTableTest, KeysCompareExactly) {
  THashTable table(kPageTableBuckets);
  table.Add("host/Page.htm", "GL0.htm", 0, 1, 1, nullptr, 0);
  EXPECT_EQ(table.Find("host/page.htm"), nullptr);
  EXPECT_EQ(table.Find("host/Page.htm#top"), nullptr);
  EXPECT_NE(table.Find("host/Page.htm"), nullptr);
}

TEST(PageTableTest, AddLinksRecordAndContentsNode) {
  THashTable table(kPageTableBuckets);
  TOCList tree;
  tree.Add("");
  auto* root = tree.Last();
  auto* record = table.Add("host/", "GL0.htm", 0, 1, 1, root, 0);
  EXPECT_EQ(root->Page, record);
  EXPECT_EQ(record->TocNode, root);
}

TEST(ContentsTreeTest, EmptyListHasNoFirstOrLast) {
  TOCList tree;
  EXPECT_EQ(tree.First(), nullptr);
  EXPECT_EQ(tree.Last(), nullptr);
}

TEST(ContentsTreeTest, AddAppendsInOrderAndReturnsHead) {
  TOCList tree;
  auto* head = tree.Add("one");
  EXPECT_EQ(tree.Add("two"), head);
  EXPECT_EQ(tree.Last()->Name, "two");
  EXPECT_EQ(tree.First()->Next, tree.Last());
  EXPECT_EQ(tree.Count, 2);
  EXPECT_EQ(tree.Last()->Children->Count, 0);
}

// Destroys a tree deep enough that a recursive destructor would exhaust the stack; the
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
