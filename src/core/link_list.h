#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "core/internal/text_arena.h"

namespace gl {

struct TPageRecord;

// A singly linked list of byte strings, each with a one-byte flag. The spider uses two of them as
// level queues: the page rewriter appends the links it finds, the spider takes them from the
// front. Used as a stack, Push adds in front.
//
// Nodes and their texts are packed in blocks that are all freed at once when the list becomes
// empty, as a level queue does once the spider has taken every link of it. Nodes taken out in the
// order they were added free their blocks as they go; texts, and a node taken out of turn, stay
// until the list is empty.
class TLList {
 public:
  struct Node {
    Node* Next = nullptr;
    std::string_view Text;  // the list's private copy of the string given
    // A node that stands for a page record's address keeps no copy: its Text is empty.
    const TPageRecord* Page = nullptr;
    std::uint8_t Flag = 0;

    // The string: Text, or the page record's address.
    std::string String() const;
  };

  TLList() = default;
  TLList(const TLList&) = delete;
  TLList& operator=(const TLList&) = delete;

  // Links a new node after Tail and returns Head (the first node, not the new one).
  Node* Append(std::string_view text, std::uint8_t flag);
  // As Append, for the address of `page`, which must stay in place as long as the node.
  Node* AppendPage(const TPageRecord& page, std::uint8_t flag);
  // Links a new node with flag 0 in front of Head; returns Head.
  Node* Push(std::string_view text);
  Node* First() const { return Count >= 1 ? Head : nullptr; }
  // Unlinks `node`, which is not to be used afterwards; returns Head afterwards, or none when the
  // list was empty or the node is not in it.
  Node* Remove(Node* node);

  std::int32_t Count = 0;
  Node* Head = nullptr;
  Node* Tail = nullptr;

 private:
  // Links a copy of `node` after Tail; returns Head.
  Node* LinkLast(const Node& node);

  std::deque<Node> nodes_;
  TextArena texts_;
};

}  // namespace gl
