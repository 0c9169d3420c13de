#pragma once

#include <string_view>

// Browser control's own texts, byte for byte.

namespace gl::texts {

// Status text while a page is handed to the browser, followed by the quoted address.
inline constexpr std::string_view kLoadingStatus = " Loading ";

inline constexpr std::string_view kBrowserNotSetTitle = "Browser Not Set";
inline constexpr std::string_view kBrowserNotSetText =
    "Please set the Browser in the Preferences dialog box (under the Edit menu).";

}  // namespace gl::texts
