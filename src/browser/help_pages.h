#pragma once

#include <filesystem>
#include <string>

// The help pages: HTML files in the program directory's help/ folder, one page or anchor per
// context that a Help button or the Help menu opens.

namespace gl {

namespace help_context {
inline constexpr int kContents = 0;
inline constexpr int kOpenBrief = 6;
inline constexpr int kBriefProperties = 12;
inline constexpr int kArchivedBriefs = 13;
inline constexpr int kEntryProperties = 22;
inline constexpr int kEntryRetrieval = 23;
inline constexpr int kEntryPassword = 24;
inline constexpr int kPreferencesGeneral = 36;
inline constexpr int kPreferencesProxy = 37;
inline constexpr int kPreferencesBrief = 38;
}  // namespace help_context

// The file:// address of the help page for `context`, with its anchor when it has one, in
// `programDirectory`/help/. A context without a page of its own gives the contents page.
std::string HelpAddress(int context, const std::filesystem::path& programDirectory);

}  // namespace gl
