#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace gl {

struct TPageRecord;

// The contents tree of one web entry, from which its site map is written: one node per page,
// children in link order. Each level is a TOCList kept in insertion order. A tree is made as one
// root list; the nodes and texts of all its levels belong to the root and are packed in blocks,
// so a node costs no heap block of its own and the tree is freed without walking it.
class TOCList {
 public:
  struct Node;

  TOCList();
  TOCList(const TOCList&) = delete;
  TOCList& operator=(const TOCList&) = delete;
  ~TOCList();

  // Appends a node named `name`, with an empty child level, and returns it.
  Node* Add(std::string_view name);
  Node* First() const { return Count >= 1 ? Head : nullptr; }
  Node* Last() const { return Count >= 1 ? Tail : nullptr; }

  std::int32_t Count = 0;
  Node* Head = nullptr;
  Node* Tail = nullptr;

 private:
  struct Store;
  explicit TOCList(Store& store);  // a level below a node of the tree

  std::unique_ptr<Store> ownStore_;  // the root's only
  Store* store_;
};

struct TOCList::Node {
  explicit Node(Store& store) : Children(store) {}

  std::string_view Name() const { return name_; }
  void SetName(std::string_view name);
  // "#..." appended to the page's local name in the site map.
  std::string_view Fragment() const { return fragment_; }
  void SetFragment(std::string_view fragment);

  Node* Next = nullptr;
  TOCList Children;             // the level below, empty at first
  TPageRecord* Page = nullptr;  // set when a page record names this node

 private:
  std::string_view name_;  // the tree's own copies
  std::string_view fragment_;
};

}  // namespace gl
