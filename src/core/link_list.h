#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gl {

// A singly linked list of byte strings, each with a one-byte flag. The spider uses two of them as
// level queues: the page rewriter appends the links it finds, the spider takes them from the
// front. Used as a stack, Push adds in front.
class TLList {
 public:
  struct Node {
    Node* Next = nullptr;
    std::string Text;  // a private copy of the string given
    std::uint8_t Flag = 0;
  };

  TLList() = default;
  TLList(const TLList&) = delete;
  TLList& operator=(const TLList&) = delete;
  ~TLList();

  // Links a new node after Tail and returns Head (the first node, not the new one).
  Node* Append(std::string_view text, std::uint8_t flag);
  // Links a new node with flag 0 in front of Head; returns Head.
  Node* Push(std::string_view text);
  Node* First() const { return Count >= 1 ? Head : nullptr; }
  // Unlinks and frees `node`; returns Head afterwards, or none when the list was empty or the
  // node is not in it.
  Node* Remove(Node* node);

  std::int32_t Count = 0;
  Node* Head = nullptr;
  Node* Tail = nullptr;
};

}  // namespace gl
