// Placeholders of translated texts: filled in order, never through printf, whatever a
// language file holds.
#include <gtest/gtest.h>

#include "shell/lang_format.h"

namespace orvo {
namespace {

TEST(FormatLangText, FillsPlaceholdersInOrderAndLeavesTheRestAsItStands) {
  struct Case {
    const char* pattern;
    std::initializer_list<std::string_view> args;
    const char* expected;
  };
  const Case cases[] = {
      {"%d plug-ins were found", {"15"}, "15 plug-ins were found"},
      {"Current Version:%s", {"1.11.11"}, "Current Version:1.11.11"},
      {"%s: %s", {"a", "b"}, "a: b"},
      {"100%% sure, %d", {"3"}, "100% sure, 3"},
      {"%s and %s", {"only one"}, "only one and %s"},  // no argument left: stays
      {"%n%x%5d %", {"7"}, "%n%x%5d %"},               // nothing printf would read
      {"no placeholder", {"x"}, "no placeholder"},
      {"", {}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatLangText(c.pattern, c.args), c.expected) << c.pattern;
  }
}

}  // namespace
}  // namespace orvo
