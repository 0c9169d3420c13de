#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/internal/checked_file.h"

// The run catalogue lists every file of a run so that the archived run can be deleted later. Each
// record is one byte holding the length L of a name and the L bytes of the name; a record of
// length 0 ends the list. The first record is the run folder's number, the second the summary
// page's name, then every file the run creates, in the order of creation.

namespace gl {

// A name a catalogue may hold: one plain file name of 1 to 255 bytes, without a separator, a
// zero byte or "..", so that nothing read back from a catalogue can reach outside its folder.
bool IsPlainFileName(std::string_view name);

class RunCatalogueWriter {
 public:
  // Creates the catalogue file; raises EInOutError when it cannot.
  explicit RunCatalogueWriter(const std::filesystem::path& path) : file_(path) {}

  // Appends one record. False when the name is not a plain file name; a failed write raises
  // EInOutError.
  [[nodiscard]] bool WriteCatalogueName(std::string_view name);

  // Writes the closing record and closes the file. False when the catalogue could not be
  // written whole: then it is gone (see CheckedFile), and the run's files are not all listed.
  bool Finish() noexcept;

 private:
  CheckedFile file_;
};

struct RunCatalogue {
  std::string Folder;              // the first record: the run folder's number
  std::vector<std::string> Names;  // the summary page and every file of the run
};

// Reads the records of a run catalogue. A record cut short ends the list quietly, as a missing
// closing record does. Nothing when there is no first record.
std::optional<RunCatalogue> ParseRunCatalogue(std::string_view bytes);

// ParseRunCatalogue on a file; nothing when it cannot be opened.
std::optional<RunCatalogue> ReadRunCatalogue(const std::filesystem::path& path);

}  // namespace gl
