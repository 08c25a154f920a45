// The skinned form on the headless screen: the nine-rectangle mapping of the main window's
// skin at its own size and larger, the caption buttons (which strip, where, what a press
// released outside does), resizing within limits, maximise and restore, minimise, dragging
// by the caption but not by the logo, the logo's click, and the window's shape.
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/headless_screen.h"
#include "ui/lum_form.h"
#include "ui/lum_ui_utils.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

PngImage FrameOf(std::string_view skin, int index) {
  PngImage strip = SkinPng(skin);
  return *StateFrameHorz(strip, 3, index);
}

struct FormScene {
  test::HeadlessScreen screen;
  TForm host;
  TLumForm* lum;
  explicit FormScene(TFormBtns buttons = WbiMenu | WbiMinimize | WbiMaximize, bool main = true) {
    host.SetBounds(100, 80, 800, 500);
    lum = host.Make<TLumForm>(&host);
    lum->UseSkin = true;
    lum->ImgForm = SkinPng("main_form");
    lum->FormSplit = TLumUIPadding(180, 60, 700, 400);
    lum->ImgLogo = SkinPng("main_logo");
    lum->ImgBtnClose = SkinPng("caption_close");
    lum->ImgBtnSingleClose = SkinPng("caption_close_single");
    lum->ImgBtnMax = SkinPng("caption_max");
    lum->ImgBtnRestore = SkinPng("caption_restore");
    lum->ImgBtnMin = SkinPng("caption_min");
    lum->ImgBtnMenu = SkinPng("caption_menu");
    lum->FormBtns = buttons;
    lum->SupportReSize = true;
    lum->SetCaption("Skinned");
    lum->Loaded();
    if (main) Application().MainForm = &host;
    host.Show();
    screen->ProcessMessages();
  }
  ~FormScene() { host.Hide(); }
  Point At(const TControl& c, int dx = 0, int dy = 0) const {
    const Point o = c.FormOrigin();
    return host.ClientToScreen({o.x + c.Width() / 2 + dx, o.y + c.Height() / 2 + dy});
  }
  void Drag(Point from, Point to) {
    screen->MoveMouse(from.x, from.y);
    screen->PressMouse();
    screen->MoveMouse(to.x, to.y);
    screen->ReleaseMouse();
  }
};

TEST(LumForm, NineRectangleMappingOfTheMainWindowSkin) {
  const TLumUIPadding split(180, 60, 700, 400);
  const auto same = TLumForm::NineMapping({800, 500}, split, {800, 500});
  for (const auto& [from, to] : same) EXPECT_EQ(from, to);
  const auto wide = TLumForm::NineMapping({800, 500}, split, {1000, 600});
  EXPECT_EQ(wide[1].second, (Rect{180, 0, 900, 60}));    // the caption band's middle
  EXPECT_EQ(wide[2].second, (Rect{900, 0, 1000, 60}));   // the right column moves
  EXPECT_EQ(wide[4].second, (Rect{0, 500, 180, 600}));   // bottom-left corner
  EXPECT_EQ(wide[8].second, (Rect{180, 60, 900, 500}));  // centre

  FormScene s;
  PngImage skin = SkinPng("main_form");
  Bitmap32& b = s.lum->FormBitmap();
  for (Point p : {Point{60, 40}, Point{400, 45}, Point{790, 490}, Point{300, 300}}) {
    EXPECT_EQ(b.Pixel(p.x, p.y), skin.Pixel(p.x, p.y)) << p.x << "," << p.y;  // drawn 1:1
  }
  s.host.SetBounds(100, 80, 1000, 600);
  for (auto [form, from] :
       {std::pair{Point{950, 45}, Point{750, 45}}, std::pair{Point{10, 550}, Point{10, 450}},
        std::pair{Point{990, 590}, Point{790, 490}}}) {
    EXPECT_EQ(s.lum->FormBitmap().Pixel(form.x, form.y), skin.Pixel(from.x, from.y))
        << form.x << "," << form.y;
  }
}

TEST(LumForm, MenuOnlyShowsMenuAndCloseWithTheCloseStrip) {
  FormScene s(WbiMenu);
  TDStdFButton* close = s.lum->CaptionButton("BtnClose");
  TDStdFButton* menu = s.lum->CaptionButton("BtnMenu");
  ASSERT_TRUE(close && menu);
  EXPECT_FALSE(s.lum->CaptionButton("BtnMin"));
  EXPECT_FALSE(s.lum->CaptionButton("BtnMax"));
  EXPECT_TRUE(close->BtnNormal.SamePixels(FrameOf("caption_close", 0)));
  EXPECT_EQ(close->Left(), 800 - 30 - 4);
  EXPECT_EQ(menu->Left(), close->Left() - 30);
  FormScene single(0);
  EXPECT_TRUE(single.lum->CaptionButton("BtnClose")
                  ->BtnNormal.SamePixels(FrameOf("caption_close_single", 0)));
}

TEST(LumForm, PressOnACaptionButtonReleasedOutsideRunsNothing) {
  FormScene s;
  TDStdFButton* close = s.lum->CaptionButton("BtnClose");
  s.Drag(s.At(*close), s.At(*close, -60, 0));
  EXPECT_TRUE(s.host.Shown());
  EXPECT_FALSE(Application().Terminated());
  const Point p = s.At(*close);
  s.screen->Click(p.x, p.y);
  EXPECT_FALSE(s.host.Shown());
  EXPECT_TRUE(Application().Terminated());  // the main form's close ends the program
}

TEST(LumForm, CloseQueryMayRefuse) {
  FormScene s;
  s.lum->OnLumFormCloseQuery = [](TLumForm&, bool& can_close) { can_close = false; };
  const Point p = s.At(*s.lum->CaptionButton("BtnClose"));
  s.screen->Click(p.x, p.y);
  EXPECT_TRUE(s.host.Shown());
}

TEST(LumForm, ResizingFromTheBorderStaysWithinTheLimits) {
  struct Case {
    int drag_to_x;  // screen x the right border is dragged to
    int width;      // resulting width
  };
  for (const Case& c : {Case{600, 500}, Case{120, 800}, Case{100 + 1500, 800}, Case{135, 35}}) {
    FormScene s;
    s.Drag({100 + 799, 300}, {c.drag_to_x, 300});
    EXPECT_EQ(s.host.Width(), c.width) << "to " << c.drag_to_x;
  }
  FormScene s;
  s.lum->MinWidth = 400;
  s.Drag({100 + 799, 300}, {300, 300});
  EXPECT_EQ(s.host.Width(), 800);
  s.Drag({100, 300}, {160, 300});  // the left edge moves the window too
  EXPECT_EQ(s.host.Left(), 160);
  EXPECT_EQ(s.host.Width(), 740);
  s.screen->MoveMouse(160 + 739, 80 + 499);
  EXPECT_EQ(s.screen->Cursor(), os::CursorShape::kSizeNWSE);
  s.screen->MoveMouse(400, 300);
  EXPECT_EQ(s.screen->Cursor(), os::CursorShape::kArrow);
}

TEST(LumForm, MaximiseThenRestoreReturnsTheExactBounds) {
  FormScene s;
  s.host.SetBounds(37, 53, 811, 509);
  const Point max = s.At(*s.lum->CaptionButton("BtnMax"));
  s.screen->Click(max.x, max.y);
  EXPECT_EQ(s.lum->FormState(), WisMax);
  EXPECT_EQ(s.host.BoundsRect(), (Rect{0, 0, 1024, 728}));
  EXPECT_FALSE(s.lum->CaptionButton("BtnMax")->Visible());
  EXPECT_TRUE(s.lum->CaptionButton("BtnRestore")->Visible());
  EXPECT_EQ(s.lum->ZoneAt(1, 1), bzClient);  // no resizing while maximised
  const Point restore = s.At(*s.lum->CaptionButton("BtnRestore"));
  s.screen->Click(restore.x, restore.y);
  EXPECT_EQ(s.host.BoundsRect(), RectOfSize(37, 53, 811, 509));
  // A double click on the caption does the same.
  s.screen->DoubleClick(300, 60);
  EXPECT_EQ(s.lum->FormState(), WisMax);
  s.screen->DoubleClick(300, 10);
  EXPECT_EQ(s.host.BoundsRect(), RectOfSize(37, 53, 811, 509));
}

TEST(LumForm, MinimiseClosesASecondaryWindowAndMinimisesTheMainOne) {
  FormScene secondary(WbiMenu | WbiMinimize, false);
  const Point p = secondary.At(*secondary.lum->CaptionButton("BtnMin"));
  secondary.screen->Click(p.x, p.y);
  EXPECT_FALSE(secondary.host.Shown());

  FormScene s;
  int back = 0;
  s.lum->OnLumFormMintoNormal = [&](TLumForm&) { ++back; };
  const Point q = s.At(*s.lum->CaptionButton("BtnMin"));
  s.screen->Click(q.x, q.y);
  EXPECT_TRUE(s.host.Minimized());
  EXPECT_TRUE(s.lum->Minimizing());
  s.screen->PickFromTaskbar(*s.host.Handle());
  EXPECT_FALSE(s.host.Minimized());
  EXPECT_FALSE(s.lum->Minimizing());
  EXPECT_EQ(back, 1);
}

TEST(LumForm, DraggingTheCaptionMovesTheWindowButNotFromTheLogo) {
  FormScene s;
  s.screen->MoveMouse(400, 90);
  s.screen->PressMouse();
  s.screen->MoveMouse(402, 91);  // the first move inside the caption starts the drag
  s.screen->MoveMouse(452, 131);
  s.screen->ReleaseMouse();
  EXPECT_EQ(s.host.Left(), 150);
  EXPECT_EQ(s.host.Top(), 120);
  s.Drag({400, 300}, {420, 320});  // outside the caption band
  EXPECT_EQ(s.host.Left(), 150);
  const Rect logo = s.lum->LogoRect().Offset(s.host.Left(), s.host.Top());
  int logo_clicks = 0;
  s.lum->OnLumFormLogoClick = [&](TLumForm&) { ++logo_clicks; };
  s.Drag({logo.left + 5, logo.top + 5}, {logo.left + 60, logo.top + 5});
  EXPECT_EQ(s.host.Left(), 150);
  EXPECT_EQ(logo_clicks, 0);
  s.screen->Click(logo.left + 5, logo.top + 5);
  EXPECT_EQ(logo_clicks, 1);
  s.lum->LogoActive = false;
  s.screen->MoveMouse(500, 500);
  s.screen->Click(logo.left + 5, logo.top + 5);
  EXPECT_EQ(logo_clicks, 1);
}

TEST(LumForm, ShapesFromRoundCornersAndMasks) {
  FormScene s;
  s.lum->CutMode = CmRound;
  s.lum->CutRound = 9;
  s.lum->ApplyShape();
  EXPECT_EQ(s.lum->Region().kind, os::WindowRegion::Kind::kRoundRect);
  EXPECT_EQ(s.lum->Region().round, (Rect{0, 0, 801, 501}));
  EXPECT_EQ(s.screen->WindowAt({100, 80}), nullptr);  // a corner cut away
  EXPECT_EQ(s.screen->WindowAt({104, 80}), s.host.Handle());
  s.lum->Maximize();
  EXPECT_EQ(s.lum->Region().kind, os::WindowRegion::Kind::kRects);
  s.lum->RestoreSize();

  FormScene m;
  m.lum->SupportReSize = false;
  m.lum->CutMode = CmMask;
  m.lum->CutMask = Bitmap32(800, 500);
  m.lum->CutMask.Clear(0xFF000000u);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3 - y; ++x) m.lum->CutMask.SetPixel(x, y, 0xFFFFFFFFu);  // cut corner
  }
  m.lum->ApplyShape();
  ASSERT_EQ(m.lum->Region().kind, os::WindowRegion::Kind::kRects);
  EXPECT_EQ(m.lum->Region().rects.size(), 500u);  // one run per row
  EXPECT_EQ(m.lum->Region().rects[0], (Rect{3, 0, 800, 1}));
  EXPECT_EQ(m.screen->WindowAt({100, 80}), nullptr);
  EXPECT_EQ(m.screen->WindowAt({103, 80}), m.host.Handle());
}

TEST(LumForm, ParentMustBeATopLevelForm) {
  TForm form;
  TWinControl panel;
  EXPECT_THROW(TLumForm bad(&panel), std::logic_error);
  try {
    TLumForm bad(&panel);
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "A Paretn control must TForm");
  }
  TLumForm good(&form);
  EXPECT_EQ(good.Host(), &form);
  EXPECT_EQ(good.Align(), alClient);
}

}  // namespace
}  // namespace orvo
