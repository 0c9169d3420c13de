#include <istream>
#include <streambuf>
#include <utility>

#include "core/brief_format.h"

namespace gl {
namespace {

// Reads from a stream that holds a known number of bytes and refuses to read or skip past them.
// A record's length is checked against what is left before anything is read or skipped, so a
// hostile length can neither move the reader backwards nor past the end. It reads through the
// stream's buffer directly: a brief is read a word at a time, and the stream's own checks around
// every small read cost more than the read itself.
class BoundedReader {
 public:
  BoundedReader(std::istream& in, std::uint64_t size) : buffer_(*in.rdbuf()), remaining_(size) {}

  bool AtEnd() const { return remaining_ == 0; }

  bool ReadWord(std::uint16_t& word) {
    char bytes[2];
    if (remaining_ < 2 || buffer_.sgetn(bytes, 2) != 2) return false;
    remaining_ -= 2;
    word = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) |
                                      static_cast<unsigned char>(bytes[1]) << 8);
    return true;
  }

  bool ReadBytes(std::uint64_t count, std::string& bytes) {
    if (count > remaining_) return false;
    bytes.resize(static_cast<std::size_t>(count));
    const auto wanted = static_cast<std::streamsize>(count);
    if (count > 0 && buffer_.sgetn(bytes.data(), wanted) != wanted) return false;
    remaining_ -= count;
    return true;
  }

  bool Skip(std::uint64_t count) {
    if (count > remaining_) return false;
    if (count > 0 && buffer_.pubseekoff(static_cast<std::streamoff>(count), std::ios::cur,
                                        std::ios::in) == std::streampos(std::streamoff(-1)))
      return false;
    remaining_ -= count;
    return true;
  }

  // A record's length word: a negative length or one beyond the end fails.
  bool ReadLength(std::uint64_t& length) {
    std::uint16_t word = 0;
    if (!ReadWord(word)) return false;
    const auto signedLength = static_cast<std::int16_t>(word);
    if (signedLength < 0 || static_cast<std::uint64_t>(signedLength) > remaining_) return false;
    length = static_cast<std::uint64_t>(signedLength);
    return true;
  }

  bool ReadText(std::string& text) {
    std::uint64_t length = 0;
    return ReadLength(length) && ReadBytes(length, text);
  }

  // A number record holds exactly one word.
  bool ReadNumber(std::uint16_t& value) {
    std::uint64_t length = 0;
    return ReadLength(length) && length == 2 && ReadWord(value);
  }

 private:
  std::streambuf& buffer_;
  std::uint64_t remaining_;
};

// The longest ExtraCode a brief keeps; a longer stored text is cut to it.
constexpr std::size_t kExtraCodeLength = 6;

bool LowByte(std::uint16_t value) {
  return (value & 0xFF) != 0;
}

bool ReadHeader(BoundedReader& reader, BriefReadOutcome& refusal) {
  refusal = BriefReadOutcome::Corrupt;
  std::string magic;
  if (!reader.ReadBytes(kBriefMagic.size(), magic) || magic != kBriefMagic) return false;
  std::uint16_t major = 0, minor = 0, flagCount = 0, olderMayLoad = 0, ignored = 0;
  if (!reader.ReadWord(major) || !reader.ReadWord(minor) || !reader.ReadWord(flagCount))
    return false;
  if (flagCount < 2) {
    refusal = BriefReadOutcome::TooFewFlags;
    return false;
  }
  const bool newer = major > 1 || minor > 0;
  if (!reader.ReadWord(olderMayLoad) || (newer && olderMayLoad == 0)) return false;
  for (int flag = 1; flag < flagCount; ++flag) {
    if (!reader.ReadWord(ignored)) return false;
  }
  return true;
}

enum class RecordStep { Continue, Stop, Corrupt };

// The entry's text field that a record tag fills, or none for a number record.
std::string* EntryText(TWebEntry& entry, std::int16_t tag) {
  switch (tag) {
    case kTagEntryName:
      return &entry.Name;
    case kTagEntryURL:
      return &entry.URL;
    case kTagEntryUserName:
      return &entry.UserName;
    case kTagEntryPassword:
      return &entry.Password;
    case kTagEntryExtraText:
      return &entry.ExtraText;
    default:
      return nullptr;
  }
}

RecordStep ReadEntryRecord(BoundedReader& reader, std::int16_t tag, TWebEntry& entry) {
  if (std::string* field = EntryText(entry, tag)) {
    std::string text;
    if (!reader.ReadText(text)) return RecordStep::Corrupt;
    if (!text.empty()) *field = std::move(text);  // an empty text keeps the default
    return RecordStep::Continue;
  }
  std::uint16_t value = 0;
  if (!reader.ReadNumber(value)) return RecordStep::Corrupt;
  switch (tag) {
    case kTagEntryFlag:
      entry.EntryFlag = true;  // whatever was stored
      break;
    case kTagEntryDepth:
      entry.Depth = static_cast<std::int16_t>(value);
      break;
    case kTagEntryImages:
      entry.Images = LowByte(value);
      break;
    case kTagEntryOtherFiles:
      entry.OtherFiles = LowByte(value);
      break;
    case kTagEntryStayLocal:
      entry.StayLocal = LowByte(value);
      break;
    case kTagEntryNameSet:
      entry.NameSet = LowByte(value);
      UpdateShownName(entry);
      break;
    default:
      break;
  }
  return RecordStep::Continue;
}

RecordStep ReadRecord(BoundedReader& reader, std::int16_t tag, TBriefRecord& brief) {
  std::string text;
  std::uint16_t value = 0;
  switch (tag) {
    case kTagName:
      if (!reader.ReadText(text)) return RecordStep::Corrupt;
      if (!text.empty()) brief.Name = std::move(text);
      return RecordStep::Continue;
    case kTagComments:
      if (!reader.ReadText(brief.Comments)) return RecordStep::Corrupt;
      return RecordStep::Continue;
    case kTagExtraCode:
      if (!reader.ReadText(text)) return RecordStep::Corrupt;
      if (!text.empty()) brief.ExtraCode = text.substr(0, kExtraCodeLength);
      return RecordStep::Continue;
    case kTagExtraString:
      if (!reader.ReadText(text)) return RecordStep::Corrupt;
      if (!text.empty()) brief.ExtraStrings.push_back(std::move(text));
      return RecordStep::Continue;
    case kTagReserved:
      return reader.ReadText(text) ? RecordStep::Continue : RecordStep::Corrupt;
    case kTagExtraFlag:
    case kTagActive:
    case kTagExtraStringCount:
    case kTagEntryCount:
    case kTagEntryStart:
      if (!reader.ReadNumber(value)) return RecordStep::Corrupt;
      if (tag == kTagExtraFlag) brief.ExtraFlag = LowByte(value);
      if (tag == kTagActive) brief.Active = LowByte(value);
      if (tag == kTagEntryStart) {
        CreateNewWebEntry(brief, brief.WebList.size()).Active = LowByte(value);
      }
      return RecordStep::Continue;
    default:
      break;
  }
  if (tag > kTagEntryStart && tag < kTagReserved) {
    // An entry's record before any entry has started ends the reading; what was read stands.
    if (brief.WebList.empty()) return RecordStep::Stop;
    return ReadEntryRecord(reader, tag, brief.WebList.back());
  }
  // A record this reader does not know (a later writer's, or a negative tag) is skipped.
  std::uint64_t length = 0;
  return reader.ReadLength(length) && reader.Skip(length) ? RecordStep::Continue
                                                          : RecordStep::Corrupt;
}

}  // namespace

BriefReadOutcome ReadBriefRecords(std::istream& in, std::uint64_t size, TBriefRecord& brief) {
  BoundedReader reader(in, size);
  BriefReadOutcome refusal = BriefReadOutcome::Corrupt;
  if (!ReadHeader(reader, refusal)) return refusal;
  while (!reader.AtEnd()) {
    std::uint16_t tag = 0;
    if (!reader.ReadWord(tag)) return BriefReadOutcome::Corrupt;
    switch (ReadRecord(reader, static_cast<std::int16_t>(tag), brief)) {
      case RecordStep::Continue:
        break;
      case RecordStep::Stop:
        return BriefReadOutcome::Loaded;
      case RecordStep::Corrupt:
        return BriefReadOutcome::Corrupt;
    }
  }
  return BriefReadOutcome::Loaded;
}

}  // namespace gl
