#include "core/page_table.h"

#include <charconv>
#include <cstring>
#include <functional>
#include <iterator>

#include "core/brief_record.h"

namespace gl {
namespace {

constexpr std::uint32_t kRecordsPerBlock = 512;
constexpr std::size_t kFirstIndexSize = 64;  // a power of two, as every later size
// Seven digits are the most that may fit the record's 21-bit number.
constexpr std::size_t kMostNameDigits = 7;

static_assert(sizeof(TPageRecord) == 16);
static_assert(TPageRecord::kFileDepth > kMaxDepth);

// The rest of an address is counted in one byte below this, else in the four bytes after it.
constexpr unsigned char kLongRest = 0xFF;

std::uint8_t TagOf(std::size_t hash) {
  return static_cast<std::uint8_t>(hash >> (8 * sizeof hash - 8));
}

bool IsDigit(char byte) {
  return byte >= '0' && byte <= '9';
}

}  // namespace

std::string THashTable::LocalName(const TPageRecord& record) const {
  const TLocalNameForm& form = forms_[record.NameForm];
  char digits[kMostNameDigits];
  std::size_t digitCount = 0;
  if (record.NameNumber != TPageRecord::kNoNameNumber) {
    digitCount = static_cast<std::size_t>(
        std::to_chars(digits, std::end(digits), record.NameNumber).ptr - digits);
  }
  std::string name;
  name.reserve(form.Head.size() + digitCount + form.Tail.size());
  name.append(form.Head).append(digits, digitCount).append(form.Tail);
  return name;
}

THashTable::AddressParts THashTable::PartsOf(const TPageRecord& record) const {
  const char* text = texts_.At(record.AddressPlace);
  std::uint32_t shared = 0;
  std::memcpy(&shared, text, sizeof shared);
  text += sizeof shared;
  std::uint32_t size = static_cast<unsigned char>(*text++);
  if (size == kLongRest) {
    std::memcpy(&size, text, sizeof size);
    text += sizeof size;
  }
  return {texts_.Counted(shared), {text, size}};
}

std::string THashTable::Address(const TPageRecord& record) const {
  const AddressParts parts = PartsOf(record);
  std::string address;
  address.reserve(parts.Shared.size() + parts.Rest.size());
  address.append(parts.Shared).append(parts.Rest);
  return address;
}

bool THashTable::HasAddress(const TPageRecord& record, std::string_view address) const {
  const AddressParts parts = PartsOf(record);
  return address.size() == parts.Shared.size() + parts.Rest.size() &&
         address.starts_with(parts.Shared) && address.ends_with(parts.Rest);
}

THashTable::THashTable(TOCList* contents)
    : contents_(contents), newest_(kFirstIndexSize, 0), tags_(kFirstIndexSize, 0) {}

THashTable::~THashTable() = default;

TPageRecord* THashTable::AddStored(std::string_view address, std::string_view localName,
                                   std::int32_t remainingDepth, std::uint32_t tocNode,
                                   bool frameRole) {
  const std::size_t hash = HashOf(address);
  std::size_t at = SlotOf(address, hash);
  if (newest_[at] == 0 && (addressCount_ + 1) * 4 > newest_.size() * 3) {
    GrowIndex();
    at = SlotOf(address, hash);
  }
  std::uint32_t& slot = newest_[at];
  TPageRecord& record = NewRecord();
  if (slot == 0) {
    ++addressCount_;
    tags_[at] = TagOf(hash);
    record.AddressPlace = KeepAddress(address);
  } else {
    older_.emplace(recordCount_, slot);
    record.AddressPlace = RecordAt(slot).AddressPlace;  // one copy serves all its records
  }
  slot = recordCount_;
  KeepLocalName(record, localName);
  record.TocNode = tocNode;
  record.SetRemainingDepth(remainingDepth);
  record.Stored = true;
  record.FrameRole = frameRole;
  if (tocNode != 0) contents_->SetPage(tocNode, recordCount_);
  return &record;
}

TPageRecord* THashTable::AddPromised(std::string_view address, std::string_view localName,
                                     std::int32_t remainingDepth, std::uint32_t tocNode,
                                     bool frameRole) {
  TPageRecord* record = AddStored(address, localName, remainingDepth, tocNode, frameRole);
  record->Stored = false;
  return record;
}

TPageRecord* THashTable::Find(std::string_view address) const {
  const std::uint32_t number = FindNumber(address);
  return number == 0 ? nullptr : &RecordAt(number);
}

std::uint32_t THashTable::OlderNumber(std::uint32_t number) const {
  if (older_.empty()) return 0;
  const auto found = older_.find(number);
  return found == older_.end() ? 0 : found->second;
}

TPageRecord& THashTable::Oldest(std::uint32_t number) const {
  while (const std::uint32_t older = OlderNumber(number))
    number = older;
  return RecordAt(number);
}

TPageRecord& THashTable::NewRecord() {
  if (recordCount_ % kRecordsPerBlock == 0) {
    blocks_.push_back(std::make_unique<TPageRecord[]>(kRecordsPerBlock));
  }
  return RecordAt(++recordCount_);
}

void THashTable::ForgetQueued() {
  for (std::uint32_t number = 1; number <= recordCount_; ++number)
    RecordAt(number).QueuedRoles = 0;
}

TPageRecord& THashTable::RecordAt(std::uint32_t number) const {
  return blocks_[(number - 1) / kRecordsPerBlock][(number - 1) % kRecordsPerBlock];
}

std::size_t THashTable::HashOf(std::string_view address) {
  return std::hash<std::string_view>{}(address);
}

std::size_t THashTable::SlotOf(std::string_view address, std::size_t hash) const {
  const std::size_t mask = newest_.size() - 1;
  const std::uint8_t tag = TagOf(hash);
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const std::uint32_t number = newest_[at];
    if (number == 0 || (tags_[at] == tag && HasAddress(RecordAt(number), address))) return at;
  }
}

void THashTable::GrowIndex() {
  std::vector<std::uint32_t> old(newest_.size() * 2, 0);
  old.swap(newest_);
  tags_.assign(newest_.size(), 0);
  for (const std::uint32_t number : old) {
    if (number == 0) continue;
    const std::string address = Address(RecordAt(number));
    const std::size_t hash = HashOf(address);
    const std::size_t at = SlotOf(address, hash);
    newest_[at] = number;
    tags_[at] = TagOf(hash);
  }
}

std::uint32_t THashTable::KeepAddress(std::string_view address) {
  const std::size_t slash = address.rfind('/');
  const std::string_view shared =
      address.substr(0, slash == std::string_view::npos ? 0 : slash + 1);
  const std::string_view rest = address.substr(shared.size());
  // A site's addresses come folder by folder: the last one saves the lookup.
  if (lastPrefix_ == 0 || texts_.Counted(lastPrefix_) != shared) {
    auto found = prefixes_.find(shared);
    if (found == prefixes_.end()) {
      const std::uint32_t copy = texts_.KeepCounted(shared);
      found = prefixes_.emplace(texts_.Counted(copy), copy).first;  // keyed by the copy
    }
    lastPrefix_ = found->second;
  }
  encoded_.assign(reinterpret_cast<const char*>(&lastPrefix_), sizeof lastPrefix_);
  if (rest.size() < kLongRest) {
    encoded_ += static_cast<char>(rest.size());
  } else {
    const auto size = static_cast<std::uint32_t>(rest.size());
    encoded_ += static_cast<char>(kLongRest);
    encoded_.append(reinterpret_cast<const char*>(&size), sizeof size);
  }
  encoded_ += rest;
  return texts_.Place(encoded_);
}

// The name's first run of digits is its number when it reads back the same: no leading zero,
// not too long. Any other name is a form of its own without a number.
void THashTable::KeepLocalName(TPageRecord& record, std::string_view localName) {
  std::size_t digits = 0;
  while (digits < localName.size() && !IsDigit(localName[digits]))
    ++digits;
  std::size_t digitsEnd = digits;
  while (digitsEnd < localName.size() && IsDigit(localName[digitsEnd]))
    ++digitsEnd;
  const std::size_t length = digitsEnd - digits;
  const bool numbered =
      length >= 1 && length <= kMostNameDigits && (localName[digits] != '0' || length == 1);
  std::string_view head = localName;
  std::string_view tail;
  std::uint32_t number = TPageRecord::kNoNameNumber;
  if (numbered) {
    number = 0;
    for (const char digit : localName.substr(digits, length))
      number = number * 10 + static_cast<std::uint32_t>(digit - '0');
  }
  if (number < TPageRecord::kNoNameNumber) {
    head = localName.substr(0, digits);
    tail = localName.substr(digitsEnd);
  } else {
    number = TPageRecord::kNoNameNumber;
  }
  record.NameNumber = number & TPageRecord::kNoNameNumber;
  // Names come in runs of one form: the last one saves the lookup.
  if (!forms_.empty() && forms_[lastForm_].Head == head && forms_[lastForm_].Tail == tail) {
    record.NameForm = lastForm_;
    return;
  }
  std::string key = std::to_string(head.size());
  key += ':';
  key += head;
  key += tail;
  const auto [found, added] =
      formIndex_.try_emplace(key, static_cast<std::uint32_t>(forms_.size()));
  if (added) forms_.push_back({texts_.Keep(head), texts_.Keep(tail)});
  record.NameForm = lastForm_ = found->second;
}

}  // namespace gl
