#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gl {

struct TPageRecord;

// The contents tree of one web entry, from which its site map is written: one node per page,
// children in link order. Each level is a TOCList kept in insertion order.
class TOCList {
 public:
  struct Node {
    Node* Next = nullptr;
    TOCList* Children = nullptr;  // owned; created empty with the node
    std::string Name;
    std::string Fragment;         // "#..." appended to the page's local name in the site map
    TPageRecord* Page = nullptr;  // set when a page record names this node
  };

  TOCList() = default;
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
};

}  // namespace gl
