#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/contents_tree.h"
#include "core/internal/text_arena.h"

namespace gl {

// The shape shared by many local names: the text before and after their number ("GL", ".htm").
struct TLocalNameForm {
  std::string_view Head;
  std::string_view Tail;
};

// One address that a run has met, with the local file that stands for it. A large site keeps one
// or two records per address, so a record is 16 bytes: its texts are the table's own copies, named
// by number (THashTable::Address, THashTable::LocalName).
struct TPageRecord {
  std::uint32_t TocNode = 0;  // the page's node in the contents tree, 0 for none
  // The file name inside the run directory is kept as its form and number: most names differ
  // only in their number, which costs a few bits where the whole name would cost twenty bytes.
  std::uint32_t NameForm = 0;  // the table's number of the form
  // Where the table keeps the key: its folder's shared copy and its own rest (KeepAddress).
  std::uint32_t AddressPlace = 0;
  std::uint32_t NameNumber : 21 = 0;  // kNoNameNumber for a name without one
  std::uint32_t DepthBits : 7 = 0;    // read and set through RemainingDepth
  // On an address's oldest record: queued for the next level as an ordinary link (bit 0) or as a
  // frame (bit 1). The spider clears them as it starts each level.
  std::uint32_t QueuedRoles : 2 = 0;
  // True once the page or file is in the run folder; false while its name is only promised to
  // the links that lead to it.
  bool Stored : 1 = false;
  // True for a page stored or promised as a frame of a frame set, which has no navigation bar of
  // its own; the same address may have a second record for its place at the top of a window.
  bool FrameRole : 1 = false;

  // Up to six digits fit in the 21 bits; a larger number makes a name of its own form.
  static constexpr std::uint32_t kNoNameNumber = (1U << 21) - 1;
  // A stored file's depth, more than any page has (the spider goes at most 99 levels deep): a file
  // has no links to follow, and no deeper visit fetches it again.
  static constexpr std::int32_t kFileDepth = 127;

  // How many levels below this page the spider still goes: a page reached again with no more
  // depth left than this is not fetched again.
  std::int32_t RemainingDepth() const { return static_cast<std::int32_t>(DepthBits); }
  // Kept between 0 and kFileDepth.
  void SetRemainingDepth(std::int32_t depth) {
    DepthBits = static_cast<std::uint32_t>(std::clamp(depth, 0, kFileDepth)) & 0x7fU;
  }
  // Stored with at least `remainingDepth` levels still to go below it: a link that reaches it
  // again with no more depth than that is not fetched again.
  bool StoredDeepEnough(std::int32_t remainingDepth) const {
    return Stored && RemainingDepth() >= remainingDepth;
  }
};

// The page table of one web entry. Every record is kept, numbered from 1 in the order added; an
// address finds its newest record, and through OlderNumber the older ones for the same address.
// Records and texts are packed in blocks that stay in place, so a large site costs little more
// than its addresses and names.
class THashTable {
 public:
  // A record added with a contents node is set as that node's page in `contents`.
  explicit THashTable(TOCList* contents = nullptr);
  THashTable(const THashTable&) = delete;
  THashTable& operator=(const THashTable&) = delete;
  ~THashTable();

  // A page or file written into the run folder under `localName`, with its place in the contents
  // tree if it has one.
  TPageRecord* AddStored(std::string_view address, std::string_view localName,
                         std::int32_t remainingDepth, std::uint32_t tocNode = 0,
                         bool frameRole = false);
  // A local name that a link was given before its page is fetched; the spider stores the page
  // under it one level down.
  TPageRecord* AddPromised(std::string_view address, std::string_view localName,
                           std::int32_t remainingDepth, std::uint32_t tocNode, bool frameRole);

  // The newest record for exactly `address`.
  TPageRecord* Find(std::string_view address) const;
  // The number of that record, 0 for none.
  std::uint32_t FindNumber(std::string_view address) const {
    return newest_[SlotOf(address, HashOf(address))];
  }
  TPageRecord& RecordAt(std::uint32_t number) const;
  // The number of the record added before record `number` for the same address, 0 for none.
  std::uint32_t OlderNumber(std::uint32_t number) const;
  // The first record added for record `number`'s address, which holds its queued marks.
  TPageRecord& Oldest(std::uint32_t number) const;
  // Clears every record's queued marks.
  void ForgetQueued();

  // The newest record for exactly `address` that `wanted` accepts; older ones are asked in turn.
  template <typename Predicate>
  TPageRecord* FindNewest(std::string_view address, Predicate wanted) const {
    for (std::uint32_t number = FindNumber(address); number != 0; number = OlderNumber(number)) {
      if (wanted(RecordAt(number))) return &RecordAt(number);
    }
    return nullptr;
  }

  // The record's key.
  std::string Address(const TPageRecord& record) const;
  // The record's file name inside the run directory.
  std::string LocalName(const TPageRecord& record) const;

 private:
  struct AddressParts {
    std::string_view Shared;
    std::string_view Rest;
  };
  AddressParts PartsOf(const TPageRecord& record) const;
  bool HasAddress(const TPageRecord& record, std::string_view address) const;
  TPageRecord& NewRecord();
  static std::size_t HashOf(std::string_view address);
  // The index position of `address` with hash `hash`: the slot holding its newest record, else
  // the empty slot where it goes.
  std::size_t SlotOf(std::string_view address, std::size_t hash) const;
  void GrowIndex();
  // Sets the record's name form and number from `localName`.
  void KeepLocalName(TPageRecord& record, std::string_view localName);
  // The table's copy of `address` in the form of TPageRecord::AddressPlace.
  std::uint32_t KeepAddress(std::string_view address);

  TOCList* contents_;
  TextArena texts_;
  // The name forms met so far, found by the head's length, the head and the tail.
  std::deque<TLocalNameForm> forms_;
  std::unordered_map<std::string, std::uint32_t> formIndex_;
  std::uint32_t lastForm_ = 0;  // the number of the form used last, when there is one
  // The shared starts of addresses (counted copies), and the last one used.
  std::unordered_map<std::string_view, std::uint32_t> prefixes_;
  std::uint32_t lastPrefix_ = 0;
  std::string encoded_;  // KeepAddress's scratch
  // Records in blocks of a fixed size.
  std::vector<std::unique_ptr<TPageRecord[]>> blocks_;
  std::uint32_t recordCount_ = 0;
  // The few records with an older one for the same address, rather than a field in every record.
  std::unordered_map<std::uint32_t, std::uint32_t> older_;
  // Open addressing over the addresses' hashes: each slot holds the number of an address's newest
  // record, 0 when empty. At most three quarters are in use.
  std::vector<std::uint32_t> newest_;
  // Beside each used slot, the top byte of its address's hash: a probe reads a record and its
  // address, scattered over a large table, only when the byte matches.
  std::vector<std::uint8_t> tags_;
  std::uint32_t addressCount_ = 0;
};

}  // namespace gl
