#pragma once

// The help pages' contexts that the dialogs' Help buttons open.

namespace gl {

namespace help_context {
inline constexpr int kBriefProperties = 12;
inline constexpr int kArchivedBriefs = 13;
inline constexpr int kEntryProperties = 22;
inline constexpr int kEntryRetrieval = 23;
inline constexpr int kEntryPassword = 24;
inline constexpr int kPreferencesGeneral = 36;
inline constexpr int kPreferencesProxy = 37;
inline constexpr int kPreferencesBrief = 38;
}  // namespace help_context

// Opens the help pages at `context`.
void ShowHelp(int context);

}  // namespace gl
