#pragma once

#include <string_view>

// The brief documents' own texts, shown to the user byte for byte.

namespace gl::texts {

inline constexpr std::string_view kNewBrief = "New Brief";
inline constexpr std::string_view kNewPage = "New Page";
inline constexpr std::string_view kActive = "Active";
inline constexpr std::string_view kInactive = "Inactive";

inline constexpr std::string_view kLoadingErrorTitle = "Brief File Loading Error";
inline constexpr std::string_view kLoadingErrorText =
    "This file is either corrupt or is not a Brief file. Gleaner-Light cannot load it.";
inline constexpr std::string_view kSavingErrorTitle = "Brief File Saving Error";
inline constexpr std::string_view kSavingErrorText = "Failed to save Brief File.";

inline constexpr std::string_view kPasswordErrorTitle = "Password Error";
inline constexpr std::string_view kPasswordErrorText = "Password not correctly confirmed.";

inline constexpr std::string_view kBookmarks = "Bookmarks";
// The depth column of a bookmark taken into a brief, until its depth is set.
inline constexpr std::string_view kEntirePage = "Entire Page";
inline constexpr std::string_view kBookmarkErrorTitle = "Bookmark File Loading Error";
inline constexpr std::string_view kBookmarkErrorText =
    "This file is either corrupt or is not a Bookmark file. Gleaner-Light cannot load it.";

// Shown once when an https:// address is added while secure pages are off.
inline constexpr std::string_view kSecurePagesOffTitle = "Secure Pages Are Off";
inline constexpr std::string_view kSecurePagesOffText =
    "Gleaner-Light fetches https:// addresses only when Secure Pages is on; until then this entry "
    "gives an Unsupported Protocol page. Switch it on in the Preferences (Brief page, Modern Web) "
    "or with: gleaner settings secure-pages Yes";

}  // namespace gl::texts
