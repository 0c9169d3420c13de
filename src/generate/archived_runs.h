#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/brief_record.h"

namespace gl {

// An archive path as the brief stores it ("3\Brief0.htm", with a backslash so that briefs move
// between systems) as a path on this disk below the brief's folder.
std::filesystem::path ArchivePathOnDisk(const std::filesystem::path& briefFolder,
                                        std::string_view archivePath);

// One archived run as the lists show it, the newest first.
struct ArchivedRunRow {
  std::size_t Row = 0;    // 1 is the newest run
  std::size_t Index = 0;  // into ArchivePaths and ArchiveStamps
  std::string Stamp;
  std::filesystem::path Summary;  // the summary page on this disk
};

// The brief's archived runs, newest first.
std::vector<ArchivedRunRow> ArchivedRunRows(const TBriefDocument& document);

// Deletes archived run `index` of the brief (an index into ArchivePaths, 0 = the oldest): every
// file that the run's catalogue lists inside the run's own folder, the catalogue, and the folder,
// then removes the run from ArchivePaths and ArchiveStamps. A missing catalogue still removes the
// run from the lists. Names that would reach outside the run's folder are refused, and a run
// folder that is a symbolic link is never followed: only the link is removed. The caller saves
// the brief.
void DeleteArchivedRun(TBriefDocument& document, std::size_t index);

}  // namespace gl
