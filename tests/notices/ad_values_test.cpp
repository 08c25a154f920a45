// The advert's colour strings and the file names its pictures are kept under.
#include <gtest/gtest.h>

#include "notices/ad_values.h"

namespace orvo {
namespace {

TEST(AdValues, ColoursAreRedGreenBlueAfterTheSign) {
  EXPECT_EQ(ParseAdColor("#FF0000"), TColor{255});
  EXPECT_EQ(ParseAdColor("#00ff00"), TColor{255 * 256});
  EXPECT_EQ(ParseAdColor("#0000FF"), TColor{255 * 65536});
  EXPECT_EQ(ParseAdColor("$1F5FBF"), MakeColor(0x1F, 0x5F, 0xBF)) << "any sign is skipped";
  EXPECT_EQ(ParseAdColor("#1F5FBF00"), MakeColor(0x1F, 0x5F, 0xBF)) << "what follows is not read";
  EXPECT_EQ(ParseAdColor(""), TColor{0});
  for (const char* bad : {"#FF00", "#GG0000", "FF0000", "#FF 000", "red"}) {
    EXPECT_FALSE(ParseAdColor(bad).has_value()) << bad;
  }
}

TEST(AdValues, APictureIsKeptOnlyUnderAPlainFileName) {
  struct Case {
    const char* imgsrc;
    const char* name;
  };
  const Case cases[] = {
      {"http://ads.test/img/banner.png", "banner.png"},
      {"http://ads.test/img/Banner 2.PNG", "Banner 2.PNG"},
      {"banner.png", "banner.png"},
      {"http://ads.test/../../x.dll", "x.dll"},  // its last segment, inside the folder
      {"..\\..\\x.dll", ""},
      {"http://ads.test/img/..", ""},
      {"http://ads.test/img/a..b.png", ""},
      {"C:\\x.png", ""},
      {"http://ads.test/C:x.png", ""},
      {"http://ads.test/a\\..\\..\\b.png", ""},
      {"http://ads.test/CON.png", ""},
      {"http://ads.test/con", ""},
      {"http://ads.test/Com1.png", ""},
      {"http://ads.test/lpt9.txt.png", ""},
      {"http://ads.test/COM\xC2\xB9.png", ""},
      {"http://ads.test/lpt\xC2\xB3", ""},
      {"http://ads.test/COM\xC2\xBD.png", "COM\xC2\xBD.png"},
      {"http://ads.test/COM10.png", "COM10.png"},
      {"http://ads.test/nul .png", ""},
      {"http://ads.test/CONOUT$", ""},
      {"http://ads.test/console.png", "console.png"},
      {"http://ads.test/..%2F..%2Fx.dll", ""},
      {"http://ads.test/%2e%2e%5cx.png", ""},
      {"http://ads.test/img/", ""},
      {"http://ads.test/b.png?v=2", ""},
      {"http://ads.test/a|b.png", ""},
      {"http://ads.test/trailing.", ""},
      {"http://ads.test/tab\there.png", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(AdPictureFileName(c.imgsrc), c.name) << c.imgsrc;
  EXPECT_EQ(AdPictureFileName("http://ads.test/" + std::string(96, 'a') + ".png").size(), 100u);
  EXPECT_EQ(AdPictureFileName("http://ads.test/" + std::string(97, 'a') + ".png"), "");
  // Characters, not bytes: a hundred non-ASCII letters are a name.
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "\xC3\xA9";
  EXPECT_EQ(AdPictureFileName("http://ads.test/" + hundred), hundred);
}

}  // namespace
}  // namespace orvo
