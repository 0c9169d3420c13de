#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "core/brief_record.h"

namespace gl {

// An archive path as the brief stores it ("3\Brief0.htm", with a backslash so that briefs move
// between systems) as a path on this disk below the brief's folder.
std::filesystem::path ArchivePathOnDisk(const std::filesystem::path& briefFolder,
                                        std::string_view archivePath);

// Deletes archived run `index` of the brief (an index into ArchivePaths, 0 = the oldest): every
// file that the run's catalogue lists inside the run's own folder, the catalogue, and the folder,
// then removes the run from ArchivePaths and ArchiveStamps. A missing catalogue still removes the
// run from the lists. Names that would reach outside the run's folder are refused. The caller
// saves the brief.
void DeleteArchivedRun(TBriefDocument& document, std::size_t index);

}  // namespace gl
