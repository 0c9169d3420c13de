#include <gtest/gtest.h>

#include <string>

#include "core/contents_tree.h"
#include "core/link_list.h"
#include "core/memory_stream.h"
#include "core/page_table.h"

namespace gl {
namespace {

// Items come out in the order they went in; a copy outlives the caller's text, and a list emptied
// from the front (which frees its copies) can be filled again.
TEST(LinkListTest, AQueueTakenFromTheFrontCanBeFilledAgain) {
  TLList list;
  std::string buffer = "www.example.com/a.htm";
  list.Append(buffer, 1);
  buffer.assign(buffer.size(), 'x');
  list.AppendPage(7, 0);
  ASSERT_EQ(list.Count(), 2U);
  EXPECT_TRUE(list.At(0).Copied && list.At(0).Flag == 1);
  EXPECT_EQ(list.Copy(list.At(0)), "www.example.com/a.htm");
  list.RemoveFirst();
  EXPECT_TRUE(!list.At(0).Copied && list.At(0).Number == 7);
  list.RemoveFirst();
  list.Append("c", 0);
  EXPECT_TRUE(list.Count() == 1 && list.Copy(list.Last()) == "c");
}

// Names are kept as a shared form and a number; every name must read back byte for byte.
TEST(PageTableTest, FindGivesTheNewestRecordForExactlyThatAddressAndItsExactNameAmongThousands) {
  TOCList tree;
  THashTable table(&tree);
  const auto described = [&](const TPageRecord* record) {
    return record == nullptr ? "none" : table.Address(*record) + " " + table.LocalName(*record);
  };
  const std::uint32_t node = tree.Add(0, "");
  EXPECT_EQ(table.Find("host/"), nullptr);
  table.AddStored("host/", "GL0.htm", 3);
  auto* newer = table.AddPromised("host/", "GL100.htm", 2, node, true);
  EXPECT_EQ(table.Find("host/"), newer);
  EXPECT_EQ(newer->TocNode, node);
  EXPECT_EQ(&table.RecordAt(tree.Page(node)), newer);
  EXPECT_EQ(table.Find("Host/"), nullptr);
  EXPECT_EQ(table.Find("host/#top"), nullptr);
  const std::string names[] = {"",          "ab/",           "ba/",      "GL0.htm",
                               "GL100.htm", "GL2097150.gif", "GL07.htm", "GL12345678901.htm",
                               "error",     "Brief12.htm",   "GL5",      {"G\0L5.htm", 8},
                               "7",         "GL2097151.htm"};
  for (const std::string& name : names)
    table.AddStored(name, name, 1);
  for (const std::string& name : names)
    EXPECT_EQ(described(table.Find(name)), name + " " + name);

  // Thousands of addresses, each also with an older record in the other role, found through it.
  const auto address = [](int page) { return "site.test/pages/" + std::to_string(page) + ".htm"; };
  for (int page = 0; page < 5000; ++page)
    table.AddStored(address(page), "GL" + std::to_string(page), 1, 0, true);
  for (int page = 0; page < 5000; ++page)
    table.AddPromised(address(page), "new", 2, 0, false);
  const auto frame = [](const TPageRecord& record) { return record.FrameRole; };
  for (int page = 0; page < 5000; ++page) {
    EXPECT_EQ(described(table.Find(address(page))), address(page) + " new");
    EXPECT_EQ(described(table.FindNewest(address(page), frame)),
              address(page) + " GL" + std::to_string(page));
  }
  EXPECT_EQ(table.Find("site.test/pages/5000.htm"), nullptr);
  const std::string huge(100000, 'x');  // longer than a text block
  table.AddStored(huge, "GL9.htm", 1);
  EXPECT_EQ(described(table.Find(huge)), huge + " GL9.htm");
}

// Nodes share the placeholder's copy and rewrite their own copies in place.
TEST(ContentsTreeTest, RenamingANodeLeavesEveryOtherNameAlone) {
  TOCList tree;
  const std::uint32_t first = tree.Add(0, "(unnamed)");
  const std::uint32_t second = tree.Add(0, "(unnamed)");
  const std::uint32_t other = tree.Add(0, "Other page");
  const std::uint32_t child = tree.Add(first, "(unnamed)");
  tree.SetName(first, "A");
  tree.SetName(other, "Oth");
  tree.SetName(other, "Much longer title");
  tree.SetName(second, "site.test/some/page.htm");
  tree.SetName(second, "Title");
  tree.SetFragment(child, "#part");
  // Back to the first level after its child's: the new node still goes last.
  const std::uint32_t last = tree.Add(0, "(unnamed)");
  std::string names;
  for (const std::uint32_t node : {first, second, other, child, last})
    names += std::string(tree.Name(node)) + "|";
  EXPECT_EQ(names, "A|Title|Much longer title|(unnamed)|(unnamed)|");
  EXPECT_TRUE(tree.First() == first && tree.Next(other) == last && tree.First(first) == child &&
              tree.Next(child) == 0);
  EXPECT_EQ(tree.Fragment(child), "#part");
  EXPECT_EQ(tree.Fragment(first), "");
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
