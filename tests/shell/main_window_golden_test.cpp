// The main window's pictures: every tab in English and German on the demo image, with the
// same ratings from the stand-in and the Firefox icons it serves, compared pixel by pixel
// with tests/golden/main_<language>_<tab>.png (native text only).
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "shell/main_window_fixture.h"
#include "support/pixels.h"

namespace orvo::test {
namespace {

struct Shot {
  const char* language;
  uint8_t kind;
  const char* tab;
};

void PrintTo(const Shot& shot, std::ostream* out) { *out << shot.language << " " << shot.tab; }

class MainWindowGolden : public MainWindowTest, public ::testing::WithParamInterface<Shot> {};

TEST_P(MainWindowGolden, LooksAsBefore) {
  const Shot& shot = GetParam();
  const std::pair<const char*, const char*> ratings[] = {
      {"fblkdohiomlcbgpekccokebfafkgegcf", "4.5,210"},  // Tab Tidy
      {"anihaiknkjpemibakigcfnienhfpllen", "3.5,12"},   // Quiet Pages
      {"klngfkoppaageohkfiaojmohnmphfjfc", "2.0,3"},    // Clip Notes
      {"oopjaeeehcadmkbplahcjkdnfdfelmao", "4,40"},     // Color Picker Pro
      {"jncomfdhcfpipkdaadmddodcbbfkgkbb", "1.5,2"},    // Focus Timer
      {"dcgggpjkmcndnlmckifahnfdaokoabni", "5,1"},      // JSON Lens
      {"darkfox@orvo-demo.example", "4.2,18"},
      {"readermode@orvo-demo.example", "3.0,7"},
      {"tabtidy@orvo-demo.example", "4.7,90"},
      {"{3c2b8b0e-5b7a-4f0e-9d2c-1a4e6f7b8c90}", "2.6,5"},
      {"ijhalcmpfecbabjmpagjaihimajngpoo", "3.5,4"},   // Night Owl
      {"phonibhekbdcldjdnfbjjlodamhpdonh", "4.1,20"},  // Opera Tab Tidy
      {"{6B1D2F3A-2222-4C2E-9A11-0D3E5F7A9B02}", "1.0,9"},
      {"{6B1D2F3A-5555-4C2E-9A11-0D3E5F7A9B05}", "3.9,11"},
  };
  for (const auto& [id, value] : ratings) service.SetRating(id, value);
  Open(shot.language);
  if (shot.kind != bkChrome) ClickTab(shot.kind);
  if (shot.kind == bkFirefox) WaitFirefoxIcons();
  // The pointer rests outside the window.
  screen->MoveMouse(2, 2);
  main->PaintAll();
  EXPECT_TRUE(MatchesGolden(main->Screen(), std::string("main_") + shot.language + "_" + shot.tab));
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, MainWindowGolden,
    ::testing::Values(Shot{"English", bkChrome, "chrome"}, Shot{"English", bkIE, "ie"},
                      Shot{"English", bkFirefox, "firefox"}, Shot{"English", bkOpera, "opera"},
                      Shot{"German", bkChrome, "chrome"}, Shot{"German", bkIE, "ie"},
                      Shot{"German", bkFirefox, "firefox"}, Shot{"German", bkOpera, "opera"}),
    [](const ::testing::TestParamInfo<Shot>& shot) {
      return std::string(shot.param.language) + "_" + shot.param.tab;
    });

}  // namespace
}  // namespace orvo::test
