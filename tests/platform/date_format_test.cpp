// Dates in the user's short date format: the day-month-year pictures the sandbox applies,
// and what the back end of this build answers (GetDateFormatEx and GetSysColor under
// Wine; the image's picture and no colour scheme natively).
#include <gtest/gtest.h>

#include "platform/date_format.h"
#include "platform/platform.h"
#include "support/test_machine.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvo::test {
namespace {

TEST(DateFormat, PicturesAsTheLocaleWritesThem) {
  struct Case {
    const char* picture;
    int year, month, day;
    const char* expect;
  };
  const Case cases[] = {
      {"M/d/yyyy", 2024, 3, 5, "3/5/2024"},
      {"dd.MM.yyyy", 2024, 3, 5, "05.03.2024"},
      {"yyyy-MM-dd", 2024, 12, 31, "2024-12-31"},
      {"d MMM yy", 2009, 3, 5, "5 Mar 09"},
      {"dddd, MMMM d, yyyy", 2024, 3, 5, "Tuesday, March 5, 2024"},
      {"ddd d", 2000, 1, 1, "Sat 1"},
      {"y/M/d", 2007, 7, 7, "7/7/7"},
      {"'Day' d 'of' M", 2024, 3, 5, "Day 5 of 3"},
      {"yy''MM", 2024, 3, 5, "24'03"},
      {"gg yyyy", 2024, 3, 5, " 2024"},
      {"dd/MM/yyyy", 2024, 13, 40, "31/12/2024"},  // clamped, never out of range
  };
  for (const Case& c : cases) {
    EXPECT_EQ(os::FormatDatePicture(c.picture, c.year, c.month, c.day), c.expect) << c.picture;
  }
}

#ifdef _WIN32
TEST(SystemDates, TheUsersShortDateAndGreyTextComeFromTheSystem) {
  TestMachine machine;
  os::SystemInfo& system = machine.platform().system();
  wchar_t expected[128] = {};
  SYSTEMTIME st{};
  st.wYear = 2024;
  st.wMonth = 3;
  st.wDay = 5;
  ASSERT_GT(GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, expected, 128,
                            nullptr),
            1);
  const std::string date = system.ShortDate(2024, 3, 5);
  EXPECT_NE(date.find("2024"), std::string::npos) << date;
  EXPECT_EQ(date.size(), std::wstring(expected).size()) << date;
  EXPECT_EQ(system.GrayTextColor(), std::optional<uint32_t>(GetSysColor(COLOR_GRAYTEXT)));
}
#else
TEST(SystemDates, TheImageNamesTheShortDatePictureOrItIsIsoOrder) {
  {
    TestMachine machine;
    EXPECT_EQ(machine.platform().system().ShortDate(2024, 3, 5), "2024-03-05");
    EXPECT_EQ(machine.platform().system().GrayTextColor(), std::nullopt);
  }
  MachineOptions options;
  options.extra_ini = "[Windows]\r\nShortDate=dd.MM.yyyy\r\n";
  TestMachine german(options);
  EXPECT_EQ(german.platform().system().ShortDate(2024, 3, 5), "05.03.2024");
}
#endif

}  // namespace
}  // namespace orvo::test
