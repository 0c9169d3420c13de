#include "cli/brief_json.h"

#include "core/utf8_text.h"
#include "platform/percent_encode.h"

namespace gl::cli {
namespace {

nlohmann::ordered_json JsonList(const std::vector<std::string>& texts) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const std::string& text : texts)
    list.push_back(JsonBytes(text));
  return list;
}

nlohmann::ordered_json EntryJson(const TWebEntry& entry) {
  return {
      {"Active", entry.Active},
      {"Name", JsonBytes(entry.Name)},
      {"NameSet", entry.NameSet},
      {"URL", JsonBytes(entry.URL)},
      {"Depth", entry.Depth},
      {"EntryFlag", entry.EntryFlag},
      {"Images", entry.Images},
      {"OtherFiles", entry.OtherFiles},
      {"StayLocal", entry.StayLocal},
      {"UserName", JsonBytes(entry.UserName)},
      {"Password", JsonBytes(entry.Password)},
      {"ExtraText", JsonBytes(entry.ExtraText)},
  };
}

}  // namespace

nlohmann::ordered_json JsonBytes(std::string_view bytes) {
  if (IsUtf8(bytes)) return std::string(bytes);
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char byte : bytes)
    AppendHexDigits(hex, static_cast<unsigned char>(byte), true);
  return {{"hex", hex}};
}

nlohmann::ordered_json BriefJson(const TBriefRecord& brief) {
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (const TWebEntry& entry : brief.WebList)
    entries.push_back(EntryJson(entry));
  return {
      {"Name", JsonBytes(brief.Name)},
      {"Comments", JsonBytes(brief.Comments)},
      {"ExtraFlag", brief.ExtraFlag},
      {"ExtraCode", JsonBytes(brief.ExtraCode)},
      {"Active", brief.Active},
      {"ExtraStrings", JsonList(brief.ExtraStrings)},
      {"ArchivePaths", JsonList(brief.ArchivePaths)},
      {"ArchiveStamps", JsonList(brief.ArchiveStamps)},
      {"Entries", entries},
  };
}

}  // namespace gl::cli
