#pragma once

#include <string_view>

// Captions that more than one of the desktop's dialogs shows.

namespace gl::texts {

inline constexpr std::string_view kOK = "&OK";
inline constexpr std::string_view kCancel = "&Cancel";
inline constexpr std::string_view kApply = "&Apply";
inline constexpr std::string_view kHelp = "&Help";
inline constexpr std::string_view kYes = "&Yes";
inline constexpr std::string_view kNo = "&No";

inline constexpr std::string_view kUserNameCaption = "&User Name:";
inline constexpr std::string_view kPasswordCaption = "&Password:";
inline constexpr std::string_view kConfirmCaption = "C&onfirm Password:";

}  // namespace gl::texts
