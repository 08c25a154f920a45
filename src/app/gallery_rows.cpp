// How the lists window paints its rows and answers the pointer over them: the add-on rows
// as the main window draws them (texts, rating stars, switch and delete button with hover
// and pressed looks, hints on the buttons), and the reviews with their measured heights.
#include <algorithm>

#include "app/gallery_lists.h"
#include "app/gallery_widgets.h"
#include "ui/desktop.h"
#include "ui/lum_ui_utils.h"
#include "ui/skin_resources.h"

namespace orvo::gallery {
namespace {

constexpr uint32_t kLine = kDtLeft | kDtTop | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;

// Frame k of a three-frame button strip (normal, hover, pressed), cut once.
const PngImage& ButtonFrame(const char* skin, int k) {
  struct Strip {
    std::string name;
    PngImage frames[3];
  };
  static std::vector<Strip> strips;
  auto found =
      std::find_if(strips.begin(), strips.end(), [&](const Strip& s) { return s.name == skin; });
  if (found == strips.end()) {
    Strip s;
    s.name = skin;
    PngImage strip = SkinPng(skin);
    for (int i = 0; i < 3; ++i) {
      if (auto f = StateFrameHorz(strip, 3, i)) s.frames[i] = std::move(*f);
    }
    strips.push_back(std::move(s));
    found = strips.end() - 1;
  }
  return found->frames[std::clamp(k, 0, 2)];
}

const PngImage& Skin(const char* name) {
  static std::vector<std::pair<std::string, PngImage>> cache;
  for (auto& [n, png] : cache) {
    if (n == name) return png;
  }
  cache.emplace_back(name, SkinPng(name));
  return cache.back().second;
}

}  // namespace

void TListsWindow::DrawAddonRow(Canvas& canvas, int, TLumLvItem& row) {
  auto* d = row.DataAs<GalleryAddon>();
  if (!d) return;
  const Rect r = row.ItemRect;
  const Rect col0 = lstAddons->Columns(0)->ColumnRect;
  const Rect col1 = lstAddons->Columns(1)->ColumnRect;
  canvas.brush.style = BrushStyle::kClear;
  canvas.font = MakeFont(kText, fsBold);
  Rect name{r.left + 60, r.top + 14, col0.right - 4, r.top + 32};
  canvas.DrawText(d->name, name, kLine);
  canvas.font = MakeFont(kGrey);
  Rect description{r.left + 60, r.top + 36, col0.right - 4, r.top + 54};
  canvas.DrawText(d->description, description, kLine);
  if (r.top < -19 || r.top >= lstAddons->Height()) return;
  for (int k = 0; k < 5; ++k) {
    canvas.DrawPng(col1.left + 10 + 17 * k, r.top + 27,
                   Skin(k < d->stars ? "star_lit" : "star_grey"));
  }
  const bool left_down = (KeyboardShiftState() & ssLeft) != 0;
  auto look = [&](const Rect& area) {
    if (!area.Contains(addon_pointer_)) return 0;
    return left_down ? 2 : 1;
  };
  d->toggle_rect = {col1.right + 10, r.top + 26, col1.right + 55, r.top + 44};
  d->delete_rect = {col1.right + 60, r.top + 25, col1.right + 78, r.top + 43};
  canvas.StretchDrawPng(d->toggle_rect,
                        ButtonFrame(d->on ? "switch_on" : "switch_off", look(d->toggle_rect)));
  canvas.StretchDrawPng(d->delete_rect, ButtonFrame("delete", look(d->delete_rect)));
}

void TListsWindow::AddonMouseMove(TLumLvItem& row, int x, int y) {
  auto* d = row.DataAs<GalleryAddon>();
  if (!d) return;
  const Point p{x, y};
  const bool was_on_button =
      d->toggle_rect.Contains(addon_pointer_) || d->delete_rect.Contains(addon_pointer_);
  addon_pointer_ = p;
  std::string hint;
  if (d->delete_rect.Contains(p))
    hint = "Delete this add-on";
  else if (d->toggle_rect.Contains(p))
    hint = d->on ? "Switch it off" : "Switch it on";
  if (hint.empty()) {
    lstAddons->Cursor = crDefault;
    lstAddons->ShowHint = false;
    if (was_on_button) lstAddons->RedrawItem(&row);
    return;
  }
  lstAddons->Cursor = crHandPoint;
  const Point o = lstAddons->FormOrigin();
  lstAddons->ShowItemHint(hint, ClientToScreen({o.x + x, o.y + y}));
  lstAddons->RedrawItem(&row);
}

void TListsWindow::AddonClick(TLumLvItem& row) {
  auto* d = row.DataAs<GalleryAddon>();
  if (!d) return;
  if (d->delete_rect.Contains(addon_pointer_)) {
    const std::string name = d->name;
    lstAddons->DeleteItem(&row);
    Say("Deleted " + name);
  } else if (d->toggle_rect.Contains(addon_pointer_)) {
    d->on = !d->on;
    lstAddons->RedrawItem(&row);
    Say(d->name + (d->on ? " switched on" : " switched off"));
  }
}

void TListsWindow::MeasureReview(TLumLvItem& row, int& height) {
  if (row.SecondText.empty()) {
    height = 32;
    return;
  }
  const int width = lstReviews->Width() - 2 - 15 - 4 - 98;
  Canvas& canvas = measure_.canvas();
  canvas.font = MakeFont(kText);
  Rect r{0, 0, std::max(width, 20), 0};
  canvas.DrawText(row.SecondText, r, kDtWordBreak | kDtCalcRect | kDtNoPrefix);
  height = std::clamp(r.height() + 16, 60, 220);
}

void TListsWindow::DrawReview(Canvas& canvas, int index, TLumLvItem& row) {
  const Rect r = row.ItemRect;
  canvas.brush.style = BrushStyle::kClear;
  if (row.SecondText.empty()) {
    canvas.font = MakeFont(kLinkBlue, fsUnderline);
    Rect t = r;
    canvas.DrawText("Get more review information.", t, kDtCenter | kDtVCenter | kDtSingleLine);
    return;
  }
  canvas.font = MakeFont(kText, fsBold);
  Rect nick{r.left + 8, r.top + 8, r.left + 84, r.top + 24};
  canvas.DrawText("Reviewer " + std::to_string(index + 1), nick, kLine);
  for (int k = 0; k < index % 5 + 1; ++k) {
    canvas.DrawPng(r.left + 8 + 13 * k, r.top + 30, Skin("star_small"));
  }
  canvas.font = MakeFont(kText);
  Rect content{r.left + 90, r.top + 8, r.right - 8, r.bottom - 4};
  canvas.DrawText(row.SecondText, content, kDtWordBreak | kDtNoPrefix);
  canvas.pen.color = MakeColor(210, 210, 210);
  canvas.MoveTo(r.left, r.bottom - 1);
  canvas.LineTo(r.right, r.bottom - 1);
}

}  // namespace orvo::gallery
