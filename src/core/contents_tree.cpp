#include "core/contents_tree.h"

#include <deque>

#include "core/internal/linked_nodes.h"
#include "core/internal/text_arena.h"

namespace gl {

struct TOCList::Store {
  std::deque<Node> Nodes;  // appending keeps every node in place
  TextArena Texts;
  // The copy of the first name given to Add, which every later Add of the same name shares and
  // no node rewrites; any other name is a node's own copy.
  char* SharedName = nullptr;
};

namespace {

std::string_view CountedOrEmpty(const char* counted) {
  return counted == nullptr ? std::string_view() : TextArena::Counted(counted);
}

}  // namespace

TOCList::TOCList() : ownsStore_(true), store_(new Store) {}

TOCList::TOCList(Store& store) : ownsStore_(false), store_(&store) {}

TOCList::~TOCList() {
  if (ownsStore_) delete store_;
}

TOCList::Node* TOCList::Add(std::string_view name) {
  Node& node = store_->Nodes.emplace_back(*store_);
  if (store_->SharedName == nullptr && !name.empty())
    store_->SharedName = store_->Texts.KeepCounted(name);
  if (store_->SharedName != nullptr && TextArena::Counted(store_->SharedName) == name) {
    node.name_ = store_->SharedName;
  } else {
    node.SetName(name);
  }
  return LinkLast(Head, Tail, Count, &node);
}

std::string_view TOCList::Node::Name() const {
  return CountedOrEmpty(name_);
}

void TOCList::Node::SetName(std::string_view name) {
  Store& store = *Children.store_;
  if (name.empty()) {
    name_ = nullptr;
  } else if (name_ != nullptr && name_ != store.SharedName && name.size() <= Name().size()) {
    name_ = TextArena::Rewrite(name_, name);
  } else {
    name_ = store.Texts.KeepCounted(name);
  }
}

std::string_view TOCList::Node::Fragment() const {
  return CountedOrEmpty(fragment_);
}

void TOCList::Node::SetFragment(std::string_view fragment) {
  fragment_ = fragment.empty() ? nullptr : Children.store_->Texts.KeepCounted(fragment);
}

}  // namespace gl
