#include "core/page_table.h"

#include <functional>

namespace gl {
namespace {

constexpr std::uint32_t kRecordsPerBlock = 512;
constexpr std::size_t kFirstIndexSize = 64;  // a power of two, as every later size

}  // namespace

THashTable::THashTable() : newest_(kFirstIndexSize, 0) {}

THashTable::~THashTable() = default;

TPageRecord* THashTable::AddStored(std::string_view address, std::string_view localName,
                                   std::int32_t remainingDepth, TOCList::Node* tocNode,
                                   bool frameRole) {
  std::size_t at = SlotOf(address);
  if (newest_[at] == 0 && (addressCount_ + 1) * 4 > newest_.size() * 3) {
    GrowIndex();
    at = SlotOf(address);
  }
  std::uint32_t& slot = newest_[at];
  TPageRecord& record = NewRecord();
  if (slot == 0) {
    ++addressCount_;
    record.Address = texts_.Keep(address);
  } else {
    record.Next = &RecordAt(slot);
    record.Address = record.Next->Address;  // one copy of the address serves all its records
  }
  slot = recordCount_;
  record.LocalName = texts_.Keep(localName);
  record.TocNode = tocNode;
  record.RemainingDepth = remainingDepth;
  record.Stored = true;
  record.FrameRole = frameRole;
  if (tocNode != nullptr) tocNode->Page = &record;
  return &record;
}

TPageRecord* THashTable::AddPromised(std::string_view address, std::string_view localName,
                                     std::int32_t remainingDepth, TOCList::Node* tocNode,
                                     bool frameRole) {
  TPageRecord* record = AddStored(address, localName, remainingDepth, tocNode, frameRole);
  record->Stored = false;
  return record;
}

TPageRecord* THashTable::Find(std::string_view address) const {
  const std::uint32_t number = newest_[SlotOf(address)];
  return number == 0 ? nullptr : &RecordAt(number);
}

TPageRecord& THashTable::NewRecord() {
  if (recordCount_ % kRecordsPerBlock == 0) {
    blocks_.push_back(std::make_unique<TPageRecord[]>(kRecordsPerBlock));
  }
  return RecordAt(++recordCount_);
}

TPageRecord& THashTable::RecordAt(std::uint32_t number) const {
  return blocks_[(number - 1) / kRecordsPerBlock][(number - 1) % kRecordsPerBlock];
}

std::size_t THashTable::SlotOf(std::string_view address) const {
  const std::size_t mask = newest_.size() - 1;
  for (std::size_t at = std::hash<std::string_view>{}(address)&mask;; at = (at + 1) & mask) {
    const std::uint32_t number = newest_[at];
    if (number == 0 || RecordAt(number).Address == address) return at;
  }
}

void THashTable::GrowIndex() {
  std::vector<std::uint32_t> old(newest_.size() * 2, 0);
  old.swap(newest_);
  for (const std::uint32_t number : old) {
    if (number != 0) newest_[SlotOf(RecordAt(number).Address)] = number;
  }
}

}  // namespace gl
