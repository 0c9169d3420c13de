#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "core/brief_record.h"

// The bytes of a brief file and of its catalogue. All numbers are little-endian 16-bit words.
//
// Brief file: an 18-byte header ("GLBF-ORX", major 1, minor 0, flag count 2, flag 0 = 1 "older
// readers may load this file", flag 1 = 1), then records up to the end: tag word, signed length
// word, that many data bytes. A number record holds one word (booleans 0 or 1); a text record
// holds the bytes without a terminator, at most 32767 of them.
//
// Catalogue: a word N, then N pairs (archive path, run stamp), each text a signed length word and
// that many bytes.

namespace gl {

inline constexpr std::string_view kBriefMagic = "GLBF-ORX";
// Longest text a record or catalogue item can hold; longer texts are cut to it when written.
inline constexpr std::size_t kMaxStoredText = 32767;

// Record tags of the brief file.
enum BriefTag : std::int16_t {
  kTagName = 0,
  kTagComments = 1,
  kTagExtraFlag = 2,
  kTagExtraCode = 3,
  kTagActive = 4,
  kTagExtraStringCount = 5,
  kTagExtraString = 6,
  kTagEntryCount = 7,
  kTagEntryStart = 8,
  kTagEntryName = 9,
  kTagEntryURL = 10,
  kTagEntryFlag = 11,
  kTagEntryDepth = 12,
  kTagEntryImages = 13,
  kTagEntryOtherFiles = 14,
  kTagEntryUserName = 15,
  kTagEntryPassword = 16,
  kTagEntryExtraText = 17,
  kTagEntryStayLocal = 18,
  kTagEntryNameSet = 19,
  kTagReserved = 20,
};

// Appends one record: tag, length, data. Data longer than kMaxStoredText is cut to it.
void BriefWrite(std::string& out, std::int16_t tag, std::string_view data);
// Appends a number record (length 2).
void BriefWriteNumber(std::string& out, std::int16_t tag, std::uint16_t value);

// The whole brief file for `brief`: header, brief records, then each entry's records.
std::string BriefFileBytes(const TBriefRecord& brief);

enum class BriefReadOutcome {
  Loaded,
  Corrupt,     // not a brief file, or a record that cannot be read: the loading error
  TooFewFlags  // the header announces fewer than two flag words: refused without a message
};

// Reads the header and records of a brief file from `in`, which holds `size` bytes from its
// current position, into `brief` (which starts with the defaults of a new brief). Never reads
// more than `size` bytes; any record that would run past them makes the file corrupt.
[[nodiscard]] BriefReadOutcome ReadBriefRecords(std::istream& in, std::uint64_t size,
                                                TBriefRecord& brief);

// The catalogue's text form: signed length word, then the bytes (cut to kMaxStoredText).
void OutputString(std::string& out, std::string_view text);
// Reads one catalogue text; false at the end of the input or on a negative length. A length of
// 0 gives an empty text.
[[nodiscard]] bool InputString(std::istream& in, std::string& text);

// The catalogue for the brief's archive lists.
std::string CatalogueBytes(const TBriefRecord& brief);

// Reads the archived runs of a catalogue into the brief's archive lists. Reading ends quietly at
// the end of the input or at anything unreadable, keeping the complete pairs read so far. A pair
// whose path is empty is dropped whole, so the two lists stay index for index.
void ReadCatalogue(std::istream& in, TBriefRecord& brief);

}  // namespace gl
