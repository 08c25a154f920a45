// Day-month-year pictures; see date_format.h.
#include "platform/date_format.h"

#include <algorithm>
#include <array>

namespace orvo::os {
namespace {

constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};
constexpr std::array<const char*, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

// 0 = Sunday, for the proleptic Gregorian calendar (Sakamoto's method).
int Weekday(int y, int m, int d) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) --y;
  const int w = (y + y / 4 - y / 100 + y / 400 + kOffsets[m - 1] + d) % 7;
  return w < 0 ? w + 7 : w;
}

std::string Padded(int value, int width) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

}  // namespace

std::string FormatDatePicture(std::string_view picture, int year, int month, int day) {
  year = std::clamp(year, 1, 9999);
  month = std::clamp(month, 1, 12);
  day = std::clamp(day, 1, 31);
  std::string out;
  size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\'') {
      // Quoted text; a doubled quote, inside or outside, is one quote.
      if (i + 1 < picture.size() && picture[i + 1] == '\'') {
        out += '\'';
        i += 2;
        continue;
      }
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += picture[i++];
      }
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    const int n = static_cast<int>(run);
    switch (c) {
      case 'd':
        if (n <= 2) {
          out += Padded(day, n);
        } else {
          const std::string name = kDays[static_cast<size_t>(Weekday(year, month, day))];
          out += n == 3 ? name.substr(0, 3) : name;
        }
        break;
      case 'M':
        if (n <= 2) {
          out += Padded(month, n);
        } else {
          const std::string name = kMonths[static_cast<size_t>(month - 1)];
          out += n == 3 ? name.substr(0, 3) : name;
        }
        break;
      case 'y': out += n <= 2 ? Padded(year % 100, n) : Padded(year, 4); break;
      case 'g': break;
      default: out.append(run, c); break;
    }
    i += run;
  }
  return out;
}

}  // namespace orvo::os
