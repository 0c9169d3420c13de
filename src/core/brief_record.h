#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace gl {

// One web entry of a brief: a page address with its retrieval options.
struct TWebEntry {
  bool Active = true;
  std::string Name = "New Page";  // the name shown in the entry's row
  bool NameSet = false;           // true once the user typed a name
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
  std::string Name = "New Brief";
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

}  // namespace gl
