#include "core/contents_tree.h"

#include <deque>

#include "core/internal/linked_nodes.h"
#include "core/internal/text_arena.h"

namespace gl {

struct TOCList::Store {
  std::deque<Node> Nodes;  // appending keeps every node in place
  TextArena Texts;
};

TOCList::TOCList() : ownStore_(std::make_unique<Store>()), store_(ownStore_.get()) {}

TOCList::TOCList(Store& store) : store_(&store) {}

TOCList::~TOCList() = default;

TOCList::Node* TOCList::Add(std::string_view name) {
  Node& node = store_->Nodes.emplace_back(*store_);
  node.SetName(name);
  return LinkLast(Head, Tail, Count, &node);
}

void TOCList::Node::SetName(std::string_view name) {
  name_ = Children.store_->Texts.Keep(name);
}

void TOCList::Node::SetFragment(std::string_view fragment) {
  fragment_ = Children.store_->Texts.Keep(fragment);
}

}  // namespace gl
