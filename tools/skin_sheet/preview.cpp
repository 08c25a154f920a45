// The mock-ups of the contact sheet.
#include "preview.h"

#include <string>

#include "graphics/canvas.h"
#include "ui/lum_ui_utils.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

PngImage Frame(std::string_view skin, int count, int index) {
  PngImage strip = SkinPng(skin);
  auto frame = StateFrameHorz(strip, count, index);
  return frame ? *frame : PngImage();
}

void Text(Canvas& c, const Rect& r, std::string_view text, TColor color, uint8_t style = 0,
          uint32_t format = kDtLeft | kDtVCenter | kDtSingleLine | kDtEndEllipsis) {
  c.font = Font();
  c.font.color = color;
  c.font.style = style;
  Rect box = r;
  c.DrawText(text, box, format | kDtNoPrefix);
}

void Tab(Canvas& c, int k, int frame, std::string_view icon, std::string_view name, bool is_default,
         bool enabled) {
  const int top = k * 50 + 27;
  c.DrawPng(5, top, Frame("tab_button", 3, frame));
  c.DrawPng(15, top + 9, SkinPng(std::string(icon) + (enabled ? "" : "_grey")));
  Text(c, RectOfSize(55, top, 120, 50), name, enabled ? clWhite : MakeColor(108, 113, 119));
  if (is_default) Text(c, RectOfSize(65, top + 31, 100, 14), "(Default)", MakeColor(150, 162, 178));
}

void Row(Canvas& c, int index, int top, std::string_view name, std::string_view description,
         double rating, bool on, bool hot) {
  const int left = 178, right = 795;
  const Rect row{left, top, right, top + 70};
  if (index % 2 == 0) {
    c.brush.color = MakeColor(239, 239, 239);
    c.FillRect(row);
  }
  if (hot) c.StretchDrawPng(row, Frame("list_item", 2, 0));
  c.DrawPng(left + 10, top + 11, SkinPng("addon_default"));
  const int col1 = left + (617 - 220), col1_right = col1 + 120;
  Text(c, {left + 68, top + 16, col1, top + 32}, name, clBlack, fsBold);
  Text(c, {left + 68, top + 36, col1 - 8, top + 52}, description, MakeColor(132, 132, 132));
  Text(c, {col1 + 12, top + 19, col1 + 110, top + 33}, "Ratings", MakeColor(22, 149, 230));
  for (int s = 0; s < 5; ++s) {
    const char* star = s + 1 <= rating ? "star_lit" : s < rating ? "star_half" : "star_grey";
    c.DrawPng(col1 + 12 + s * 19, top + 37, SkinPng(star));
  }
  c.DrawPng(col1_right + 10, top + 26, Frame(on ? "switch_on" : "switch_off", 3, hot ? 1 : 0));
  c.DrawPng(col1_right + 60, top + 25, Frame("delete", 3, 0));
}

}  // namespace

Bitmap32 PreviewMainWindow() {
  Bitmap32 b(800, 500);
  b.Clear(0xFFFFFFFFu);
  Canvas& c = b.canvas();
  c.Draw(0, 0, SkinPng("main_form").view());
  const PngImage logo = SkinPng("main_logo");
  c.DrawPng(6, (30 - logo.height()) / 2, logo);
  Text(c, {32, 0, 400, 30}, "Orvo Plugin Manager", clWhite, fsBold);
  c.DrawPng(706, 0, Frame("caption_menu", 3, 0));
  c.DrawPng(736, 0, Frame("caption_min", 3, 1));
  c.DrawPng(766, 0, Frame("caption_close", 3, 0));
  Tab(c, 0, 2, "browser_chrome", "Google Chrome", true, true);
  Tab(c, 1, 1, "browser_ie", "Internet Explorer", false, true);
  Tab(c, 2, 0, "browser_firefox", "Mozilla Firefox", false, true);
  Tab(c, 3, 0, "browser_opera", "Opera", false, false);
  Text(c, {186, 33, 420, 51}, "5 plug-ins were found", MakeColor(90, 96, 106));
  Text(c, {592, 33, 790, 50}, "Set as default browser", MakeColor(22, 149, 230), 0,
       kDtRight | kDtVCenter | kDtSingleLine);
  Row(c, 0, 56, "Tab Tidy", "Groups and sorts your open tabs.", 4.5, true, false);
  Row(c, 1, 126, "Quiet Pages", "Hides autoplaying videos and sound.", 5, true, true);
  Row(c, 2, 196, "Clip Notes", "Save selected text to a notebook.", 3.5, false, false);
  Row(c, 3, 266, "Screenshot Studio", "Capture, crop and annotate the visible page.", 4, true,
      false);
  Row(c, 4, 336, "Demo Media Player (64)", "Plays demo media inside web pages", 0, true, false);
  c.brush.color = MakeColor(52, 70, 98);
  c.FillRect({5, 376, 175, 476});
  Text(c, {5, 376, 175, 476}, "advert 170 x 100", MakeColor(150, 165, 185), 0,
       kDtCenter | kDtVCenter | kDtSingleLine);
  Text(c, {8, 478, 176, 498}, "Current Version:1.11.11", clWhite);
  Text(c, {184, 478, 377, 498}, "Check for Updates", clWhite, fsUnderline);
  const char* shares[] = {"share_facebook", "share_twitter", "share_mail", "share_home"};
  for (int i = 0; i < 4; ++i) c.DrawPng(709 + i * 22, 479, Frame(shares[i], 3, i == 2 ? 1 : 0));
  return b;
}

Bitmap32 PreviewMessageBox() {
  Bitmap32 b(296 + 40, 169 + 40);
  b.Clear(0xFFDCE3EBu);
  Canvas& c = b.canvas();
  c.SetOrigin({20, 20});
  c.DrawPng(0, 0, SkinPng("msg_form"));
  c.DrawPng(13, 11, SkinPng("msg_logo"));
  Text(c, {31, 9, 240, 29}, "Orvo Plugin Manager", clWhite, fsBold);
  c.DrawPng(242, 9, Frame("msg_close", 3, 0));
  c.DrawPng(13, 33, Frame("msg_icons", 4, 0));
  Text(c, {50, 40, 283, 100}, "Are you sure to delete this plug-in?", 0x383838, 0,
       kDtLeft | kDtWordBreak | kDtEditControl | kDtEndEllipsis);
  c.DrawPng(48, 126, Frame("msg_button", 4, 0));
  Text(c, {48, 126, 146, 150}, "NO", 0x383838, 0, kDtCenter | kDtVCenter | kDtSingleLine);
  c.DrawPng(150, 126, Frame("msg_button", 4, 3));
  Text(c, {150, 126, 248, 150}, "Yes", 0x383838, 0, kDtCenter | kDtVCenter | kDtSingleLine);
  c.SetOrigin({0, 0});
  return b;
}

Bitmap32 PreviewMenu() {
  const int w = 190, h = 2 * 5 + 4 + 8 * (25 + 2) + 2 * (1 + 2);
  Bitmap32 menu;
  PngImage back = SkinPng("menu_back");
  NinePng pieces;
  if (CutNinePng(back, {7, 7}, {11, 11}, 255, clNone, pieces)) DrawNineTiled(menu, w, h, pieces);
  Bitmap32 b(w + 40, h + 40);
  b.Clear(0xFFDCE3EBu);
  BlockTransfer(b, 20, 20, b.bounds(), menu.view(), menu.bounds(), DrawMode::kBlend,
                CombineMode::kMerge);
  Canvas& c = b.canvas();
  c.SetOrigin({20, 20});
  const char* items[] = {"Online Help",       "Forum",          "Homepage", "Contact Us", "-",
                         "Check for Updates", "Check for News", "Language", "-",          "About"};
  int y = 5 + 1;
  PngImage item = SkinPng("menu_item");
  for (int i = 0; i < 10; ++i) {
    const std::string caption = items[i];
    if (caption == "-") {
      c.StretchDrawPng({6, y + 1, w - 6, y + 2}, SkinPng("menu_line"));
      y += 1 + 2;
      continue;
    }
    const Rect r{6, y, w - 6, y + 25};
    if (i == 2) {
      auto hot = SlicePngHorz(item, 2, 5, 255, clNone, r.width());
      if (hot) c.StretchDrawPng(r, *hot);
    }
    if (i == 5 || i == 6) c.DrawPng(r.left + 2, y + (25 - 28) / 2, Frame("menu_check", 2, 0));
    Text(c, {r.left + 40, y, r.right - 20, y + 25}, caption, i == 2 ? 0xE69516 : 0x383838);
    if (i == 0)
      Text(c, {r.left, y, r.right - 8, y + 25}, "F1", 0x909090, 0,
           kDtRight | kDtVCenter | kDtSingleLine);
    if (i == 7) c.DrawPng(r.right - 14, y + 4, Frame("menu_subarrow", 3, 0));
    y += 25 + 2;
  }
  c.SetOrigin({0, 0});
  return b;
}

}  // namespace orvo
