#pragma once

#include <cstdint>
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

  // Appends a node named `name`, with an empty child level, and returns it. The nodes added with
  // the tree's first name (a placeholder until the page's title is known) share one copy of it.
  Node* Add(std::string_view name);
  Node* First() const { return Head; }

  Node* Head = nullptr;

 private:
  struct Store;
  explicit TOCList(Store& store);  // a level below a node of the tree

  // Shared by every level of the tree and owned by its root. A level keeps no tail or count of
  // its own: every page has a node, so those would cost two fields per page.
  Store* store_;
};

struct TOCList::Node {
  explicit Node(Store& store) : Children(store) {}

  std::string_view Name() const;
  void SetName(std::string_view name);
  // "#..." appended to the page's local name in the site map.
  std::string_view Fragment() const;
  void SetFragment(std::string_view fragment);

  Node* Next = nullptr;
  TOCList Children;             // the level below, empty at first
  TPageRecord* Page = nullptr;  // set when a page record names this node

 private:
  friend class TOCList;  // Add gives the shared placeholder
  // The tree's own counted copy (TextArena::KeepCounted), none for an empty name. A copy that
  // only this node names is overwritten in place by a name that fits in it.
  char* name_ = nullptr;
};

}  // namespace gl
