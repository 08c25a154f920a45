// The demo site's pictures: the advert set (a banner and item pictures) and the
// newsletter's pictures, painted like the skins so they can be regenerated and reviewed.
// `skin_painter site <folder>` writes them under the site folder (ad/img/, news/img/).
#include <cmath>

#include "palette.h"
#include "platform/text_format.h"
#include "skins.h"

namespace orvo::painter {
namespace {

const Argb kTeal = Rgb(18, 148, 160);
const Argb kTealDark = Rgb(12, 98, 132);
const Argb kIndigo = Rgb(38, 42, 96);
const Argb kMidnight = Rgb(22, 24, 58);
const Argb kMoon = Rgb(255, 214, 102);

// A browser window with a row of tabs sorted into coloured groups.
void TabWindow(Bitmap32& b, double x, double y, double w, double h) {
  const Sdf frame = RoundRect(x, y, x + w, y + h, 4);
  Shadow(b, frame, 0, 2, 3.0f, Rgb(0, 30, 50, 70));
  Fill(b, frame, Rgb(250, 252, 255));
  Fill(b, RoundRect(x, y, x + w, y + 11, 4), Rgb(222, 232, 242));
  const Argb groups[] = {Rgb(52, 168, 83), Rgb(22, 149, 230), Rgb(245, 166, 35)};
  double tx = x + 4;
  for (int g = 0; g < 3; ++g) {
    const int tabs = g == 1 ? 3 : 2;
    for (int t = 0; t < tabs; ++t) {
      Fill(b, RoundRect(tx, y + 3, tx + 6, y + 11, 1.5), Mix(groups[g], kWhite, t == 0 ? 0 : 0.35));
      tx += 7;
    }
    tx += 2;
  }
  for (int line = 0; line < 3; ++line) {
    Fill(b, RoundRect(x + 6, y + 17 + line * 7, x + w - 6 - line * 9, y + 20 + line * 7, 1.5),
         Rgb(206, 216, 228));
  }
}

// tabtidy-banner, 170 x 100: the whole advert area.
PngImage TabTidyBanner() {
  Bitmap32 b = Blank(170, 100);
  Fill(b, RoundRect(0, 0, 170, 100, 0), [](double x, double y) {
    return Mix(Mix(kTeal, kTealDark, y / 100), Rgb(24, 44, 72), x / 340);
  });
  Fill(b, Circle(150, 8, 46), Rgb(255, 255, 255, 18));
  Fill(b, Circle(168, 96, 30), Rgb(255, 255, 255, 14));
  TabWindow(b, 98, 14, 62, 42);
  Text(b, TextFont(17, true), {10, 10, 100, 32}, kDtLeft | kDtSingleLine | kDtNoPrefix, "Tab Tidy",
       kWhite);
  Text(b, TextFont(10, false), {10, 33, 100, 47}, kDtLeft | kDtSingleLine | kDtNoPrefix,
       "Tame your open", Rgb(222, 244, 246));
  Text(b, TextFont(10, false), {10, 46, 100, 60}, kDtLeft | kDtSingleLine | kDtNoPrefix,
       "tabs in one click", Rgb(222, 244, 246));
  const Sdf pill = RoundRect(10, 70, 84, 90, 10);
  Shadow(b, pill, 0, 1, 1.5f, Rgb(0, 30, 50, 80));
  Fill(b, pill, Vertical(70, Rgb(255, 198, 64), 90, kGoldDark));
  Text(b, TextFont(10, true), {10, 70, 84, 90},
       kDtCenter | kDtVCenter | kDtSingleLine | kDtNoPrefix, "Get it free", Rgb(60, 36, 0));
  return ToPng(b);
}

// nightowl-icon, 32 x 32: a crescent moon and stars on a midnight tile.
PngImage NightOwlIcon() {
  Bitmap32 b = Blank(32, 32);
  const Sdf tile = RoundRect(1, 1, 31, 31, 7);
  Fill(b, tile, Vertical(1, kIndigo, 31, kMidnight));
  Fill(b, Subtract(Circle(15, 17, 9), Circle(19.5, 13.5, 7.6)), kMoon);
  Fill(b, Star(24, 22, 2.6, 1.1, 4), Rgb(255, 240, 200));
  Fill(b, Star(23, 8, 1.8, 0.8, 4), Rgb(255, 240, 200, 200));
  return ToPng(b);
}

// readermode-card, 64 x 40: a page of text with a large "Aa", the reading add-on.
PngImage ReaderModeCard() {
  Bitmap32 b = Blank(64, 40);
  const Sdf card = RoundRect(2, 2, 62, 38, 5);
  Shadow(b, card, 0, 1, 1.5f, Rgb(20, 40, 70, 60));
  Fill(b, card, Rgb(253, 248, 236));
  Fill(b, Outline(Inset(card, 0.5), 1), Rgb(226, 214, 186));
  Text(b, TextFont(16, true, "DejaVu Serif"), {7, 6, 32, 32}, kDtLeft | kDtSingleLine | kDtNoPrefix,
       "Aa", Rgb(92, 64, 32));
  for (int line = 0; line < 4; ++line) {
    Fill(b, RoundRect(32, 9 + line * 6, 56 - (line == 3 ? 8 : 0), 11 + line * 6, 1),
         Rgb(190, 172, 140));
  }
  return ToPng(b);
}

// news-mark, 40 x 40: the product mark for the newsletter's head.
PngImage NewsMark() {
  Bitmap32 b = Blank(40, 40);
  LogoMarkOn(b, 2, 2, 36);
  return ToPng(b);
}

// news-reviews, 136 x 84: a review card with stars and a speech bubble.
PngImage NewsReviews() {
  Bitmap32 b = Blank(136, 84);
  Fill(b, RoundRect(0, 0, 136, 84, 8), Vertical(0, Rgb(233, 243, 252), 84, Rgb(214, 231, 247)));
  const Sdf card = RoundRect(12, 14, 110, 70, 6);
  Shadow(b, card, 0, 2, 3.0f, Rgb(20, 40, 70, 50));
  Fill(b, card, kWhite);
  Fill(b, Circle(26, 28, 7), Vertical(21, Lighten(kLinkBlue, 0.15), 35, kLinkBlueDark));
  Fill(b, RoundRect(38, 23, 90, 26, 1.5), Rgb(196, 206, 220));
  Fill(b, RoundRect(38, 30, 74, 33, 1.5), Rgb(214, 222, 232));
  for (int i = 0; i < 5; ++i) {
    Fill(b, Star(24 + i * 15, 52, 6.4, 2.8),
         i < 4 ? Vertical(45, kGold, 59, kGoldDark) : Solid(kStarGrey));
  }
  const Sdf bubble = Union(RoundRect(94, 8, 128, 32, 7), Polygon({{100, 30}, {110, 30}, {98, 40}}));
  Fill(b, bubble, Vertical(8, kGreen, 40, Darken(kGreen, 0.15)));
  Fill(b, Polyline({{103, 20}, {108, 25}, {119, 14}}, 2.6), kWhite);
  return ToPng(b);
}

}  // namespace

std::vector<SkinDef> SitePictures() {
  return {{"ad/img/tabtidy-banner", TabTidyBanner},
          {"ad/img/nightowl-icon", NightOwlIcon},
          {"ad/img/readermode-card", ReaderModeCard},
          {"news/img/news-mark", NewsMark},
          {"news/img/news-reviews", NewsReviews}};
}

}  // namespace orvo::painter
