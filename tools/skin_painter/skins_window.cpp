// The main window: its skin, logo, caption buttons, browser tab strip and share buttons.
#include "palette.h"
#include "platform/text_format.h"
#include "skins.h"

namespace orvo::painter {
namespace {

// main_form, 800 x 500, split (180, 60, 700, 400): columns [0, 180) and [700, 800) and
// rows [0, 60) and [400, 500) keep their size; everything stretched is uniform along the
// stretch (the side bar flat below the caption, the list area white).
//
//  0        178                                                          800
//  +---------+------------------------------------------------------------+ 0
//  | caption band: navy, lighter at the top, across the whole width       |
//  +---------+------------------------------------------------------------+ 30
//  | side    | toolbar strip (light), line below                          |
//  | bar     +------------------------------------------------------------+ 56
//  | (navy)  | list area (white)                                          |
//  +---------+------------------------------------------------------------+ 476
//  | bottom band (navy)                                                   |
//  +----------------------------------------------------------------------+ 500
PngImage MainForm() {
  const int w = 800, h = 500;
  Bitmap32 b = Blank(w, h);
  b.Clear(kWhite);
  Fill(b, RoundRect(0, 0, 178, h, 0), kNavy);
  Fill(b, RoundRect(0, 0, w, 30, 0), Vertical(0, kNavyLight, 30, kNavy));
  HLine(b, 0, w, 1, Rgb(255, 255, 255, 14));
  Fill(b, RoundRect(178, 30, w, 56, 0), kSurface);
  HLine(b, 178, w, 55, kLine);
  // The side bar's edge: a hairline of deeper navy against the content.
  VLine(b, 177, 30, 476, kNavyDeep);
  Fill(b, RoundRect(0, 476, w, h, 0), Vertical(476, kNavy, h, kNavyDeep));
  HLine(b, 0, w, 476, Rgb(255, 255, 255, 20));
  // Window outline.
  HLine(b, 0, w, 0, kNavyDeep);
  HLine(b, 0, w, h - 1, kNavyDeep);
  VLine(b, 0, 0, h, kNavyDeep);
  VLine(b, w - 1, 0, h, kNavyDeep);
  return ToPng(b);
}

// The product mark: a rounded link-blue square holding a white puzzle piece.
void LogoMark(Bitmap32& b, double x, double y, double size) {
  const double r = size * 0.24;
  Fill(b, RoundRect(x, y, x + size, y + size, r),
       Vertical(y, Lighten(kLinkBlue, 0.12), y + size, kLinkBlueDark));
  const double s = size / 20.0;  // the piece is drawn on a 20-unit grid
  const auto at = [&](double u, double v) { return Pt{x + u * s, y + v * s}; };
  Sdf piece = RoundRect(x + 5 * s, y + 7 * s, x + 14 * s, y + 16 * s, 1.2 * s);
  piece = Union(piece, Circle(at(9.5, 6).x, at(9.5, 6).y, 2.3 * s));
  piece = Union(piece, Circle(at(15, 11.5).x, at(15, 11.5).y, 2.3 * s));
  piece = Subtract(piece, Circle(at(4.6, 11.5).x, at(4.6, 11.5).y, 1.9 * s));
  Fill(b, piece, kWhite);
}

PngImage LogoPicture(int size) {
  Bitmap32 b = Blank(size, size);
  LogoMark(b, 0, 0, size);
  return ToPng(b);
}

enum class Glyph { kClose, kMin, kMax, kRestore, kMenu, kSkin };

void DrawGlyph(Bitmap32& b, Glyph g, double cx, double cy, Argb c) {
  switch (g) {
    case Glyph::kClose:
      Fill(b,
           Union(Segment({cx - 4.5, cy - 4.5}, {cx + 4.5, cy + 4.5}, 1.5),
                 Segment({cx + 4.5, cy - 4.5}, {cx - 4.5, cy + 4.5}, 1.5)),
           c);
      break;
    case Glyph::kMin: Fill(b, RoundRect(cx - 5, cy + 0.5, cx + 5, cy + 2, 0), c); break;
    case Glyph::kMax:
      Fill(b, Outline(RoundRect(cx - 4.5, cy - 4.5, cx + 4.5, cy + 4.5, 0.8), 1.3), c);
      break;
    case Glyph::kRestore:
      Fill(b, Outline(RoundRect(cx - 5, cy - 2.5, cx + 2.5, cy + 5, 0.8), 1.3), c);
      Fill(b,
           Subtract(Outline(RoundRect(cx - 2.5, cy - 5, cx + 5, cy + 2.5, 0.8), 1.3),
                    RoundRect(cx - 5.6, cy - 3.1, cx + 3.1, cy + 5.6, 0)),
           c);
      break;
    case Glyph::kMenu:
      for (double dy : {-4.0, 0.0, 4.0})
        Fill(b, RoundRect(cx - 5, cy + dy - 0.7, cx + 5, cy + dy + 0.7, 0.7), c);
      break;
    case Glyph::kSkin:
      Fill(b, Outline(Circle(cx, cy, 5), 1.4), c);
      Fill(b, Circle(cx - 2, cy - 1.5, 1.1), c);
      Fill(b, Circle(cx + 1.8, cy - 1.8, 1.1), c);
      Fill(b, Circle(cx + 0.5, cy + 2.2, 1.1), c);
      break;
  }
}

// Caption buttons: 3 frames of 30 x 30 (normal, over, down), drawn on the navy band.
PngImage CaptionButton(Glyph glyph, bool danger) {
  return Strip(30, 30, 3, [&](Bitmap32& b, int frame) {
    const Sdf slab = RoundRect(0, 1, 30, 30, 0);
    if (frame == 1) Fill(b, slab, danger ? kRed : Rgb(255, 255, 255, 30));
    if (frame == 2) Fill(b, slab, danger ? Pressed(kRed) : Rgb(255, 255, 255, 16));
    const Argb ink = frame == 0 ? Rgb(255, 255, 255, 215) : kWhite;
    DrawGlyph(b, glyph, 15, frame == 2 ? 16.5 : 15.5, ink);
  });
}

// tab_button, 513 x 50: 3 frames of 171 x 50: normal (nothing: the side bar shows), hover,
// selected (a lighter slab with a link-blue bar at its left edge).
PngImage TabButton() {
  return Strip(171, 50, 3, [](Bitmap32& b, int frame) {
    const Sdf slab = RoundRect(0, 1, 171, 49, 5);
    if (frame == 1) Fill(b, slab, kTabHover);
    if (frame == 2) {
      Fill(b, slab, Horizontal(0, kTabSelected, 171, Darken(kTabSelected, 0.06)));
      Fill(b, Intersect(slab, HalfPlaneLeftOf(3)), kLinkBlue);
    }
  });
}

enum class Share { kFacebook, kTwitter, kMail, kHome };

// Share buttons of the bottom band: 3 frames of 20 x 20 (normal, over, down).
PngImage ShareButton(Share kind) {
  return Strip(20, 20, 3, [&](Bitmap32& b, int frame) {
    const Argb back = frame == 0 ? Rgb(255, 255, 255, 26) : frame == 1 ? kLinkBlue : kLinkBlueDark;
    Fill(b, RoundRect(1, 1, 19, 19, 4), back);
    const Argb ink = frame == 0 ? Rgb(255, 255, 255, 220) : kWhite;
    const double dy = frame == 2 ? 1 : 0;
    switch (kind) {
      case Share::kFacebook:
        Text(b, TextFont(13, true), RectOfSize(0, static_cast<int>(dy), 20, 20),
             kDtCenter | kDtVCenter | kDtSingleLine, "f", ink);
        break;
      case Share::kTwitter:
        Text(b, TextFont(12, true), RectOfSize(0, static_cast<int>(dy), 20, 20),
             kDtCenter | kDtVCenter | kDtSingleLine, "t", ink);
        break;
      case Share::kMail:
        Fill(b, Outline(RoundRect(5, 6.5 + dy, 15, 13.5 + dy, 1), 1.2), ink);
        Fill(b, Polyline({{5.8, 7.4 + dy}, {10, 10.6 + dy}, {14.2, 7.4 + dy}}, 1.2), ink);
        break;
      case Share::kHome:
        Fill(b, Polyline({{4.5, 10.2 + dy}, {10, 5.2 + dy}, {15.5, 10.2 + dy}}, 1.4), ink);
        Fill(b,
             Subtract(RoundRect(6.5, 9.5 + dy, 13.5, 15 + dy, 0.5),
                      RoundRect(9, 11.5 + dy, 11, 15.5 + dy, 0)),
             ink);
        break;
    }
  });
}

}  // namespace

PngImage Logo(int size) { return LogoPicture(size); }

void LogoMarkOn(Bitmap32& b, double x, double y, double size) { LogoMark(b, x, y, size); }

void AddWindowSkins(std::vector<SkinDef>& out) {
  out.push_back({"main_form", MainForm});
  out.push_back({"main_logo", [] { return LogoPicture(20); }});
  out.push_back({"msg_logo", [] { return LogoPicture(16); }});
  out.push_back({"caption_close", [] { return CaptionButton(Glyph::kClose, true); }});
  out.push_back({"caption_close_single", [] { return CaptionButton(Glyph::kClose, true); }});
  out.push_back({"caption_min", [] { return CaptionButton(Glyph::kMin, false); }});
  out.push_back({"caption_min_single", [] { return CaptionButton(Glyph::kMin, false); }});
  out.push_back({"caption_max", [] { return CaptionButton(Glyph::kMax, false); }});
  out.push_back({"caption_restore", [] { return CaptionButton(Glyph::kRestore, false); }});
  out.push_back({"caption_menu", [] { return CaptionButton(Glyph::kMenu, false); }});
  out.push_back({"caption_skin", [] { return CaptionButton(Glyph::kSkin, false); }});
  out.push_back({"tab_button", TabButton});
  out.push_back({"share_facebook", [] { return ShareButton(Share::kFacebook); }});
  out.push_back({"share_twitter", [] { return ShareButton(Share::kTwitter); }});
  out.push_back({"share_mail", [] { return ShareButton(Share::kMail); }});
  out.push_back({"share_home", [] { return ShareButton(Share::kHome); }});
}

}  // namespace orvo::painter
