#include "core/stamp_columns.h"

#include <array>

#include "core/settings_io.h"

namespace gl {
namespace {

constexpr std::string_view kBlanks = " \t";

// Column positions of the pieces, in pixels from the row's left edge.
constexpr int kMonthEnd = 23;
constexpr int kMonthDash = 25;
constexpr int kDayEnd = 41;
constexpr int kDayDash = 43;
constexpr int kYearStart = 47;
constexpr int kHoursEnd = 133;
constexpr int kHoursColon = 135;
constexpr int kMinutesEnd = 153;
constexpr int kMinutesColon = 155;
constexpr int kSecondsEnd = 173;
constexpr int kMarkerStart = 180;

void AddRight(std::vector<StampPiece>& pieces, std::string_view text, int end) {
  if (!text.empty()) pieces.push_back({std::string(text), end, true});
}

void AddLeft(std::vector<StampPiece>& pieces, std::string_view text, int start) {
  if (!text.empty()) pieces.push_back({std::string(text), start, false});
}

// The text between `from` and the separator at `to`; the rest of the text when there is none.
std::string_view Between(std::string_view text, std::size_t from, std::size_t to) {
  return text.substr(from, to == std::string_view::npos ? std::string_view::npos : to - from);
}

std::string DayText(std::string_view day) {
  const std::optional<int> single = DecimalInRange(day, 0, 9);
  return single ? "0" + std::to_string(*single) : std::string(day);
}

std::string_view TrimEnd(std::string_view text) {
  const std::size_t last = text.find_last_not_of(kBlanks);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

}  // namespace

std::string_view GetMonth(int month) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return month >= 1 && month <= 12 ? kMonths[month - 1] : std::string_view();
}

std::vector<StampPiece> StampColumns(std::string_view stamp) {
  std::vector<StampPiece> pieces;
  const std::size_t monthSlash = stamp.find('/');
  if (monthSlash == std::string_view::npos) return pieces;
  AddRight(pieces, GetMonth(DecimalInRange(stamp.substr(0, monthSlash), 1, 12).value_or(0)),
           kMonthEnd);
  AddLeft(pieces, "-", kMonthDash);

  const std::size_t daySlash = stamp.find('/', monthSlash + 1);
  if (daySlash == std::string_view::npos) return pieces;
  AddRight(pieces, DayText(Between(stamp, monthSlash + 1, daySlash)), kDayEnd);
  AddLeft(pieces, "-", kDayDash);
  const std::size_t yearEnd = stamp.find_first_of(kBlanks, daySlash + 1);
  AddLeft(pieces, Between(stamp, daySlash + 1, yearEnd), kYearStart);
  if (yearEnd == std::string_view::npos) return pieces;

  const std::size_t hours = stamp.find_first_not_of(kBlanks, yearEnd);
  const std::size_t hoursColon = stamp.find(':', hours);
  if (hoursColon == std::string_view::npos) return pieces;
  AddRight(pieces, Between(stamp, hours, hoursColon), kHoursEnd);
  AddLeft(pieces, ":", kHoursColon);

  const std::size_t minutesColon = stamp.find(':', hoursColon + 1);
  if (minutesColon == std::string_view::npos) return pieces;
  AddRight(pieces, Between(stamp, hoursColon + 1, minutesColon), kMinutesEnd);
  AddLeft(pieces, ":", kMinutesColon);

  const std::string_view rest = stamp.substr(minutesColon + 1);
  std::size_t marker = rest.find("AM");
  if (marker == std::string_view::npos) marker = rest.find("PM");
  AddRight(pieces, TrimEnd(Between(rest, 0, marker)), kSecondsEnd);
  if (marker != std::string_view::npos) AddLeft(pieces, rest.substr(marker), kMarkerStart);
  return pieces;
}

}  // namespace gl
