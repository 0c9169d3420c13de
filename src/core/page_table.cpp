#include "core/page_table.h"

namespace gl {

TPageLList::~TPageLList() {
  while (Head != nullptr) {
    TPageRecord* next = Head->Next;
    delete Head;
    Head = next;
  }
}

TPageRecord* TPageLList::Add(std::string_view address, std::string_view localName,
                             std::uint8_t flagA, std::int32_t number, std::uint8_t flagB,
                             TOCList::Node* tocNode, std::uint8_t flagC) {
  Head = new TPageRecord{
      Head, std::string(address), std::string(localName), flagA, number, flagB, tocNode, flagC};
  ++Count;
  if (tocNode != nullptr) tocNode->Page = Head;
  return Head;
}

TPageRecord* TPageLList::Find(std::string_view address) const {
  for (TPageRecord* record = Head; record != nullptr; record = record->Next) {
    if (record->Address == address) return record;
  }
  return nullptr;
}

THashTable::THashTable(std::int32_t bucketCount)
    : BucketCount(bucketCount), buckets_(new TPageLList[bucketCount]) {}

// The byte sum, bytes taken as 0..255, modulo the bucket count. The sum is kept in 64 bits: a
// signed 32-bit total would overflow for addresses over 8 MB and hash to a negative bucket.
std::int32_t THashTable::HashOf(std::string_view address) const {
  std::int64_t sum = 0;
  for (unsigned char byte : address)
    sum += byte;
  return static_cast<std::int32_t>(sum % BucketCount);
}

TPageRecord* THashTable::Add(std::string_view address, std::string_view localName,
                             std::uint8_t flagA, std::int32_t number, std::uint8_t flagB,
                             TOCList::Node* tocNode, std::uint8_t flagC) {
  TPageRecord* record =
      buckets_[HashOf(address)].Add(address, localName, flagA, number, flagB, tocNode, flagC);
  newest_[record->Address] = record;
  return record;
}

TPageRecord* THashTable::Find(std::string_view address) const {
  const auto found = newest_.find(address);
  return found == newest_.end() ? nullptr : found->second;
}

}  // namespace gl
