#include "core/contents_tree.h"

#include <vector>

namespace gl {

// Frees the whole tree without recursion: a site spidered 99 levels deep must not depend on the
// stack. Child lists are detached and destroyed in turn from a work list.
TOCList::~TOCList() {
  std::vector<TOCList*> pending;
  Node* node = Head;
  Head = Tail = nullptr;
  while (true) {
    while (node != nullptr) {
      Node* next = node->Next;
      if (node->Children != nullptr) {
        pending.push_back(node->Children);
      }
      delete node;
      node = next;
    }
    if (pending.empty()) break;
    TOCList* list = pending.back();
    pending.pop_back();
    node = list->Head;
    list->Head = list->Tail = nullptr;
    delete list;
  }
}

TOCList::Node* TOCList::Add(std::string_view name) {
  Node* node = new Node{nullptr, new TOCList, std::string(name), std::string(), nullptr};
  if (Count == 0) {
    Head = node;
  } else {
    Tail->Next = node;
  }
  Tail = node;
  ++Count;
  return Head;
}

}  // namespace gl
