// Image containers, styles and the shared image module with the embedded skins.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/image_codecs.h"
#include "support/pixels.h"
#include "ui/image_module.h"
#include "ui/lum_image_list.h"
#include "ui/lum_style.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

TEST(ImageList, NamesAndDrawing) {
  TLumImageList list;
  EXPECT_EQ(list.ImgWidth, 16);
  EXPECT_EQ(list.ImgHeight, 16);
  EXPECT_EQ(list.Add().Name, "PngImage0");
  TLumPngImageItem& red = list.Add(test::FilledPng(2, 2, 0xFFFF0000));
  EXPECT_EQ(red.Name, "PngImage1");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(2), nullptr);

  Bitmap32 b = test::Filled(6, 2, 0xFF000000);
  list.Draw(&b.canvas(), 0, 0, 1, true);
  list.Draw(&b.canvas(), 2, 0, 1, false);
  list.Draw(&b.canvas(), 4, 0, 5, true);  // beyond the list: nothing
  list.Draw(nullptr, 0, 0, 1, true);      // no canvas: nothing
  EXPECT_EQ(b.Pixel(0, 0), 0xFFFF0000u);
  const Argb grey = b.Pixel(2, 0);
  EXPECT_EQ(RedOf(grey), GreenOf(grey));  // disabled: desaturated
  EXPECT_EQ(b.Pixel(4, 0), 0xFF000000u);
}

TEST(ImageStorage, FormatFollowsThePictureKind) {
  TLumImageStorage storage;
  TLumImageItem& item = storage.Add();
  EXPECT_EQ(item.Format(), LumUnknown);
  item.SetPicture(Picture::FromBytes(EncodePng(test::FilledPng(7, 3, 0xFF000000))));
  EXPECT_EQ(item.Format(), LumPNG);
  EXPECT_EQ(item.Width(), 7);
  EXPECT_EQ(item.Height(), 3);
  // A GIF is recognised but never changes the format.
  const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0};
  TLumImageItem& other = storage.Add();
  other.SetPicture(Picture::FromBytes(gif));
  EXPECT_EQ(other.Format(), LumUnknown);
  EXPECT_EQ(other.Width(), 4);
  other.Tag = 5;
  other.Comment = "gif";
  item.Assign(other);
  EXPECT_EQ(item.Format(), LumPNG);  // kept: GIF is not detected
  EXPECT_EQ(item.Tag, 5);
  EXPECT_EQ(storage.Png(9).width(), 0);
}

TEST(Style, PartsKnowTheirOwnerAndCopyEverythingElse) {
  TLumStyle style;
  int changes = 0;
  style.OnStyleChange = [&](TLumStyle&) { ++changes; };
  EXPECT_EQ(style.FormStyle().Owner(), &style);
  EXPECT_EQ(style.FormStyle().CaptionHeight, 30);
  EXPECT_EQ(style.FormStyle().FormColor, clBtnFace);
  EXPECT_EQ(style.BtnStyle().BtnStateCount, 4);
  TLumButtonStyle buttons;
  buttons.BtnStateCount = 3;
  buttons.BtnFontDisable.color = clGray;
  buttons.BtnFontDown.color = clNavy;
  style.SetBtnStyle(buttons);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(style.BtnStyle().BtnStateCount, 3);
  EXPECT_EQ(style.BtnStyle().BtnFontDisable.color, clGray);  // its own font, not the down one
  EXPECT_EQ(style.BtnStyle().Owner(), &style);
  EXPECT_EQ(buttons.Owner(), nullptr);
}

TEST(ImageModule, HoldsTheSharedPicturesBySize) {
  TimgModule module;
  EXPECT_EQ(imgModule, &module);
  ASSERT_EQ(module.mgstrg.Count(), 30);
  struct Expect {
    int index, width, height;
    const char* comment;
  };
  const Expect table[] = {{0, 19, 19, ""},
                          {1, 48, 48, ""},
                          {2, 15, 15, ""},
                          {5, 135, 18, "OFF"},
                          {6, 135, 18, "ON"},
                          {7, 54, 18, "DELETE"},
                          {8, 20, 70, "ListViewItem"},
                          {9, 10, 10, "ListViewSelBox"},
                          {10, 90, 25, "ListViewHeader"},
                          {11, 9, 9, "ratingBarBack"},
                          {12, 9, 9, "ratingBarF"},
                          {13, 513, 50, "TabButton"},
                          {14, 32, 32, ""},
                          {17, 32, 32, ""},
                          {18, 100, 100, "NonePlugin"},
                          {19, 11, 11, "start11"},
                          {20, 21, 21, ""},
                          {22, 21, 21, ""},
                          {23, 16, 16, "report"},
                          {28, 16, 16, "step"},
                          {29, 100, 100, "nonerate"}};
  for (const Expect& e : table) {
    const TLumImageItem* item = module.mgstrg.Item(e.index);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Width(), e.width) << e.index;
    EXPECT_EQ(item->Height(), e.height) << e.index;
    EXPECT_EQ(item->Format(), LumPNG) << e.index;
    EXPECT_EQ(item->Tag, 0);
    EXPECT_EQ(item->Comment, e.comment) << e.index;
  }
  // The greyed browser icons are grey.
  const Argb p = module.mgstrg.Png(14).Pixel(16, 3);
  EXPECT_EQ(RedOf(p), GreenOf(p));
  // The review marks: 23, 25 and 27 for a review not yet reported or voted on (blue, the
  // live look), 24, 26 and 28 for one that is (grey), judged by their average ink.
  for (int index = 23; index <= 28; ++index) {
    const PngImage& mark = module.mgstrg.Png(index);
    long long red = 0, blue = 0, weight = 0;
    for (int y = 0; y < mark.height(); ++y) {
      for (int x = 0; x < mark.width(); ++x) {
        const Argb c = mark.Pixel(x, y);
        red += RedOf(c) * AlphaOf(c);
        blue += BlueOf(c) * AlphaOf(c);
        weight += AlphaOf(c);
      }
    }
    ASSERT_GT(weight, 0) << index;
    const bool live = index % 2 == 1;
    if (live) {
      EXPECT_GT(blue - red, 150 * weight) << index << " should be blue";
    } else {
      EXPECT_LT(std::abs(blue - red), 30 * weight) << index << " should be grey";
    }
  }

  EXPECT_EQ(module.lmscrlbrs.ImgBack.width(), 22);
  EXPECT_EQ(module.lmscrlbrs.ImgSlider.width(), 44);
  EXPECT_EQ(module.lmscrlbrs.ImgBtnLT.height(), 13);
  EXPECT_EQ(module.lmscrlbrs.ImgCenter.height(), 10);
  EXPECT_EQ(module.lmscrlbrs.SliderSplit.Top, 7);
  EXPECT_EQ(module.lmscrlbrs.SliderSplit.Bottom, 15);
  EXPECT_EQ(module.lmscrlbrs.BackStateCount, 2);
  EXPECT_TRUE(module.lmscrlbrs.ShowButton);

  EXPECT_EQ(module.msgdlg.ImgForm.width(), 296);
  EXPECT_EQ(module.msgdlg.ImgForm.height(), 169);
  EXPECT_EQ(module.msgdlg.FormSplit, TLumUIPadding(5, 30, 25, 35));
  EXPECT_EQ(module.msgdlg.ImgClose.width(), 135);
  EXPECT_EQ(module.msgdlg.ImgBtn.width(), 392);
  EXPECT_EQ(module.msgdlg.ImgMsg.width(), 140);
  EXPECT_EQ(module.msgdlg.ImgLogo.width(), 16);
  EXPECT_EQ(module.msgdlg.AlphaWidth, 9);
  EXPECT_EQ(module.msgdlg.CaptionHeight, 20);
}

TEST(SkinResources, EveryWindowSkinHasItsStatedSize) {
  struct Expect {
    const char* name;
    int width, height;
  };
  const Expect table[] = {
      {"main_form", 800, 500}, {"tab_button", 513, 50},  {"menu_back", 18, 18},
      {"menu_item", 42, 4},    {"menu_line", 117, 1},    {"menu_subarrow", 36, 18},
      {"menu_check", 28, 28},  {"menu_radio", 48, 16},   {"wait_00", 190, 220},
      {"wait_14", 190, 220},   {"about_form", 500, 289}, {"rate_form", 750, 480}};
  for (const Expect& e : table) {
    const PngImage png = SkinPng(e.name);
    EXPECT_EQ(png.width(), e.width) << e.name;
    EXPECT_EQ(png.height(), e.height) << e.name;
  }
  EXPECT_TRUE(SkinBytes("no_such_skin").empty());
  EXPECT_TRUE(SkinPng("no_such_skin").empty());
  const auto names = SkinNames();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

}  // namespace
}  // namespace orvo
