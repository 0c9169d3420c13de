#include "generate/archived_runs.h"

#include <algorithm>
#include <system_error>

#include "core/brief_file.h"
#include "generate/internal/archive_names.h"
#include "generate/internal/run_catalogue.h"

namespace gl {
namespace {

bool IsRunNumber(std::string_view folder) {
  return !folder.empty() && std::all_of(folder.begin(), folder.end(),
                                        [](char byte) { return byte >= '0' && byte <= '9'; });
}

// Removes the files of one run from its own folder, then the folder when it is empty. Only
// names that stay inside that folder are touched.
void RemoveRunFiles(const std::filesystem::path& base, std::string_view archivePath) {
  // Archive paths are stored with a backslash ("3\Brief3.htm") so briefs move between systems.
  const std::size_t separator = archivePath.find_first_of("\\/");
  if (separator == std::string_view::npos) return;
  const std::string folder(archivePath.substr(0, separator));
  const std::string summary(archivePath.substr(separator + 1));
  if (!IsRunNumber(folder) || !IsPlainFileName(summary)) return;

  const std::filesystem::path runDirectory = base / folder;
  const std::filesystem::path cataloguePath = runDirectory / CatalogueNameFor(summary);
  std::error_code ignored;
  // A run folder that is a symbolic link leads somewhere else, perhaps into another brief's run:
  // only the link itself goes.
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(runDirectory, ignored))) {
    std::filesystem::remove(runDirectory, ignored);
    return;
  }
  if (const auto catalogue = ReadRunCatalogue(cataloguePath);
      catalogue && catalogue->Folder == folder) {
    for (const std::string& name : catalogue->Names) {
      if (IsPlainFileName(name)) std::filesystem::remove(runDirectory / name, ignored);
    }
  }
  std::filesystem::remove(cataloguePath, ignored);
  std::filesystem::remove(runDirectory, ignored);  // only when nothing else is left in it
}

}  // namespace

std::filesystem::path ArchivePathOnDisk(const std::filesystem::path& briefFolder,
                                        std::string_view archivePath) {
  std::string onDisk(archivePath);
  std::replace(onDisk.begin(), onDisk.end(), '\\', '/');
  return briefFolder / onDisk;
}

std::vector<ArchivedRunRow> ArchivedRunRows(const TBriefDocument& document) {
  const TBriefRecord& brief = document.Brief;
  const std::filesystem::path folder = BriefFolder(document.FileName);
  std::vector<ArchivedRunRow> rows;
  rows.reserve(brief.ArchivePaths.size());
  for (std::size_t index = brief.ArchivePaths.size(); index-- > 0;) {
    rows.push_back({rows.size() + 1, index,
                    index < brief.ArchiveStamps.size() ? brief.ArchiveStamps[index] : "",
                    ArchivePathOnDisk(folder, brief.ArchivePaths[index])});
  }
  return rows;
}

void DeleteArchivedRun(TBriefDocument& document, std::size_t index) {
  std::vector<std::string>& paths = document.Brief.ArchivePaths;
  if (index >= paths.size()) return;
  RemoveRunFiles(BriefFolder(document.FileName), paths[index]);
  paths.erase(paths.begin() + static_cast<std::ptrdiff_t>(index));
  std::vector<std::string>& stamps = document.Brief.ArchiveStamps;
  if (index < stamps.size()) stamps.erase(stamps.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace gl
