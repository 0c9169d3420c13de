#include <algorithm>

#include "core/brief_format.h"
#include "core/internal/word_io.h"

namespace gl {
namespace {

constexpr std::uint16_t kMajorVersion = 1;
constexpr std::uint16_t kMinorVersion = 0;
constexpr std::uint16_t kFlagCount = 2;
constexpr std::uint16_t kOlderReadersMayLoad = 1;
constexpr std::uint16_t kFlagOne = 1;

void BriefWriteFlag(std::string& out, std::int16_t tag, bool value) {
  BriefWriteNumber(out, tag, value ? 1 : 0);
}

void WriteEntry(std::string& out, const TWebEntry& entry) {
  BriefWriteFlag(out, kTagEntryStart, entry.Active);
  BriefWrite(out, kTagEntryName, entry.Name);
  BriefWrite(out, kTagEntryURL, entry.URL);
  BriefWriteFlag(out, kTagEntryFlag, entry.EntryFlag);
  BriefWriteNumber(out, kTagEntryDepth, static_cast<std::uint16_t>(entry.Depth));
  BriefWriteFlag(out, kTagEntryImages, entry.Images);
  BriefWriteFlag(out, kTagEntryOtherFiles, entry.OtherFiles);
  BriefWrite(out, kTagEntryUserName, entry.UserName);
  BriefWrite(out, kTagEntryPassword, entry.Password);
  BriefWrite(out, kTagEntryExtraText, entry.ExtraText);
  BriefWriteFlag(out, kTagEntryStayLocal, entry.StayLocal);
  BriefWriteFlag(out, kTagEntryNameSet, entry.NameSet);
}

}  // namespace

void BriefWrite(std::string& out, std::int16_t tag, std::string_view data) {
  data = data.substr(0, std::min(data.size(), kMaxStoredText));
  AppendWord(out, static_cast<std::uint16_t>(tag));
  AppendWord(out, static_cast<std::uint16_t>(data.size()));
  out.append(data);
}

void BriefWriteNumber(std::string& out, std::int16_t tag, std::uint16_t value) {
  const char data[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
  BriefWrite(out, tag, std::string_view(data, 2));
}

std::string BriefFileBytes(const TBriefRecord& brief) {
  std::string out(kBriefMagic);
  AppendWord(out, kMajorVersion);
  AppendWord(out, kMinorVersion);
  AppendWord(out, kFlagCount);
  AppendWord(out, kOlderReadersMayLoad);
  AppendWord(out, kFlagOne);

  BriefWrite(out, kTagName, brief.Name);
  if (!brief.Comments.empty()) BriefWrite(out, kTagComments, brief.Comments);
  BriefWriteFlag(out, kTagExtraFlag, brief.ExtraFlag);
  BriefWrite(out, kTagExtraCode, brief.ExtraCode);
  BriefWriteFlag(out, kTagActive, brief.Active);
  BriefWriteNumber(out, kTagExtraStringCount,
                   static_cast<std::uint16_t>(brief.ExtraStrings.size()));
  // Last to first: a reader appends them, so they come back in reverse order.
  for (auto text = brief.ExtraStrings.rbegin(); text != brief.ExtraStrings.rend(); ++text)
    BriefWrite(out, kTagExtraString, *text);
  BriefWriteNumber(out, kTagEntryCount, static_cast<std::uint16_t>(brief.WebList.size()));
  for (const TWebEntry& entry : brief.WebList)
    WriteEntry(out, entry);
  return out;
}

}  // namespace gl
