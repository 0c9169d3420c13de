#include "core/contents_tree.h"

#include <deque>
#include <unordered_map>

#include "core/internal/linked_nodes.h"
#include "core/internal/text_arena.h"

namespace gl {

struct TOCList::Store {
  std::deque<Node> Nodes;  // appending keeps every node in place
  TextArena Texts;
  // The copy of the first name given to Add, which every later Add of the same name shares and
  // no node rewrites; any other name is a node's own copy.
  char* SharedName = nullptr;
  // The few nodes with a fragment keep it here rather than in a field that every node would pay.
  std::unordered_map<const Node*, const char*> Fragments;
};

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
  return name_ == nullptr ? std::string_view() : TextArena::Counted(name_);
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
  const auto& fragments = Children.store_->Fragments;
  if (fragments.empty()) return {};
  const auto found = fragments.find(this);
  return found == fragments.end() ? std::string_view() : TextArena::Counted(found->second);
}

void TOCList::Node::SetFragment(std::string_view fragment) {
  Store& store = *Children.store_;
  if (fragment.empty()) {
    store.Fragments.erase(this);
  } else {
    store.Fragments[this] = store.Texts.KeepCounted(fragment);
  }
}

}  // namespace gl
