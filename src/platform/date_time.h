#pragma once

#include <ctime>
#include <string>

// Date and time texts that are stored and read back later (run stamps). They use fixed forms,
// never the locale's, so every stamp the program writes can be parsed again.

namespace gl {

// Month/day/year without leading zeros: "3/5/1997".
std::string ShortDateText(std::time_t when);
// Hours:minutes:seconds on a 12-hour clock with AM or PM: "9:07:02 AM", "12:00:00 PM".
std::string TimeText(std::time_t when);

}  // namespace gl
