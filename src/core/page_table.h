#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/contents_tree.h"

namespace gl {

// One address that a run has met, with the local file that stands for it.
struct TPageRecord {
  TPageRecord* Next = nullptr;
  std::string Address;    // the lookup key, compared byte for byte
  std::string LocalName;  // file name inside the run directory
  // True once the page or file is in the run folder; false while its name is only promised to
  // the links that lead to it.
  bool Stored = false;
  // How many levels below this page the spider still goes: a page reached again with no more
  // depth left than this is not fetched again.
  std::int32_t RemainingDepth = 0;
  TOCList::Node* TocNode = nullptr;  // the page's place in the contents tree, if it has one
  // True for a page stored or promised as a frame of a frame set, which has no navigation bar of
  // its own; the same address may have a second record for its place at the top of a window.
  bool FrameRole = false;

  // Stored with at least `remainingDepth` levels still to go below it: a link that reaches it
  // again with no more depth than that is not fetched again.
  bool StoredDeepEnough(std::int32_t remainingDepth) const {
    return Stored && RemainingDepth >= remainingDepth;
  }
};

// One bucket: records newest first, so Find returns the record added last for an address.
class TPageLList {
 public:
  TPageLList() = default;
  TPageLList(const TPageLList&) = delete;
  TPageLList& operator=(const TPageLList&) = delete;
  ~TPageLList();

  // Links a copy of `record` (its Next aside) in front and returns it. A given contents node gets
  // the new record as its Page, so the two point at each other.
  TPageRecord* Add(TPageRecord record);
  TPageRecord* Find(std::string_view address) const;

  std::int32_t Count = 0;
  TPageRecord* Head = nullptr;
};

// The page table of one web entry: a fixed number of buckets chosen by the byte sum of the address.
class THashTable {
 public:
  explicit THashTable(std::int32_t bucketCount);

  std::int32_t HashOf(std::string_view address) const;

  // A page or file written into the run folder under `localName`.
  TPageRecord* AddStored(std::string_view address, std::string_view localName,
                         std::int32_t remainingDepth, TOCList::Node* tocNode = nullptr,
                         bool frameRole = false);
  // A local name that a link was given before its page is fetched; the spider stores the page
  // under it one level down.
  TPageRecord* AddPromised(std::string_view address, std::string_view localName,
                           std::int32_t remainingDepth, TOCList::Node* tocNode, bool frameRole);

  // The newest record for exactly `address`.
  TPageRecord* Find(std::string_view address) const;

  // The newest record for exactly `address` that `wanted` accepts; older ones are asked in turn.
  template <typename Predicate>
  TPageRecord* FindNewest(std::string_view address, Predicate wanted) const {
    for (TPageRecord* record = Find(address); record != nullptr; record = record->Next) {
      if (record->Address == address && wanted(*record)) return record;
    }
    return nullptr;
  }

  std::int32_t BucketCount;

 private:
  TPageRecord* Add(TPageRecord record);

  std::unique_ptr<TPageLList[]> buckets_;
  // The newest record of each address. Addresses that differ only in a few digits share a byte
  // sum, so on a large site a few buckets hold most records; this index keeps Find from walking
  // them. The keys view the records' own Address strings, which live as long as the table.
  std::unordered_map<std::string_view, TPageRecord*> newest_;
};

// The bucket count a run uses for each web entry.
inline constexpr std::int32_t kPageTableBuckets = 97;

}  // namespace gl
