#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/texts.h"

namespace gl {

// The spider depths an entry may have.
inline constexpr int kMinDepth = 1;
inline constexpr int kMaxDepth = 99;

// The most characters a user may give a brief's name, so that it fits the window header.
inline constexpr std::size_t kMaxBriefNameCharacters = 60;

// One web entry of a brief: a page address with its retrieval options.
struct TWebEntry {
  bool Active = true;
  std::string Name{texts::kNewPage};  // the name shown in the entry's row
  bool NameSet = false;               // true once the user typed a name
  std::string URL;
  int Depth = 1;  // spider depth, 1 to 99
  bool EntryFlag = true;
  bool Images = false;      // fetch images and plug-ins
  bool OtherFiles = false;  // fetch other linked files
  bool StayLocal = true;    // do not follow links to other sites
  std::string UserName;
  std::string Password;
  std::string ExtraText;
};

// A brief's own settings and its web entries in display (and generation) order.
struct TBriefRecord {
  std::string Name{texts::kNewBrief};
  std::string Comments;  // empty means no comments
  bool ExtraFlag = false;
  std::string ExtraCode;  // at most 6 bytes
  bool Active = true;
  std::vector<TWebEntry> WebList;
  std::vector<std::string> ArchivePaths;   // one per archived run, relative to the brief's folder
  std::vector<std::string> ArchiveStamps;  // the start stamp of each archived run
  std::vector<std::string> ExtraStrings;
  bool Generating = false;  // true while a run works on this brief
};

// A brief as its window holds it: the record and the file it lives in. The brief's folder, the
// base of its archive paths, is the file's parent folder.
struct TBriefDocument {
  std::filesystem::path FileName;  // empty for a brief never saved
  TBriefRecord Brief;
};

// Puts the defaults of a new brief into `brief`: no entries, no archived runs.
void CreateNewBrief(TBriefRecord& brief);

// Inserts an entry with the defaults at `index` of the brief's list (the count appends) and
// returns it. Precondition: index <= brief.WebList.size().
TWebEntry& CreateNewWebEntry(TBriefRecord& brief, std::size_t index);

// The name an entry shows while no name was typed (NameSet false): its address, or "New Page"
// while the address is empty. An entry with a typed name keeps it.
void UpdateShownName(TWebEntry& entry);

// A name the user typed for the entry: it becomes the shown name and counts as set. An empty
// name makes the entry show its address again.
void SetTypedName(TWebEntry& entry, std::string name);

// The brief's state as its window header shows it: "Active" or "Inactive".
std::string_view StateText(const TBriefRecord& brief);

}  // namespace gl
