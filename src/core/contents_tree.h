#pragma once

#include <cstdint>
#include <deque>
#include <string_view>
#include <unordered_map>

#include "core/internal/text_arena.h"

namespace gl {

// The contents tree of one web entry, from which its site map is written: one node per page,
// children in link order. A large site has a node for every page, so a node is four numbers:
// nodes are numbered from 1 in the order they were added, 0 stands for none and, as a parent, for
// the tree's top level; a node names its page by the page record's number; texts are packed in
// blocks.
class TOCList {
 public:
  TOCList();

  // Appends a node named `name`, without children, to the children of `parent` and returns it.
  // The nodes added with the tree's first name (a placeholder until the page's title is known)
  // share one copy of it.
  std::uint32_t Add(std::uint32_t parent, std::string_view name);

  std::uint32_t First(std::uint32_t parent = 0) const { return At(parent).FirstChild; }
  std::uint32_t Next(std::uint32_t node) const { return At(node).Next; }
  std::string_view Name(std::uint32_t node) const;
  void SetName(std::uint32_t node, std::string_view name);
  // "#..." appended to the page's local name in the site map.
  std::string_view Fragment(std::uint32_t node) const;
  void SetFragment(std::uint32_t node, std::string_view fragment);
  // The number of the page record that names this node, 0 until one does.
  std::uint32_t Page(std::uint32_t node) const { return At(node).Page; }
  void SetPage(std::uint32_t node, std::uint32_t record) { At(node).Page = record; }

 private:
  struct Node {
    std::uint32_t Next = 0;
    std::uint32_t FirstChild = 0;
    std::uint32_t Page = 0;
    // The place of the tree's own counted copy, 0 for an empty name. A copy that only this node
    // names is overwritten in place by a name that fits in it.
    std::uint32_t Name = 0;
  };
  Node& At(std::uint32_t node) { return nodes_[node]; }
  const Node& At(std::uint32_t node) const { return nodes_[node]; }

  std::deque<Node> nodes_;  // the first holds the top level; appending keeps every node in place
  // The parent that the last node went to, and that node: a level is filled in one go, so its
  // tail is almost always here, and another level is walked to its end.
  std::uint32_t lastParent_ = 0;
  std::uint32_t lastTail_ = 0;
  TextArena texts_;
  // The copy of the first name given to Add, which every later Add of the same name shares and
  // no node rewrites; any other name is a node's own copy.
  std::uint32_t sharedName_ = 0;
  // The few nodes with a fragment keep it here rather than in a field that every node would pay.
  std::unordered_map<std::uint32_t, std::uint32_t> fragments_;
};

}  // namespace gl
