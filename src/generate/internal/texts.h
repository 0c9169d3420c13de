#pragma once

#include <string_view>

// Texts of the generation run that more than one file writes or compares.

namespace gl::texts {

// The messages of the run's own exceptions.
inline constexpr std::string_view kAbortBrief = "Abort brief";
inline constexpr std::string_view kSkipEntry = "Skip entry";
inline constexpr std::string_view kDiskFull = "Disk Full";

// What a name allocator answers when no name is free; and the name a contents node has from the
// link that promised its page until that page is stored and gives it its title.
inline constexpr std::string_view kNoName = "error";
inline constexpr std::string_view kUnnamedNode = kNoName;

// The suffix of every stored page.
inline constexpr std::string_view kPageSuffix = "htm";

// Written in place of an image reference when the entry does not load images.
inline constexpr std::string_view kImageNotLoaded = "/images/NotLoaded";

// The disk error that ends a run.
inline constexpr std::string_view kDiskErrorTitle = "Disk Error";
inline constexpr std::string_view kDiskErrorText =
    "Gleaner was unable to complete the retrieval. Your disk appears to be full.";

// What a run says when it could not record itself and removed its folder (the folder follows on
// the next line).
inline constexpr std::string_view kRunRemovedTitle = "Brief Not Recorded";
inline constexpr std::string_view kRunRemovedText =
    "Gleaner could not record this run in the brief, so its archive folder was removed.";

// The product name with its small trade mark, as footers and the summary's credit line show it.
inline constexpr std::string_view kProductMark = "Gleaner-Light<font size=1>(TM)</font>";

inline constexpr std::string_view kCrLf = "\r\n";

}  // namespace gl::texts
