#include "core/contents_tree.h"

#include <vector>

#include "core/internal/linked_nodes.h"

namespace gl {

// Frees the whole tree without recursion: a site spidered 99 levels deep must not depend on the
// stack. Child lists are detached and destroyed in turn from a work list.
TOCList::~TOCList() {
  std::vector<TOCList*> pending;
  const auto keepChildren = [&pending](Node& node) {
    if (node.Children != nullptr) pending.push_back(node.Children);
  };
  DeleteChain(Head, keepChildren);
  Tail = nullptr;
  while (!pending.empty()) {
    TOCList* list = pending.back();
    pending.pop_back();
    DeleteChain(list->Head, keepChildren);
    delete list;  // its nodes are gone already
  }
}

TOCList::Node* TOCList::Add(std::string_view name) {
  return LinkLast(Head, Tail, Count,
                  new Node{nullptr, new TOCList, std::string(name), std::string(), nullptr});
}

}  // namespace gl
