#include "core/contents_tree.h"

#include <deque>
#include <unordered_map>

#include "core/internal/text_arena.h"

namespace gl {

struct TOCList::Store {
  explicit Store(const TOCList& root) : Root(&root) {}

  const TOCList* Root;  // the list that owns the store
  // The level that the last node went to, and that node: a level is filled in one go, so its tail
  // is almost always here, and another level is walked to its end.
  const TOCList* LastLevel = nullptr;
  Node* LastTail = nullptr;
  std::deque<Node> Nodes;  // appending keeps every node in place
  TextArena Texts;
  // The copy of the first name given to Add, which every later Add of the same name shares and
  // no node rewrites; any other name is a node's own copy.
  char* SharedName = nullptr;
  // The few nodes with a fragment keep it here rather than in a field that every node would pay.
  std::unordered_map<const Node*, const char*> Fragments;
};

TOCList::TOCList() : store_(new Store(*this)) {}

TOCList::TOCList(Store& store) : store_(&store) {}

TOCList::~TOCList() {
  if (store_->Root == this) delete store_;
}

TOCList::Node* TOCList::Add(std::string_view name) {
  Store& store = *store_;
  Node& node = store.Nodes.emplace_back(store);
  if (store.SharedName == nullptr && !name.empty())
    store.SharedName = store.Texts.KeepCounted(name);
  if (store.SharedName != nullptr && TextArena::Counted(store.SharedName) == name) {
    node.name_ = store.SharedName;
  } else {
    node.SetName(name);
  }
  Node* tail = store.LastLevel == this ? store.LastTail : Head;
  while (tail != nullptr && tail->Next != nullptr)
    tail = tail->Next;
  (tail == nullptr ? Head : tail->Next) = &node;
  store.LastLevel = this;
  store.LastTail = &node;
  return &node;
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
