// Dialog-like windows: the message box, the about, news and ratings windows, push and tab
// buttons, toasts and the wait animation.
#include <cmath>

#include "palette.h"
#include "platform/text_format.h"
#include "skins.h"

namespace orvo::painter {
namespace {

// msg_form, 296 x 169, split (5, 30, 25, 35): the tiled band [5, 25) and rows [30, 35) must
// repeat seamlessly, so the body's rounded left edge sits in columns 1..4 and its title
// band ends at row 30. Content is inset 9 (AlphaWidth); the shadow falls to the lower right.
//
//   1                                               288   296
// 5 +-------------------------------------------------+
//   | title band (navy)                    [ close ]  |   close at (242, 9), 45 x 20
// 30 +-------------------------------------------------+
//   | icon   message                                  |
// 116+-------------------------------------------------+
//   | footer (light)          [ No ] [ Yes ]          |   buttons end at 150
// 160+-------------------------------------------------+ shadow
PngImage MsgForm() {
  Bitmap32 b = Blank(296, 169);
  const Sdf body = RoundRect(1, 5, 288, 160, 4);
  // The shadow's left end lies off the picture and fades in over the fixed columns 0..4,
  // so from column 5 on it is the same in every column and tiles without seams.
  Bitmap32 shade = Blank(296, 169);
  Shadow(shade, RoundRect(-40, 5, 288, 160, 4), 2, 3, 5.0f, kShadow);
  for (int y = 0; y < shade.height(); ++y) {
    for (int x = 0; x < 5; ++x) {
      Argb& p = shade.Row(y)[x];
      p = WithAlpha(p, AlphaOf(p) * static_cast<uint32_t>(x + 1) / 6);
    }
  }
  shade.set_draw_mode(DrawMode::kBlend);
  shade.set_combine_mode(CombineMode::kMerge);
  shade.DrawTo(b, 0, 0);
  Fill(b, body, kWhite);
  Fill(b, Intersect(body, [](double, double y) { return y - 30; }),
       Vertical(5, kNavyLight, 30, kNavy));
  Fill(b, Intersect(body, [](double, double y) { return 116 - y; }), kSurface);
  HLine(b, 1, 288, 116, kLine);
  Fill(b, Outline(Inset(body, 0.5), 1), Rgb(20, 38, 62, 120));
  return ToPng(b);
}

// msg_close, 135 x 20: 3 frames of 45 x 20 (normal, over, down).
PngImage MsgClose() {
  return Strip(45, 20, 3, [](Bitmap32& b, int frame) {
    if (frame > 0) Fill(b, RoundRect(0, 0, 45, 20, 3), frame == 1 ? kRed : Pressed(kRed));
    const double dy = frame == 2 ? 1 : 0;
    Fill(b,
         Union(Segment({18.5, 6 + dy}, {26.5, 14 + dy}, 1.5),
               Segment({26.5, 6 + dy}, {18.5, 14 + dy}, 1.5)),
         frame == 0 ? Rgb(255, 255, 255, 215) : kWhite);
  });
}

enum class Look { kNormal, kOver, kDown, kDisabled, kFocused };

void ButtonFrame(Bitmap32& b, Look look) {
  const double w = b.width(), h = b.height();
  const Sdf shape = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 3.5);
  Paint fill = Vertical(0, kWhite, h, Rgb(246, 248, 251));
  Argb border = kBorder;
  switch (look) {
    case Look::kOver:
      fill = Vertical(0, Rgb(246, 250, 255), h, Rgb(233, 242, 252));
      border = Rgb(146, 186, 226);
      break;
    case Look::kDown:
      fill = Solid(Rgb(224, 236, 249));
      border = Rgb(106, 158, 212);
      break;
    case Look::kDisabled:
      fill = Solid(Rgb(246, 247, 249));
      border = Rgb(223, 227, 232);
      break;
    case Look::kFocused: border = kLinkBlue; break;
    default: break;
  }
  Fill(b, shape, fill);
  Fill(b, Outline(Inset(shape, 0.5), 1), border);
  if (look == Look::kFocused) Fill(b, Outline(Inset(shape, 1.5), 1), Rgb(22, 149, 230, 60));
}

// msg_button, 392 x 24: 4 frames of 98 x 24 (normal, over, down, focused); the caption is
// drawn on each frame by the message box.
PngImage MsgButton() {
  static const Look looks[] = {Look::kNormal, Look::kOver, Look::kDown, Look::kFocused};
  return Strip(98, 24, 4, [](Bitmap32& b, int frame) { ButtonFrame(b, looks[frame]); });
}

// button, 410 x 25: 5 frames of 82 x 25 (normal, over, down, disabled, select); nine-slice
// at (4, 4, 78, 21) for other sizes.
PngImage Button() {
  static const Look looks[] = {Look::kNormal, Look::kOver, Look::kDown, Look::kDisabled,
                               Look::kDown};
  return Strip(82, 25, 5, [](Bitmap32& b, int frame) { ButtonFrame(b, looks[frame]); });
}

// rate_tab, 312 x 28: 3 frames of 104 x 28 (normal, over, selected): a tab marked by a bar
// along its bottom edge.
PngImage RateTab() {
  return Strip(104, 28, 3, [](Bitmap32& b, int frame) {
    if (frame == 1) {
      Fill(b, RoundRect(0, 0, 104, 28, 3), Rgb(240, 245, 251));
      Fill(b, RoundRect(0, 26, 104, 28, 0), Rgb(186, 204, 228));
    }
    if (frame == 2) {
      Fill(b, RoundRect(0, 0, 104, 28, 3), Rgb(246, 250, 254));
      Fill(b, RoundRect(0, 25, 104, 28, 0), kLinkBlue);
    }
  });
}

// A plain window: navy caption band of `caption` rows, white body, one-pixel outline.
Bitmap32 PlainWindow(int w, int h, int caption) {
  Bitmap32 b = Blank(w, h);
  b.Clear(kWhite);
  Fill(b, RoundRect(0, 0, w, caption, 0), Vertical(0, kNavyLight, caption, kNavy));
  HLine(b, 0, w, 1, Rgb(255, 255, 255, 14));
  HLine(b, 0, w, 0, kNavyDeep);
  HLine(b, 0, w, h - 1, kNavyDeep);
  VLine(b, 0, 0, h, kNavyDeep);
  VLine(b, w - 1, 0, h, kNavyDeep);
  return b;
}

// about_form, 500 x 289 (drawn 1:1): the product mark at the left of the version lines, a
// line above the acknowledgements, and a light well for them.
PngImage AboutForm() {
  Bitmap32 b = PlainWindow(500, 289, 30);
  LogoMarkOn(b, 30, 52, 80);
  HLine(b, 22, 478, 140, kLine);
  Fill(b, RoundRect(21, 170, 474, 246, 3), kSurface);
  Fill(b, Outline(RoundRect(21.5, 170.5, 473.5, 245.5, 3), 1), kLine);
  return ToPng(b);
}

// news_form, 300 x 200, split (10, 26, 290, 190): caption band 26 high; the window is cut
// to rounded corners by the form.
PngImage NewsForm() { return ToPng(PlainWindow(300, 200, 26)); }

// rate_form, 750 x 480, split (10, 180, 740, 470): caption band, a light header for the
// add-on and its rating distribution (to 140), the tab row with a line under the tabs
// (to 176), and the white review list.
PngImage RateForm() {
  Bitmap32 b = PlainWindow(750, 480, 30);
  Fill(b, RoundRect(1, 30, 749, 140, 0), kSurface);
  HLine(b, 1, 749, 139, kLine);
  HLine(b, 1, 749, 175, kLine);
  return ToPng(b);
}

// Toast backgrounds, 211 x 40, for a layered window with per-pixel alpha: anti-aliased
// corners of radius 6, nine-sliced at 8 pixels from each edge, so everything between the
// corners is flat along both directions and stretches without seams. A darker rim gives
// the toast an edge on white windows, a lighter inner line on top a little depth.
PngImage ToastBack(bool success) {
  Bitmap32 b = Blank(211, 40);
  const Argb face = success ? Rgb(38, 146, 72) : Rgb(206, 66, 54);
  const Sdf body = RoundRect(0, 0, 211, 40, 6);
  Fill(b, body, Darken(face, 0.18));
  Fill(b, Inset(body, 1), face);
  Fill(b, Intersect(Outline(Inset(body, 1.5), 1), Sdf([](double, double y) { return y - 3; })),
       Lighten(face, 0.16));
  return ToPng(b);
}

// wait_00 .. wait_14, 190 x 220 each: a dark card with a comet arc turning once over 14
// frames (frame 14 repeats frame 0) around the product mark. The comet brightens from a
// faint tail to a round head with a soft glow, over a dim full track.
PngImage WaitFrame(int frame) {
  Bitmap32 b = Blank(190, 220);
  const Sdf card = RoundRect(8, 8, 182, 212, 16);
  Shadow(b, card, 0, 3, 6.0f, Rgb(0, 0, 0, 80));
  Fill(b, card, Vertical(8, kNavyLight, 212, kNavyDeep));
  Fill(b, Outline(Inset(card, 0.5), 1), Rgb(255, 255, 255, 22));
  const double cx = 95, cy = 110, r = 44, width = 7;
  Fill(b, Arc(cx, cy, r, width, 0, 360), Rgb(255, 255, 255, 30));
  const double head = frame * 360.0 / 14, span = 150, a0 = head - span;
  Fill(b, Arc(cx, cy, r, width, a0, head), [=](double x, double y) {
    const double a = std::atan2(x - cx, -(y - cy)) * 180 / 3.14159265358979;
    const double rel = std::fmod(a - a0 + 720, 360);
    // Past the head's round end it stays bright; behind the tail's it stays faint.
    const double t = rel <= span ? rel / span : rel < 180 + span / 2 ? 1.0 : 0.0;
    return Mix(Rgb(22, 149, 230, 0), Rgb(150, 215, 255, 255), t * t * (3 - 2 * t));
  });
  const double rad = head * 3.14159265358979 / 180;
  const double hx = cx + r * std::sin(rad), hy = cy - r * std::cos(rad);
  Shadow(b, Circle(hx, hy, width / 2), 0, 0, 4.0f, Rgb(120, 200, 255, 150));
  Fill(b, Circle(hx, hy, width / 2 + 0.3), Rgb(225, 243, 255));
  LogoMarkOn(b, cx - 18, cy - 18, 36);
  return ToPng(b);
}

}  // namespace

void AddDialogSkins(std::vector<SkinDef>& out) {
  out.push_back({"msg_form", MsgForm});
  out.push_back({"msg_close", MsgClose});
  out.push_back({"msg_button", MsgButton});
  out.push_back({"button", Button});
  out.push_back({"rate_tab", RateTab});
  out.push_back({"about_form", AboutForm});
  out.push_back({"news_form", NewsForm});
  out.push_back({"rate_form", RateForm});
  out.push_back({"toast_success_back", [] { return ToastBack(true); }});
  out.push_back({"toast_error_back", [] { return ToastBack(false); }});
  for (int i = 0; i < 15; ++i) {
    const std::string name = std::string("wait_") + (i < 10 ? "0" : "") + std::to_string(i);
    out.push_back({name, [i] { return WaitFrame(i); }});
  }
}

}  // namespace orvo::painter
