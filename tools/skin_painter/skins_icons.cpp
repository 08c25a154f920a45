// Pictures: the default add-on icon, the empty-list pictures, the generic browser marks,
// the message box icons and the toast icons.
#include <cmath>
#include <numbers>

#include "palette.h"
#include "platform/text_format.h"
#include "skins.h"
#include "ui/lum_ui_utils.h"

namespace orvo::painter {
namespace {

// A puzzle piece filling the square (x, y, size): the add-on symbol.
Sdf Puzzle(double x, double y, double size) {
  const auto u = [&](double v) { return v * size; };
  Sdf piece = RoundRect(x + u(0.18), y + u(0.26), x + u(0.74), y + u(0.82), u(0.06));
  piece = Union(piece, Circle(x + u(0.46), y + u(0.2), u(0.12)));
  piece = Union(piece, Circle(x + u(0.8), y + u(0.54), u(0.12)));
  piece = Subtract(piece, Circle(x + u(0.16), y + u(0.54), u(0.1)));
  return piece;
}

// addon_default, 48 x 48: a light tile with a blue puzzle piece.
PngImage AddonDefault() {
  Bitmap32 b = Blank(48, 48);
  const Sdf tile = RoundRect(3, 3, 45, 45, 9);
  Shadow(b, tile, 0, 1.5, 2.0f, Rgb(20, 40, 70, 60));
  Fill(b, tile, Vertical(3, Rgb(240, 245, 251), 45, Rgb(216, 227, 241)));
  Fill(b, Outline(Inset(tile, 0.5), 1), Rgb(190, 205, 225));
  Fill(b, Puzzle(9, 9, 30), Vertical(9, Lighten(kLinkBlue, 0.1), 39, kLinkBlueDark));
  return ToPng(b);
}

// none_plugin and none_rate, 100 x 100: calm empty-state pictures on a pale disc.
PngImage NonePlugin() {
  Bitmap32 b = Blank(100, 100);
  Fill(b, Circle(50, 50, 46), Rgb(240, 243, 248));
  Fill(b, Outline(Puzzle(24, 22, 54), 2.6), Rgb(176, 187, 203));
  Fill(b, Circle(78, 26, 2.5), Rgb(196, 205, 218));
  Fill(b, Circle(22, 76, 2), Rgb(196, 205, 218));
  return ToPng(b);
}

PngImage NoneRate() {
  Bitmap32 b = Blank(100, 100);
  Fill(b, Circle(50, 50, 46), Rgb(240, 243, 248));
  const Sdf bubble = Union(RoundRect(22, 26, 78, 64, 9), Polygon({{34, 62}, {46, 62}, {32, 75}}));
  Fill(b, Outline(bubble, 2.6), Rgb(176, 187, 203));
  Fill(b, Outline(Star(50, 46, 11, 4.8), 2.0), Rgb(196, 205, 218));
  return ToPng(b);
}

double AngleOf(double x, double y, double cx, double cy) {
  double a = std::atan2(x - cx, -(y - cy)) * 180 / std::numbers::pi;
  return a < 0 ? a + 360 : a;
}

enum class Browser { kChrome, kIe, kFirefox, kOpera };

// Generic browser marks, 32 x 32, in each browser's colours; not copies of any logo.
PngImage BrowserMark(Browser browser) {
  Bitmap32 b = Blank(32, 32);
  switch (browser) {
    case Browser::kChrome: {
      // A ring of three colours around a blue centre.
      Fill(b, Circle(16, 16, 14.5), [](double x, double y) {
        const double a = AngleOf(x, y, 16, 16);
        return a < 120 ? Rgb(219, 68, 55) : a < 240 ? Rgb(244, 180, 0) : Rgb(15, 157, 88);
      });
      Fill(b, Circle(16, 16, 7.4), kWhite);
      Fill(b, Circle(16, 16, 5.8), Vertical(10, Rgb(92, 152, 246), 22, Rgb(50, 112, 224)));
      break;
    }
    case Browser::kIe: {
      // A blue "e"-like arc with its bar.
      const Argb blue = Rgb(28, 118, 210);
      Fill(b, Union(Arc(16, 16.5, 9.6, 5.2, 118, 410), RoundRect(7.5, 14.6, 25.5, 18.6, 1)),
           Vertical(4, Lighten(blue, 0.2), 28, blue));
      break;
    }
    case Browser::kFirefox: {
      // A purple globe wrapped by an orange swirl.
      Fill(b, Circle(16, 16, 12.5), Vertical(4, Rgb(112, 70, 196), 28, Rgb(66, 34, 138)));
      Fill(b, Outline(Circle(16, 16, 8), 0.8), Rgb(255, 255, 255, 50));
      const Sdf swirl = Subtract(Circle(16, 16, 14.8), Circle(12.2, 12.6, 11.6));
      Fill(b, swirl, Vertical(4, Rgb(255, 196, 48), 30, Rgb(246, 86, 36)));
      break;
    }
    case Browser::kOpera: {
      // A red "O" ring.
      Fill(b, Subtract(Ellipse(16, 16, 12.5, 14.6), Ellipse(16, 16, 5.6, 10.2)),
           Vertical(1, Rgb(246, 66, 74), 31, Rgb(196, 20, 36)));
      break;
    }
  }
  return ToPng(b);
}

PngImage Grey(PngImage png) {
  GrayPng(png, 255);
  return png;
}

enum class MsgIcon { kQuestion, kError, kWarning, kInfo };

void DrawMsgIcon(Bitmap32& b, MsgIcon icon) {
  const double c = 17.5;
  if (icon == MsgIcon::kWarning) {
    const Sdf tri = Inset(Polygon({{c, 3.5}, {32.5, 30}, {2.5, 30}}), -1.2);
    Fill(b, tri, Vertical(3, Lighten(kAmber, 0.12), 31, kAmber));
    Fill(b, RoundRect(c - 1.5, 11, c + 1.5, 22, 1.4), Rgb(70, 48, 10));
    Fill(b, Circle(c, 26, 1.8), Rgb(70, 48, 10));
    return;
  }
  const Argb base = icon == MsgIcon::kError ? kRed : kLinkBlue;
  Fill(b, Circle(c, c, 15.5), Vertical(2, Lighten(base, 0.15), 33, Darken(base, 0.05)));
  switch (icon) {
    case MsgIcon::kQuestion:
      Text(b, TextFont(22, true), {0, 0, 35, 36}, kDtCenter | kDtVCenter | kDtSingleLine, "?",
           kWhite);
      break;
    case MsgIcon::kError:
      Fill(b,
           Union(Segment({c - 6, c - 6}, {c + 6, c + 6}, 3.2),
                 Segment({c + 6, c - 6}, {c - 6, c + 6}, 3.2)),
           kWhite);
      break;
    default:
      Fill(b, Circle(c, 10.5, 2.2), kWhite);
      Fill(b, RoundRect(c - 1.9, 14.5, c + 1.9, 26.5, 1.2), kWhite);
      break;
  }
}

// msg_icons, 140 x 35: 4 frames of 35 x 35 for icon types 0 (question), 1 (error),
// 2 (warning) and 3 (information).
PngImage MsgIcons() {
  return Strip(35, 35, 4,
               [](Bitmap32& b, int frame) { DrawMsgIcon(b, static_cast<MsgIcon>(frame)); });
}

// Toast icons, 24 x 24, white on the toast's colour: a check or an exclamation mark in a
// ring.
PngImage ToastIcon(bool success) {
  Bitmap32 b = Blank(24, 24);
  Fill(b, Outline(Circle(12, 12, 10), 2), kWhite);
  if (success) {
    Fill(b, Polyline({{7.4, 12.4}, {10.6, 15.6}, {16.8, 9}}, 2.2), kWhite);
  } else {
    Fill(b, RoundRect(10.9, 6.6, 13.1, 13.8, 1), kWhite);
    Fill(b, Circle(12, 17, 1.4), kWhite);
  }
  return ToPng(b);
}

}  // namespace

void AddIconSkins(std::vector<SkinDef>& out) {
  out.push_back({"addon_default", AddonDefault});
  out.push_back({"none_plugin", NonePlugin});
  out.push_back({"none_rate", NoneRate});
  const std::pair<const char*, Browser> browsers[] = {{"browser_chrome", Browser::kChrome},
                                                      {"browser_ie", Browser::kIe},
                                                      {"browser_firefox", Browser::kFirefox},
                                                      {"browser_opera", Browser::kOpera}};
  for (const auto& [name, kind] : browsers) {
    const Browser k = kind;
    out.push_back({name, [k] { return BrowserMark(k); }});
    out.push_back({std::string(name) + "_grey", [k] { return Grey(BrowserMark(k)); }});
  }
  out.push_back({"msg_icons", MsgIcons});
  out.push_back({"toast_success_icon", [] { return ToastIcon(true); }});
  out.push_back({"toast_error_icon", [] { return ToastIcon(false); }});
}

}  // namespace orvo::painter
