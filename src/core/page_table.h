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
  std::uint8_t FlagA = 0;
  std::int32_t Number = 0;  // the remaining depth the page was stored with
  std::uint8_t FlagB = 0;   // 1 once the page or file is stored; 0 while its name is only promised
  TOCList::Node* TocNode = nullptr;
  std::uint8_t FlagC = 0;  // the page rewriter's frame-level mark
};

// One bucket: records newest first, so Find returns the record added last for an address.
class TPageLList {
 public:
  TPageLList() = default;
  TPageLList(const TPageLList&) = delete;
  TPageLList& operator=(const TPageLList&) = delete;
  ~TPageLList();

  // Links a new record in front and returns it. A given contents node gets the record as its Page.
  TPageRecord* Add(std::string_view address, std::string_view localName, std::uint8_t flagA,
                   std::int32_t number, std::uint8_t flagB, TOCList::Node* tocNode,
                   std::uint8_t flagC);
  TPageRecord* Find(std::string_view address) const;

  std::int32_t Count = 0;
  TPageRecord* Head = nullptr;
};

// The page table of one web entry: a fixed number of buckets chosen by the byte sum of the address.
class THashTable {
 public:
  explicit THashTable(std::int32_t bucketCount);

  std::int32_t HashOf(std::string_view address) const;
  TPageRecord* Add(std::string_view address, std::string_view localName, std::uint8_t flagA,
                   std::int32_t number, std::uint8_t flagB, TOCList::Node* tocNode,
                   std::uint8_t flagC);
  TPageRecord* Find(std::string_view address) const;

  std::int32_t BucketCount;

 private:
  std::unique_ptr<TPageLList[]> buckets_;
  // The newest record of each address. Addresses that differ only in a few digits share a byte
  // sum, so on a large site a few buckets hold most records; this index keeps Find from walking
  // them. The keys view the records' own Address strings, which live as long as the table.
  std::unordered_map<std::string_view, TPageRecord*> newest_;
};

// The bucket count a run uses for each web entry.
inline constexpr std::int32_t kPageTableBuckets = 97;

}  // namespace gl
