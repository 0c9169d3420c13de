#pragma once

#include <cstdint>

// The bookkeeping that the link list and the contents tree share: nodes linked by their Next
// member, with a count and, for lists kept in order, a tail.

namespace gl {

// Links `node` after `tail` (or as the only node of an empty list) and counts it.
template <typename Node>
Node* LinkLast(Node*& head, Node*& tail, std::int32_t& count, Node* node) {
  if (count == 0) {
    head = node;
  } else {
    tail->Next = node;
  }
  tail = node;
  ++count;
  return node;
}

// Links `node` in front of `head` and counts it.
template <typename Node>
Node* LinkFirst(Node*& head, std::int32_t& count, Node* node) {
  node->Next = head;
  head = node;
  ++count;
  return node;
}

}  // namespace gl
