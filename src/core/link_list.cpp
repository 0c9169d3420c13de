#include "core/link_list.h"

#include "core/page_table.h"

namespace gl {

std::string TLList::Node::String() const {
  return Page != nullptr ? Page->Address() : std::string(Text);
}

TLList::Node* TLList::Append(std::string_view text, std::uint8_t flag) {
  return LinkLast(Node{nullptr, texts_.Keep(text), nullptr, flag});
}

TLList::Node* TLList::AppendPage(const TPageRecord& page, std::uint8_t flag) {
  return LinkLast(Node{nullptr, {}, &page, flag});
}

TLList::Node* TLList::LinkLast(const Node& node) {
  Node* added = &nodes_.emplace_back(node);
  (Count == 0 ? Head : Tail->Next) = added;
  Tail = added;
  ++Count;
  return Head;
}

TLList::Node* TLList::Push(std::string_view text) {
  Node* added = &nodes_.emplace_back(Node{Head, texts_.Keep(text), nullptr, 0});
  Head = added;
  ++Count;
  // Pushing in front never moves the tail, except into an empty list; keeping Tail right here
  // lets a later Append link after the true last node.
  if (Tail == nullptr) Tail = Head;
  return Head;
}

TLList::Node* TLList::Remove(Node* node) {
  if (Count < 1 || node == nullptr) return nullptr;
  if (node == Head) {
    Head = node->Next;
    if (Tail == node) Tail = nullptr;
  } else {
    Node* previous = Head;
    while (previous != nullptr && previous->Next != node)
      previous = previous->Next;
    if (previous == nullptr) return nullptr;
    previous->Next = node->Next;
    if (Tail == node) Tail = previous;
  }
  // A level queue is taken from the front in the order it was filled: its oldest node goes at
  // once, so the queue's blocks are given back while the spider works through a large level.
  if (node == &nodes_.front()) nodes_.pop_front();
  if (--Count == 0) {
    nodes_.clear();
    nodes_.shrink_to_fit();
    texts_ = TextArena();
  }
  return Head;
}

}  // namespace gl
