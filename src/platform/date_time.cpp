#include "platform/date_time.h"

#include <cstdio>

namespace gl {
namespace {

std::tm LocalTime(std::time_t when) {
  std::tm parts{};
  localtime_r(&when, &parts);
  return parts;
}

}  // namespace

std::string ShortDateText(std::time_t when) {
  const std::tm parts = LocalTime(when);
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%d", parts.tm_mon + 1, parts.tm_mday,
                parts.tm_year + 1900);
  return text;
}

std::string TimeText(std::time_t when) {
  const std::tm parts = LocalTime(when);
  const int hour12 = parts.tm_hour % 12 == 0 ? 12 : parts.tm_hour % 12;
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour12, parts.tm_min, parts.tm_sec,
                parts.tm_hour < 12 ? "AM" : "PM");
  return text;
}

}  // namespace gl
