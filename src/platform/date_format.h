#pragma once
// Dates written the way a Windows user's locale writes them. The short date format of a
// locale is a picture such as "M/d/yyyy" or "dd.MM.yyyy" (LOCALE_SSHORTDATE); the Win32
// back end lets the system apply the user's own, the sandbox applies the picture its
// image names with the rules below (ISO order when it names none).
#include <string>
#include <string_view>

namespace orvo::os {

inline constexpr char kIsoDatePicture[] = "yyyy-MM-dd";

// The date in a day-month-year picture, as GetDateFormat reads one: d and dd the day
// (dd with a leading zero), ddd and dddd the weekday's short and long English name, M and
// MM the month, MMM and MMMM its short and long English name, y and yy the last two digits
// of the year (y without a leading zero), yyyy (or more y) the whole year, g and gg the
// era (left out); text in single quotes as it stands ('' is one quote); anything else is
// copied. Out-of-range values are clamped to a real date (month 1..12, day 1..31).
std::string FormatDatePicture(std::string_view picture, int year, int month, int day);

}  // namespace orvo::os
