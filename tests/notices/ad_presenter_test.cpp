// The advert presenter on an image control of a test form: the six layouts (golden
// pictures natively), the title's place, hover and click; and with the reader end to end.
#include <gtest/gtest.h>

#include "graphics/canvas.h"
#include "notices/ad_presenter.h"
#include "notices/notice_fixture.h"
#include "support/pixels.h"
#include "support/png_samples.h"
#include "ui/form.h"
#include "ui/lum_image.h"
#include "ui/skin_resources.h"

namespace orvo::test {
namespace {

PngImage Picture(uint32_t w, uint32_t h) { return PngImage::FromPngFile(MakePng(w, h)).value(); }

#ifdef _WIN32
constexpr bool kGoldens = false;  // GDI's text differs from the native goldens
#else
constexpr bool kGoldens = true;
#endif

// The demo site's advert pictures.
PngImage SitePicture(const std::string& name) {
  return PngImage::FromPngFile(
             ReadHostFile(std::string(ORVO_SOURCE_DIR) + "/service/demo-site/ad/img/" + name))
      .value();
}

class AdPresenterTest : public NoticeTest {
 protected:
  AdPresenterTest() {
    form.SetBounds(0, 0, 180, 110);
    form.Color = MakeColor(24, 44, 72);
    image = form.Make<TLumImage>();
    image->Name = "imgad";
    image->SetBounds(5, 5, 170, 100);
    image->Cursor = crHandPoint;
    image->SetTransparent(true);
    AdReaderSettings quiet;  // no version text: the reader asks nobody
    ad = std::make_unique<TOrvoAd>(*image, quiet);
  }
  ~AdPresenterTest() override { ad.reset(); }

  TagOrvoAdInfo Item(int align, PngImage picture, std::string title = "Night Owl dark theme") {
    TagOrvoAdInfo item;
    item.align = align;
    item.title = std::move(title);
    item.picture = std::move(picture);
    item.fontname = "Tahoma";
    item.fontsize = 9;
    item.fontcolor = MakeColor(255, 255, 255);
    item.fontcolorover = MakeColor(255, 224, 138);
    item.rect = {4, 34, 166, 66};
    item.link = "http://ads.test/nightowl";
    return item;
  }
  Bitmap32& Paint() {
    form.PaintAll();
    return form.Screen();
  }

  TForm form;
  TLumImage* image = nullptr;
  std::unique_ptr<TOrvoAd> ad;
};

TEST_F(AdPresenterTest, NothingOfItsOwnBeforeAnAdvertIsReady) {
  const Bitmap32 before = Paint();
  EXPECT_EQ(ad->Shown(), nullptr);
  EXPECT_TRUE(ad->TitleBox().empty());
  EXPECT_TRUE(InkBoundsRgb(before, ColorToArgb(MakeColor(24, 44, 72))).empty())
      << "a transparent control";
}

TEST_F(AdPresenterTest, EachLayoutMatchesItsPicture) {
  for (int align = 0; align <= 5; ++align) {
    SCOPED_TRACE(align);
    TagOrvoAdInfo item = align == 4 ? Item(4, SitePicture("tabtidy-banner.png"))
                                    : Item(align, SitePicture("nightowl-icon.png"), "Night Owl");
    item.rect = {8, 20, 160, 84};
    ad->ItemReady(item);
    const Bitmap32& painted = Paint();
    if (kGoldens) {
      EXPECT_TRUE(MatchesGolden(painted, "advert_align" + std::to_string(align)));
    }
  }
}

TEST_F(AdPresenterTest, TheTitlesPlaceFollowsThePictureAndTheLetterHeight) {
  Canvas& probe = Paint().canvas();
  probe.font.name = "Tahoma";
  probe.font.set_size(9);
  const int t = probe.TextHeight("a");
  struct Case {
    int align;
    uint32_t w, h;
    Rect expected;
  };
  const int v32 = std::abs(32 - t) / 2, v4 = std::abs(4 - t) / 2;
  const Case cases[] = {
      {0, 32, 32, {4 + 32, 34 + v32, 4 + 32 + 162, 66}},
      {0, 40, 4, {4 + 40, 34 + v4, 4 + 40 + 162, 66}},  // a picture lower than the letter
      {1, 32, 20, {4, 34 + 20, 166, 66}},
      {2, 32, 32, {4, 34 + v32, 166, 66}},
      {3, 32, 32, {4, 34, 166, 66}},
      {5, 32, 32, {4, 34, 166, 66}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.align);
    ad->ItemReady(Item(c.align, Picture(c.w, c.h)));
    Paint();
    EXPECT_EQ(ad->TitleBox(), c.expected);
  }
  ad->ItemReady(Item(4, Picture(170, 100)));
  Paint();
  EXPECT_TRUE(ad->TitleBox().empty()) << "the picture alone";
}

TEST_F(AdPresenterTest, WithoutAPictureTheTitleTakesTheWholeBoxAtOnce) {
  for (int align = 0; align <= 3; ++align) {
    ad->ItemReady(Item(align, PngImage()));
    ASSERT_NE(ad->Shown(), nullptr);
    EXPECT_EQ(ad->Shown()->align, 5);
    Paint();
    EXPECT_EQ(ad->TitleBox(), Rect({4, 34, 166, 66}));
  }
  ad->ItemReady(Item(7, Picture(32, 32)));
  Paint();
  EXPECT_TRUE(ad->TitleBox().empty()) << "other layouts draw nothing";
}

TEST_F(AdPresenterTest, HoverLightsTheTitleAndAClickOpensTheLink) {
  form.Show();
  ad->ItemReady(Item(5, PngImage(), "Hover me"));
  const Bitmap32 normal = Paint();
  screen->MoveMouse(form.Left() + 50, form.Top() + 50);
  EXPECT_TRUE(ad->Hover());
  const Bitmap32 hovered = Paint();
  EXPECT_GT(CountPixels(hovered, ColorToArgb(MakeColor(255, 224, 138))), 0);
  EXPECT_EQ(CountPixels(normal, ColorToArgb(MakeColor(255, 224, 138))), 0);
  if (kGoldens) {
    EXPECT_TRUE(MatchesGolden(hovered, "advert_hover"));
  }
  screen->MoveMouse(form.Left() + 178, form.Top() + 2);
  EXPECT_FALSE(ad->Hover());
  if (!machine.sandbox()) {
    form.Hide();
    GTEST_SKIP() << "a click would really open the link";
  }
  screen->Click(form.Left() + 50, form.Top() + 50);
  if (auto urls = OpenedUrls()) {
    EXPECT_EQ(*urls, std::vector<std::string>{"http://ads.test/nightowl"});
  }
  // A link that is no web page is not opened.
  TagOrvoAdInfo other = Item(5, PngImage(), "Other");
  other.link = "file:///C:/Windows/System32/cmd.exe";
  ad->ItemReady(other);
  screen->Click(form.Left() + 50, form.Top() + 50);
  if (auto urls = OpenedUrls()) {
    EXPECT_EQ(urls->size(), 1u);
  }
  form.Hide();
}

// The presenter with its reader: the service's banner is drawn once it has come.
TEST_F(AdPresenterTest, TheReadersLastItemIsShown) {
  server.Serve("/img/banner.png", MakePng(170, 100), 200, "image/png");
  server.Serve(
      "/ad/ad1.php",
      "{\"msg\":1,\"adcheckurl\":\"x\",\"adid\":\"d\",\"adlang\":\"l\",\"adver\":\"1\","
      "\"adrefresh\":60,"
      "\"adgroup\":[{\"kind\":1,\"page\":1,\"adinfo\":[{\"align\":4,\"frame\":0,\"title\":"
      "\"Banner\","
      "\"tips\":\"\",\"link\":\"http://ads.test/\",\"imgsrc\":\"" +
          server.Url("/img/banner.png") +
          "\",\"fontcolor\":\"#FFFFFF\",\"fontcolorover\":\"#FFFFFF\",\"fontname\":\"Tahoma\","
          "\"fontsize\":9,\"interval\":1,\"life\":1,\"rect\":{\"left\":0,\"top\":0,\"right\":170,"
          "\"bottom\":100}}]}]}",
      200, "application/json");
  AdReaderSettings settings;
  settings.version_text = "1.11.11";
  settings.language = "English";
  settings.folder = MakeFolder("UpdateInfo");
  settings.default_check_url = server.Url("/ad/ad1.php");
  ad.reset();
  ad = std::make_unique<TOrvoAd>(*image, settings);
  ASSERT_TRUE(PumpUntil([&] { return !ad->Reader().Busy(); }));
  ASSERT_NE(ad->Shown(), nullptr);
  EXPECT_EQ(ad->Shown()->title, "Banner");
  EXPECT_EQ(ad->Picture().width(), 170);
  const Bitmap32& shown = Paint();
  EXPECT_NE(shown.Row(50)[90], ColorToArgb(MakeColor(24, 44, 72)));
}

}  // namespace
}  // namespace orvo::test
