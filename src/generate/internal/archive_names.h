#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The names of the files a run writes into its folder. Each allocator tries numbers from its
// counter upward and takes the first name that no entry of the folder has; the counter then
// continues after it. When the range is used up the answer is "error" (texts::kNoName).

namespace gl {

// "Brief" + n + ".htm", n from the counter up to 999 in steps of 1.
std::string AllocateSummaryName(const std::filesystem::path& directory, std::int32_t& counter);

// "GL" + n + "." + extension, n from the counter in steps of 100 while below 999999. The
// extension is normalised by NormalisePageExtension.
std::string AllocatePageName(const std::filesystem::path& directory, std::string_view extension,
                             std::int32_t& counter);

// As AllocatePageName, with its own counter and NormaliseImageExtension.
std::string AllocateImageName(const std::filesystem::path& directory, std::string_view extension,
                              std::int32_t& counter);

// Empty becomes "htm"; every byte that is not an ASCII letter or digit becomes "w"; lower case;
// "jpeg" becomes "jpg", "cgi" "htm", "mpeg" "mpg"; then at most 3 bytes are kept.
std::string NormalisePageExtension(std::string_view extension);

// Empty becomes "htm"; every byte that is not an ASCII letter or digit becomes "w"; "cgi" becomes
// "gif". Letter case is kept. An extension too long for a catalogue record is cut.
std::string NormaliseImageExtension(std::string_view extension);

// The run catalogue's name: the summary page's name with its last three bytes replaced by "cat".
std::string CatalogueNameFor(std::string_view summaryName);

}  // namespace gl
