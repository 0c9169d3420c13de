#include "core/page_table.h"

#include <utility>

#include "core/internal/linked_nodes.h"

namespace gl {

TPageLList::~TPageLList() {
  DeleteChain(Head);
}

TPageRecord* TPageLList::Add(TPageRecord record) {
  TPageRecord* added = LinkFirst(Head, Count, new TPageRecord(std::move(record)));
  if (added->TocNode != nullptr) added->TocNode->Page = added;
  return added;
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

TPageRecord* THashTable::AddStored(std::string_view address, std::string_view localName,
                                   std::int32_t remainingDepth, TOCList::Node* tocNode,
                                   bool frameRole) {
  return Add({.Address = std::string(address),
              .LocalName = std::string(localName),
              .Stored = true,
              .RemainingDepth = remainingDepth,
              .TocNode = tocNode,
              .FrameRole = frameRole});
}

TPageRecord* THashTable::AddPromised(std::string_view address, std::string_view localName,
                                     std::int32_t remainingDepth, TOCList::Node* tocNode,
                                     bool frameRole) {
  TPageRecord* record = AddStored(address, localName, remainingDepth, tocNode, frameRole);
  record->Stored = false;
  return record;
}

TPageRecord* THashTable::Add(TPageRecord record) {
  TPageLList& bucket = buckets_[HashOf(record.Address)];
  TPageRecord* added = bucket.Add(std::move(record));
  newest_[added->Address] = added;
  return added;
}

TPageRecord* THashTable::Find(std::string_view address) const {
  const auto found = newest_.find(address);
  return found == newest_.end() ? nullptr : found->second;
}

}  // namespace gl
