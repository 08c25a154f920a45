// One menu level's size, layout and picture. A level is laid out like this (AW = the skin's
// transparent margin AlphaWidth, MX / MY = MarginItemX / MarginItemY):
//
//   +--------------------------------------------------+
//   |  AW                 [ up ]  (when scrolling)     |
//   |  +-MX-+----------+-------+---------------+-----+ |
//   |  |    | mark col | image | caption   Ctrl+N| >  | |  item: ItemHeight (or its own)
//   |  |    +----------+-------+---------------+-----+ |  MY between items
//   |  |    ------------ separator (ImgLine) -------- | |
//   |                     [down]  (when scrolling)     |
//   +--------------------------------------------------+
//
// Every caption starts after the mark column and the image column, whether the item shows
// a mark or not, so the captions of a level line up; marks are centred in their column.
#include <algorithm>

#include "graphics/transfer.h"
#include "ui/desktop.h"
#include "ui/lum_popup_menu.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

std::vector<PngImage> Frames(PngImage strip, int count, int wanted) {
  std::vector<PngImage> out;
  if (strip.empty()) return out;
  if (count <= 1) {
    out.assign(static_cast<size_t>(wanted), strip);
    return out;
  }
  for (int i = 0; i < std::min(count, wanted); ++i) {
    if (auto frame = StateFrameHorz(strip, count, i)) out.push_back(std::move(*frame));
  }
  return out;
}

PngImage ThirdAlpha(PngImage image) {
  for (Argb& p : image.pixels()) p = WithAlpha(p, AlphaOf(p) / 3);
  return image;
}

constexpr uint32_t kCaptionFormat = kDtLeft | kDtVCenter | kDtSingleLine | kDtEndEllipsis;
constexpr int kShortCutGap = 12;
constexpr uint32_t kShortCutFormat = kDtRight | kDtVCenter | kDtSingleLine | kDtNoPrefix;

}  // namespace

void TLumPopupMenu::PrepareFrames() {
  item_frames_.clear();
  if (!ImgItem.empty()) {
    if (ItemStateCount <= 1)
      item_frames_.push_back(ImgItem);
    else
      item_frames_ = Frames(ImgItem, ItemStateCount, 3);
  }
  const std::vector<PngImage> arrows = Frames(ImgSubArrow, SubArrowStateCount, 3);
  for (int i = 0; i < 3; ++i) {
    arrow_frames_[i] = arrows.empty() ? PngImage() : arrows[std::min<size_t>(i, arrows.size() - 1)];
  }
  auto marks = [this](const PngImage& strip, PngImage(&out)[2]) {
    out[0] = out[1] = PngImage();
    if (strip.empty()) return;
    if (CheckRadioStateCount <= 1) {
      out[0] = strip;
      out[1] = ThirdAlpha(strip);
      return;
    }
    const std::vector<PngImage> f = Frames(strip, CheckRadioStateCount, 2);
    if (f.size() == 2) {
      out[0] = f[0];
      out[1] = f[1];
    }
  };
  marks(ImgCheck, check_frames_);
  marks(ImgRadio, radio_frames_);
  const std::vector<PngImage> updown = Frames(ImgBtnUpDown, 6, 6);
  for (int i = 0; i < 6; ++i) {
    updown_frames_[i] = updown.size() == 6 ? updown[static_cast<size_t>(i)] : PngImage();
  }
  for (Level& level : levels_) level.frames_width = -1;
}

int TLumPopupMenu::MarkColumn() const {
  return ImgCheck.empty() ? MenuBarWidth : ImgCheck.width() + 2;
}

int TLumPopupMenu::ItemHeightOf(const TLumMenuItem& item) const {
  if (item.IsSeparator()) return std::max(ImgLine.height(), 1);
  return item.Height >= 0 ? item.Height : ItemHeight;
}

const Font& TLumPopupMenu::ItemFont(const Level& level, int index) const {
  const TLumMenuItem& item = *level.items[static_cast<size_t>(index)];
  if (!item.Enabled) return FontDisable;
  if (index == level.hot) return FontOver;
  if (index == level.pressed) return FontDown;
  if (item.SelectedLook || index == level.open_sub) return FontSelect;
  return FontNormal;
}

void TLumPopupMenu::Measure(Level& level, Point at) {
  Bitmap32 scratch(1, 1, PixelHome::kHeap);
  Canvas& canvas = scratch.canvas();
  const int mark = MarkColumn();
  const int image = ImageList ? ImageList->ImgWidth + 2 : 0;
  const int arrow =
      ImgSubArrow.empty() ? 0 : ImgSubArrow.width() / std::max(SubArrowStateCount, 1) + 2;
  int sum = 0, widest = 0;
  for (size_t i = 0; i < level.items.size(); ++i) {
    TLumMenuItem& item = *level.items[i];
    sum += ItemHeightOf(item) + 2;
    if (item.IsSeparator()) continue;
    canvas.font = ItemFont(level, static_cast<int>(i));
    item.CaptionSize = canvas.TextExtent(item.Caption());
    const std::string shortcut = ShortCutToText(item.ShortCut());
    item.ShortCutSize = shortcut.empty() ? Size{0, 0} : canvas.TextExtent(shortcut);
    // The caption's margin and the gap before the shortcut count too, or the caption
    // would be cut by its own item.
    int width = item.ShortCutSize.cx + mark + image + item.CaptionSize.cx + 2 + MarginText +
                (shortcut.empty() ? 0 : kShortCutGap) + 2;
    if (item.SubItemCount() > 0) width += arrow;
    widest = std::max(widest, width);
  }
  level.size.cx = std::max(widest + 2 * AlphaWidth + (HaveBar ? ImgBar.width() : 0), MinWidth);
  level.size.cy = 2 * AlphaWidth + sum + 4;
  level.scrolling = false;
  level.up = level.down = {};
  const Rect work = WorkAreaAt(at);
  if (level.size.cy > work.height() && !ImgBtnUpDown.empty()) {
    // The level keeps inside the work area, its scroll buttons inside it.
    level.size.cy = work.height() - 20;
    level.scrolling = true;
    const int bw = ImgBtnUpDown.width() / 6, bh = ImgBtnUpDown.height();
    const int left = (level.size.cx - bw) / 2;
    level.up = RectOfSize(left, AlphaWidth + 2, bw, bh);
    level.down = RectOfSize(left, level.size.cy - AlphaWidth - 2 - bh, bw, bh);
  }
}

void TLumPopupMenu::LayOut(Level& level) {
  const int x = AlphaWidth + MarginItemX + (HaveBar ? ImgBar.width() + MarginItemX : 0);
  int y = AlphaWidth + MarginItemY + (level.scrolling ? level.up.height() : 0);
  const int limit = level.scrolling ? level.down.top - 2 : level.size.cy - AlphaWidth;
  const int right = level.size.cx - AlphaWidth - MarginItemX;
  for (TLumMenuItem* item : level.items) item->ItemRect = {-1, -1, -1, -1};
  level.first = std::clamp(level.first, 0, std::max(static_cast<int>(level.items.size()) - 1, 0));
  level.shown = 0;
  for (size_t i = static_cast<size_t>(level.first); i < level.items.size(); ++i) {
    TLumMenuItem& item = *level.items[i];
    const Rect r{x, y, right, y + ItemHeightOf(item)};
    if (r.bottom > limit) break;
    item.ItemRect = r;
    ++level.shown;
    y = r.bottom + MarginItemY;
  }
}

void TLumPopupMenu::SliceItemFrames(Level& level, int width) {
  if (level.frames_width == width) return;
  level.frames_width = width;
  for (size_t i = 0; i < level.item_frames.size(); ++i) {
    level.item_frames[i] = PngImage();
    if (i >= item_frames_.size()) continue;
    PngImage frame = item_frames_[i];
    auto sliced = ItemSplit.ValidColumns()
                      ? SlicePngHorz(frame, ItemSplit.Left, ItemSplit.Right, 255, clNone, width)
                      : std::nullopt;
    level.item_frames[i] = sliced ? std::move(*sliced) : frame;
  }
}

void TLumPopupMenu::Render(Level& level) {
  if (!level.form) return;
  const int w = level.size.cx, h = level.size.cy;
  if (level.background.width() != w || level.background.height() != h) {
    NinePng pieces;
    PngImage back = ImgBack;
    if (!back.empty() && ImgSplit.ValidNine() &&
        CutNinePng(back, {ImgSplit.Left, ImgSplit.Top}, {ImgSplit.Right, ImgSplit.Bottom}, 255,
                   clNone, pieces)) {
      DrawNineTiled(level.background, w, h, pieces);
    } else {
      level.background.SetSize(w, h);
      level.background.Clear(0);
      if (!back.empty()) level.background.canvas().StretchDrawPng(level.background.bounds(), back);
    }
  }
  Bitmap32& picture = level.picture;
  picture.SetSize(w, h);
  BlockTransfer(picture, 0, 0, picture.bounds(), level.background.view(), level.background.bounds(),
                DrawMode::kOpaque, CombineMode::kBlend);
  Canvas& canvas = picture.canvas();
  canvas.ResetState();
  if (HaveBar) {
    const int bottom = h - AlphaWidth;
    if (!ImgBar.empty()) {
      canvas.StretchDrawPng({AlphaWidth, AlphaWidth, AlphaWidth + ImgBar.width(), bottom}, ImgBar);
    }
    const int logo_top = bottom - 2 - ImgBarLogo.height();
    if (!ImgBarLogo.empty()) canvas.DrawPng(AlphaWidth, logo_top, ImgBarLogo);
    if (!ImgBarCaption.empty()) {
      canvas.DrawPng(AlphaWidth, logo_top - ImgBarCaption.height(), ImgBarCaption);
    }
  }
  LayOut(level);
  for (int i = level.first; i < level.first + level.shown; ++i) DrawItem(level, canvas, i);
  if (level.scrolling) DrawScrollButtons(level, canvas);
  level.form->UpdateLayered(picture, static_cast<uint8_t>(std::clamp(Alpha, 0, 255)));
}

void TLumPopupMenu::DrawItem(Level& level, Canvas& canvas, int index) {
  const TLumMenuItem& item = *level.items[static_cast<size_t>(index)];
  const Rect r = item.ItemRect;
  if (item.IsSeparator()) {
    if (!ImgLine.empty()) canvas.StretchDrawPng(r, ImgLine);
    return;
  }
  SliceItemFrames(level, r.width());
  const size_t frames = item_frames_.size();
  const PngImage* highlight = nullptr;
  if (index == level.pressed && frames >= 2)
    highlight = &level.item_frames[1];
  else if (index == level.hot)
    highlight = &level.item_frames[0];  // NOLINT(bugprone-branch-clone): an open submenu's too
  else if (item.SelectedLook && frames >= 3)
    highlight = &level.item_frames[2];
  else if (index == level.open_sub)
    highlight = &level.item_frames[0];
  if (highlight && !highlight->empty()) canvas.StretchDrawPng(r, *highlight);

  const int mark = MarkColumn();
  const int image_column = ImageList ? ImageList->ImgWidth + 2 : 0;
  if (item.Checked()) {
    const PngImage& f = (item.RadioItem ? radio_frames_ : check_frames_)[item.Enabled ? 0 : 1];
    if (!f.empty()) {
      canvas.DrawPng(r.left + std::max(2, (mark - f.width()) / 2),
                     r.top + (r.height() - f.height()) / 2, f);
    }
  } else if (ImageList && item.ImageIndex >= 0 && item.ImageIndex < ImageList->Count()) {
    ImageList->Draw(&canvas, r.left + mark, r.top + (r.height() - ImageList->ImgHeight) / 2,
                    item.ImageIndex, item.Enabled);
  }

  Font font = ItemFont(level, index);
  if (&ItemFont(level, index) == &FontNormal && item.TextColor != clNone) {
    font.color = item.TextColor;
  }
  int right = r.right - 2;
  if (item.SubItemCount() > 0) {
    const PngImage& arrow = arrow_frames_[!item.Enabled                                     ? 2
                                          : (index == level.hot || index == level.open_sub) ? 1
                                                                                            : 0];
    if (!arrow.empty()) {
      canvas.DrawPng(r.right - arrow.width() - 2, r.top + (r.height() - arrow.height()) / 2, arrow);
      right -= arrow.width() + 2;
    }
  }
  const std::string shortcut = ShortCutToText(item.ShortCut());
  if (!shortcut.empty()) {
    const Rect sr{right - item.ShortCutSize.cx, r.top, right, r.bottom};
    DrawTextKeepAlpha(canvas.target(), font, sr, kShortCutFormat, shortcut);
    right = sr.left - kShortCutGap;
  }
  const Rect cr{r.left + mark + image_column + MarginText, r.top, right, r.bottom};
  DrawTextKeepAlpha(canvas.target(), font, cr, kCaptionFormat, item.Caption());
}

void TLumPopupMenu::DrawScrollButtons(Level& level, Canvas& canvas) {
  const int up = level.up_pressed ? 2 : level.up_hot ? 1 : 0;
  const int down = 3 + (level.down_pressed ? 2 : level.down_hot ? 1 : 0);
  if (!updown_frames_[up].empty()) canvas.DrawPng(level.up.left, level.up.top, updown_frames_[up]);
  if (!updown_frames_[down].empty()) {
    canvas.DrawPng(level.down.left, level.down.top, updown_frames_[down]);
  }
}

Rect TLumPopupMenu::ItemScreenRect(int level, const TLumMenuItem& item) const {
  if (level < 0 || level > 2 || !levels_[level].form) return {};
  const Level& l = levels_[level];
  for (int i = l.first; i < l.first + l.shown; ++i) {
    if (l.items[static_cast<size_t>(i)] == &item) {
      return item.ItemRect.Offset(l.form->Left(), l.form->Top());
    }
  }
  return {};
}

TLumMenuItem* TLumPopupMenu::HotItem(int level) const {
  if (level < 0 || level > 2 || !levels_[level].form) return nullptr;
  const Level& l = levels_[level];
  return l.hot >= 0 ? l.items[static_cast<size_t>(l.hot)] : nullptr;
}

}  // namespace orvo
