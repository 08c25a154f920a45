// Review rows without a window: texts from the service made safe to show, the vote areas
// and the vote column for captions of different lengths, and row heights.
#include <gtest/gtest.h>

#include "graphics/bitmap.h"
#include "platform/text.h"
#include "shell/review_rows.h"

namespace orvo::test {
namespace {

TEST(ReviewRows, ServiceTextsBecomeTextWithoutControlCharacters) {
  struct Case {
    const char* in;
    const char* line;
    const char* text;
  };
  const Case cases[] = {
      {"plain", "plain", "plain"},
      {"two\r\nlines\nand\rmore", "two  lines and more", "two\r\nlines\nand\rmore"},
      {"tab\there\x01\x1b\x7f", "tab here   ", "tab here   "},
      {"&amp; <b>x</b> %s \\n", "&amp; <b>x</b> %s \\n", "&amp; <b>x</b> %s \\n"},
      {"C1 \xC2\x85 next", "C1   next", "C1   next"},  // U+0085, a C1 control
      {"bad \xFF byte", "bad \xEF\xBF\xBD byte", "bad \xEF\xBF\xBD byte"},
      {"Gr\xC3\xBC\xC3\x9F"
       "e \xF0\x9F\x98\x80",
       "Gr\xC3\xBC\xC3\x9F"
       "e \xF0\x9F\x98\x80",
       "Gr\xC3\xBC\xC3\x9F"
       "e \xF0\x9F\x98\x80"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShownLine(c.in), c.line) << c.in;
    EXPECT_EQ(ShownText(c.in), c.text) << c.in;
  }
  // A nul inside the text is a blank too.
  EXPECT_EQ(ShownLine(std::string("a\0b", 3)), "a b");
}

TEST(ReviewRows, HugeTextsAreCutFarBeyondWhatARowShows) {
  const std::string huge(100000, 'x');
  const std::string line = ShownLine(huge);
  const std::string text = ShownText(huge);
  EXPECT_EQ(line.size(), 200u + 3u);  // and the ellipsis
  EXPECT_EQ(line.substr(200), "\xE2\x80\xA6");
  EXPECT_EQ(text.size(), 2500u + 3u);
  // A cut never splits a character.
  const std::string wide = ShownText(std::string(3000, 'a') + std::string(2000, '\xC3'));
  EXPECT_TRUE(IsValidUtf8(wide));
}

TEST(ReviewRows, MadeFromTheServicesReview) {
  TReviewData data;
  data.Id = 42;
  data.Nickname = "Ann\r\n";
  data.Content = "Good\r\ntool";
  data.Date = "2024-05-01\x01";
  data.Score = 9;
  const TReviewItem item = MakeReviewItem(data);
  EXPECT_EQ(item.Id, 42);
  EXPECT_EQ(item.Nickname, "Ann  ");
  EXPECT_EQ(item.Content, "Good\r\ntool");
  EXPECT_EQ(item.Date, "2024-05-01 ");
  EXPECT_EQ(item.Score, 5);
  EXPECT_FALSE(item.voted);
  EXPECT_FALSE(item.reported);
}

TEST(ReviewRows, VoteAreasFollowTheRowAndGrowWithTheirCaptions) {
  TReviewRowLook look;
  const Rect row{2, 100, 702, 180};
  // The widths the layout asks for with short captions: 50 each, a 200-pixel column.
  TVoteAreas a = VoteAreas(look, row);
  const int x0 = 702 - 200;
  EXPECT_EQ(a.like, (Rect{x0 + 5, 120, x0 + 55, 136}));
  EXPECT_EQ(a.dislike, (Rect{x0 + 65, 120, x0 + 115, 136}));
  EXPECT_EQ(a.report, (Rect{x0 + 125, 120, x0 + 175, 138}));
  EXPECT_EQ(ContentRect(look, row), (Rect{2 + 130, 120, x0, 180}));

  // Captions measured in the vote font: short ones keep the column (the areas stay about
  // 50 pixels, as each font measures them), long ones widen it.
  Bitmap32 surface;
  surface.SetSize(1, 1);
  look.like = "Like";
  look.dislike = "Dislike";
  look.report = "Report";
  look.Measure(surface.canvas());
  EXPECT_EQ(look.like_width, 50);
  EXPECT_NEAR(look.dislike_width, 50, 4);
  EXPECT_EQ(look.vote_column, 200);
  look.like = "Gef\xC3\xA4llt mir";
  look.dislike = "Gef\xC3\xA4llt mir nicht";
  look.Measure(surface.canvas());
  EXPECT_GT(look.dislike_width, 50);
  EXPECT_GT(look.vote_column, 200);
  a = VoteAreas(look, row);
  EXPECT_EQ(a.like.left, 702 - look.vote_column + 5);
  EXPECT_EQ(a.dislike.left, a.like.right + 10);
  EXPECT_EQ(a.report.left, a.dislike.right + 10);
  EXPECT_LE(a.report.right, row.right);
  Canvas& canvas = surface.canvas();
  canvas.font = look.vote;
  EXPECT_GE(a.dislike.width(), 18 + canvas.TextWidth(look.dislike));
}

TEST(ReviewRows, RowHeightsStayWithinSixtyAndTwoHundredTwenty) {
  EXPECT_EQ(ReviewRowHeight(0), 60);
  EXPECT_EQ(ReviewRowHeight(13), 60);
  EXPECT_EQ(ReviewRowHeight(52), 52 + 20 + 10);
  EXPECT_EQ(ReviewRowHeight(190), 220);
  EXPECT_EQ(ReviewRowHeight(5000), 220);
}

}  // namespace
}  // namespace orvo::test
