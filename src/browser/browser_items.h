#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The texts that the program and a browser exchange in a conversation: the topics, the items the
// program asks for and the window information the browser answers with. Both sides of the
// conversation layer read and write them here.

namespace gl {

namespace topics {
inline constexpr std::string_view kOpenURL = "WWW_OpenURL";
inline constexpr std::string_view kActivate = "WWW_Activate";
inline constexpr std::string_view kGetWindowInfo = "WWW_GetWindowInfo";
}  // namespace topics

// Item texts and answers are held in buffers of this many bytes, terminator included.
inline constexpr std::size_t kItemBufferSize = 5000;

// Activate the most recent window; ask for the most recent window's information.
inline constexpr std::string_view kActivateItem = "-1,0";
inline constexpr std::string_view kWindowInfoItem = "-1";

// The item that opens `address`: the address in double quotes followed by ",,-1,0,,,,". None
// when the item would not fit the item buffer: an address is never cut into another one.
std::optional<std::string> OpenURLItem(std::string_view address);

// The address of an open item: the text between its first and its last double quote (the fields
// after the address hold none). None when the item has fewer than two.
std::optional<std::string> AddressOfOpenURLItem(std::string_view item);

// A page that the browser shows.
struct BrowserPage {
  std::string Address;
  std::string Title;
};

// The window information of a page: its address and its title, each in double quotes, separated
// by a comma.
std::string WindowInfoAnswer(const BrowserPage& page);

// Reads a window information answer; only its first kItemBufferSize - 1 bytes count. A quoted
// address ends at the first double quote followed by a comma, an unquoted one at the first comma;
// none when that end is missing. The title is the rest with its leading commas and double quotes
// skipped and, when a double quote was among them, its last byte (the closing quote) dropped. A
// title holding "Netscape" is the text from the 13th byte of "Netscape" on without its last byte,
// so "Netscape - [Home]" gives "Home".
std::optional<BrowserPage> ParseWindowInfo(std::string_view answer);

}  // namespace gl
