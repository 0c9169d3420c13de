#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The names of the files a run writes into its folder. Each allocator tries numbers from its
// counter upward and takes the first name that is not taken; the counter then continues after it.
// When the range is used up the answer is "error" (texts::kNoName).

namespace gl {

// The names of one run folder and which of them are taken: those the folder held when it was
// first asked about (any kind of entry, a dangling link too) and those given out since, whose
// files may not exist yet (a promised page). Reading the folder once instead of asking the disk
// for every new name keeps a page of many new links from costing a system call per link; a file
// that a run writes is still never written through a link (CheckedFile refuses one).
class RunFolderNames {
 public:
  explicit RunFolderNames(std::filesystem::path directory);

  // "Brief" + n + ".htm", n from the counter up to 999 in steps of 1.
  std::string Summary(std::int32_t& counter);
  // "GL" + n + "." + extension, n from the counter in steps of 100 while below 999999. The
  // extension is normalised by NormalisePageExtension.
  std::string Page(std::string_view extension, std::int32_t& counter);
  // As Page, with its own counter and NormaliseImageExtension. Pages and images share the
  // "GL" names, so neither is given a name the other holds.
  std::string Image(std::string_view extension, std::int32_t& counter);

 private:
  std::string Allocate(std::string_view prefix, std::string_view extension, std::int32_t last,
                       std::int32_t step, std::int32_t& counter);
  bool OnDisk(const std::string& name);

  std::filesystem::path directory_;
  // The folder's entries as first read; none until a name is asked for.
  std::optional<std::unordered_set<std::string>> onDisk_;
  // The numbers given out, by prefix and extension ("GL.htm"): one bit per number.
  std::unordered_map<std::string, std::vector<bool>> given_;
};

// Empty becomes "htm"; every byte that is not an ASCII letter or digit becomes "w"; lower case;
// "jpeg" becomes "jpg", "cgi" "htm", "mpeg" "mpg"; then at most 3 bytes are kept.
std::string NormalisePageExtension(std::string_view extension);

// Empty becomes "htm"; every byte that is not an ASCII letter or digit becomes "w"; "cgi" becomes
// "gif". Letter case is kept. An extension too long for a catalogue record is cut.
std::string NormaliseImageExtension(std::string_view extension);

// The run catalogue's name: the summary page's name with its last three bytes replaced by "cat".
std::string CatalogueNameFor(std::string_view summaryName);

}  // namespace gl
