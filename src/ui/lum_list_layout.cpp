// The list view's layout, made whenever what it depends on changes and before anything
// paints or hit-tests: the skins (cut again whenever what they come from changes), the
// background picture stretched to the list, the columns, rows and icon cells with the
// parts of each row in view, the content and visible heights, and the two scroll bars
// that come and go with them.
#include <algorithm>

#include "platform/raster.h"
#include "ui/lum_list_frames.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

Size TextSize(const Font& font, std::string_view text) {
  Size size;
  os::CurrentTextRenderer().Extent(font.Spec(), text, &size.cx, &size.cy);
  return size;
}

void ClearParts(TLumLvItem& row) { row.CheckRect = row.ImageRect = row.TextRect = kNoRect; }

// The frames of a strip cut side by side; a count of 1 is the whole picture.
void CutStrip(const PngImage& source, int count, std::optional<PngImage>* out, int wanted) {
  for (int i = 0; i < wanted; ++i) out[i].reset();
  if (source.empty() || count < 1) return;
  PngImage strip = source;
  for (int i = 0; i < std::min(count, wanted); ++i) {
    out[i] = count == 1 ? std::optional<PngImage>(strip) : StateFrameHorz(strip, count, i);
  }
}

}  // namespace

int TLumListView::Border() const { return BorderColor != clNone ? 1 : 0; }

int TLumListView::AvailableWidth() const {
  return Width() - 2 * Border() - (VerticalBarShown() ? v_bar_->Width() : 0);
}

bool TLumListView::VerticalBarShown() const { return v_bar_ && v_bar_->Visible(); }
bool TLumListView::HorizontalBarShown() const { return h_bar_ && h_bar_->Visible(); }

void TLumListView::EnsureFrames() {
  if (!frames_) frames_ = std::make_unique<Frames>();
  Frames& f = *frames_;
  const int width = Width() - 4 - (VerticalBarShown() ? v_bar_->Width() : 0);
  if (f.state_count != ItemStateCount || f.width != width || !(f.split == itemsplit) ||
      !f.item_source.SamePixels(Imgitem)) {
    f.item_source = Imgitem;
    f.split = itemsplit;
    f.state_count = ItemStateCount;
    f.width = width;
    std::optional<PngImage> cut[4];
    CutStrip(Imgitem, ItemStateCount, cut, 4);
    // Frame order by count: 1 hot; 2 hot, selected; 3 or 4 normal, hot, selected, disabled.
    static const int kMap1[] = {1}, kMap2[] = {1, 2}, kMap4[] = {0, 1, 2, 3};
    const int* map = ItemStateCount == 1 ? kMap1 : ItemStateCount == 2 ? kMap2 : kMap4;
    for (auto& r : f.row) r.reset();
    for (int i = 0; i < std::clamp(ItemStateCount, 0, 4); ++i) {
      if (!cut[i]) continue;
      std::optional<PngImage> sliced;
      if (itemsplit.Left < itemsplit.Right && width > 0) {
        sliced = SlicePngHorz(*cut[i], itemsplit.Left, itemsplit.Right, 255, clNone, width);
      }
      f.row[map[i]] = sliced ? std::move(sliced) : std::move(cut[i]);
    }
    if (f.row[1]) Itemheight = f.row[1]->height();
  }
  if (f.check_count != CheckStateCount || !f.check_source.SamePixels(ImgCheck)) {
    f.check_source = ImgCheck;
    f.check_count = CheckStateCount;
    for (auto& c : f.check) c.reset();
    if (CheckStateCount == 4) CutStrip(ImgCheck, 4, f.check, 4);
  }
  if (f.header_count != HeaderStateCount || !f.header_source.SamePixels(ImgHeader)) {
    f.header_source = ImgHeader;
    f.header_count = HeaderStateCount;
    CutStrip(ImgHeader, HeaderStateCount, f.header, 4);
  }
  if (f.header_split_count != HeaderSplitStateCount ||
      !f.header_split_source.SamePixels(ImgHeaderSplit)) {
    f.header_split_source = ImgHeaderSplit;
    f.header_split_count = HeaderSplitStateCount;
    CutStrip(ImgHeaderSplit, HeaderSplitStateCount, f.header_split, 4);
  }
  if (!f.arrow_source.SamePixels(ImgHeaderArrow)) {
    f.arrow_source = ImgHeaderArrow;
    CutStrip(ImgHeaderArrow, 2, f.arrow, 2);
  }
}

// --- heights ---

Rect TLumListView::HeaderRect() const {
  const int b = Border();
  return {b, b, Width() - b, b + (ViewStyle == WvsReport ? HeaderHeight : 0)};
}

int TLumListView::HeaderBottom() const { return HeaderRect().bottom; }

int TLumListView::RowHeight(TLumLvItem& row, int index) {
  int h = Itemheight;
  if (OnMeasureItem) OnMeasureItem(row, index, h);
  return h;
}

int TLumListView::IconsPerLine() const {
  int bar = 0;
  if (VerScrollRes && !VerScrollRes->ImgSlider.empty() && VerScrollRes->SliderStateCount > 0) {
    bar = VerScrollRes->ImgSlider.width() / VerScrollRes->SliderStateCount;
  }
  const int w = Width() - 2 * MarginItem - inset_left_ - bar;
  if (ItemWidth <= 0) return 1;
  return std::max((w - (w / ItemWidth - 1) * MarginItem) / ItemWidth, 1);
}

int TLumListView::ContentHeight() {
  EnsureFrames();
  int left = 2, top = 0;
  if (OnItemsDrawOffSet) OnItemsDrawOffSet(*this, left, top);
  inset_left_ = left;
  inset_top_ = top;
  if (ViewStyle == WvsIcon) {
    const int count = static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const auto& r) { return r->Visible; }));
    const int per_line = IconsPerLine();
    return (count + per_line - 1) / per_line * (Itemheight + MarginItem);
  }
  int sum = top;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i]->Visible) sum += RowHeight(*rows_[i], static_cast<int>(i)) + MarginItem;
  }
  return sum;
}

int TLumListView::VisibleHeight() const {
  return Height() - Border() - HeaderBottom() - (HorizontalBarShown() ? h_bar_->Height() : 0);
}

int TLumListView::TotalColumnWidth() const {
  int total = 0;
  for (const auto& c : columns_) {
    if (c->Visible) total += c->Width;
  }
  return total;
}

// --- scroll bars ---

TLumScrollBar* TLumListView::MakeBar(TScrollBarKind kind) {
  auto* bar = Make<TLumScrollBar>();
  bar->Name = Name.empty() ? "" : Name + (kind == skVer ? "VerBar" : "HorBar");
  bar->SetVisible(false);
  bar->SetTransparent(true);
  bar->SetKind(kind);
  bar->SetScrollRes(kind == skVer ? VerScrollRes : HorScrollRes);
  if (kind == skHor) bar->SetBounds(0, 0, 200, 15);
  bar->OnScroll = [this, kind](TLumScrollBar&, int& pos) {
    if (kind == skVer) {
      SetVerticalOffset(-pos);
      pos = -v_offset_;
    } else if (-pos != h_offset_) {
      h_offset_ = -pos;
      Changed();
    }
  };
  bar->OnLostFocus = [this](TLumScrollBar&) { FocusLeft(); };
  return bar;
}

void TLumListView::ShowBar(TLumScrollBar*& bar, TScrollBarKind kind, bool show) {
  if (show && !bar) bar = MakeBar(kind);
  if (!bar || bar->Visible() == show) return;
  bar->SetVisible(show);
  if (!show) {
    bar->SetPosition(0);
    (kind == skVer ? v_offset_ : h_offset_) = 0;
  }
  Changed();
}

void TLumListView::SetVerticalOffset(int offset) {
  // Not below the point where the last row meets the bottom: no empty space after it.
  const int lowest = std::min(VisibleHeight() - ContentHeight(), 0);
  offset = std::clamp(offset, lowest, 0);
  if (offset == v_offset_) return;
  v_offset_ = offset;
  Changed();
}

void TLumListView::UpdateScrollBars() {
  if (in_scroll_update_ || Width() <= 0 || Height() <= 0) return;
  in_scroll_update_ = true;
  const int b = Border();
  int content = 0, visible = 0;
  for (int pass = 0; pass < 2; ++pass) {
    content = ContentHeight();
    visible = VisibleHeight();
    ShowBar(v_bar_, skVer, VerScrollRes && content > visible);
    if (ViewStyle == WvsReport) {
      const int total = TotalColumnWidth();
      ShowBar(h_bar_, skHor, HorScrollRes && total > 0 && total >= AvailableWidth());
    } else {
      ShowBar(h_bar_, skHor, false);
    }
  }
  if (HorizontalBarShown()) {
    const int bh = h_bar_->Height();
    h_bar_->SetBounds(b, Height() - b - bh, AvailableWidth(), bh);
    h_bar_->SetParams(0, TotalColumnWidth(), AvailableWidth());
    h_bar_->SmallChange = 20;
    h_offset_ = -std::clamp(-h_offset_, 0, std::max(TotalColumnWidth() - AvailableWidth(), 0));
    h_bar_->SetPosition(-h_offset_);
  }
  if (VerticalBarShown()) {
    const int top = HeaderBottom();
    const int bottom = Height() - b - (HorizontalBarShown() ? h_bar_->Height() : 0);
    v_bar_->SetBounds(Width() - v_bar_->Width() - b, top, v_bar_->Width(), bottom - top);
    v_bar_->SmallChange = Itemheight + MarginItem;
    v_bar_->SetParams(0, content, visible);
    v_offset_ = std::clamp(v_offset_, std::min(visible - content, 0), 0);
    v_bar_->SetPosition(-v_offset_);
  } else {
    v_offset_ = 0;
  }
  in_scroll_update_ = false;
}

void TLumListView::Resize() {
  TLumUIParentControl::Resize();
  if (ViewStyle == WvsReport && last_width_ >= 0 && Width() > last_width_) {
    for (auto& c : columns_) {
      if (!c->Visible || !c->AutoSize) continue;
      c->Width += Width() - last_width_;
      break;
    }
  }
  last_width_ = Width();
  if (editing_) EndEdit();
  Changed();
  EnsureLayout();
}

// --- layout ---

void TLumListView::LayOutColumns() {
  const Rect header = HeaderRect();
  int x = header.left + h_offset_;
  for (auto& c : columns_) {
    c->CheckRect = c->ArrowRect = kNoRect;
    if (!c->Visible) {
      c->ColumnRect = kNoRect;
      continue;
    }
    c->ColumnRect = {x, header.top, std::min(x + c->Width, header.right), header.bottom};
    x += c->Width + HeaderSplitWidth;
    if (header.height() <= 0) continue;
    if (c->ShowCheck && frames_ && frames_->check[0]) {
      const PngImage& f = *frames_->check[0];
      c->CheckRect =
          RectOfSize(c->ColumnRect.left + 2, header.top + (header.height() - f.height()) / 2,
                     f.width(), f.height());
    }
    if (c->ShowArrow && c->ArrowDirection > 0 && frames_ && frames_->arrow[0]) {
      const PngImage& f = *frames_->arrow[0];
      c->ArrowRect =
          RectOfSize(c->ColumnRect.right - f.width() - HeaderSplitWidth - 4,
                     header.top + (header.height() - f.height()) / 2, f.width(), f.height());
    }
  }
}

void TLumListView::LayOutRows() {
  first_laid_ = last_laid_ = -1;
  if (rows_.empty()) return;
  int left = 2, top = 0;
  if (OnItemsDrawOffSet) OnItemsDrawOffSet(*this, left, top);
  inset_left_ = left;
  inset_top_ = top;
  int y = v_offset_ + top + HeaderBottom();
  const int right = Width() - left - (VerticalBarShown() ? v_bar_->Width() : 0);
  size_t i = 0;
  for (; i < rows_.size(); ++i) {
    TLumLvItem& row = *rows_[i];
    if (!row.Visible) {
      row.ItemRect = kNoRect;
      continue;
    }
    if (y >= Height()) {
      // Past the view: without measured heights nothing below can show.
      if (!OnMeasureItem) break;
      row.ItemRect = kNoRect;
      continue;
    }
    const int h = RowHeight(row, static_cast<int>(i));
    row.ItemRect = {h_offset_ + left, y, right, y + h};
    if (first_laid_ < 0) first_laid_ = static_cast<int>(i);
    last_laid_ = static_cast<int>(i);
    y += h + MarginItem;
  }
  // Rows below the view lose the places they had in an earlier layout.
  for (; i < rows_.size(); ++i) rows_[i]->ItemRect = kNoRect;
}

void TLumListView::LayOutIcons() {
  first_laid_ = last_laid_ = -1;
  int left = 2, top = 0;
  if (OnItemsDrawOffSet) OnItemsDrawOffSet(*this, left, top);
  inset_left_ = left;
  inset_top_ = top;
  const int per_line = IconsPerLine();
  int n = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    TLumLvItem& row = *rows_[i];
    if (!row.Visible) {
      row.ItemRect = kNoRect;
      continue;
    }
    const int x = h_offset_ + left + MarginItem + (n % per_line) * (ItemWidth + MarginItem);
    const int y =
        v_offset_ + top + Border() + MarginItem + (n / per_line) * (Itemheight + MarginItem);
    row.ItemRect = RectOfSize(x, y, ItemWidth, Itemheight);
    if (first_laid_ < 0) first_laid_ = static_cast<int>(i);
    last_laid_ = static_cast<int>(i);
    ++n;
  }
}

// --- the parts of each row ---

void TLumListView::PlaceRowParts(TLumLvItem& row) {
  const Rect r = row.ItemRect;
  const Frames& f = *frames_;
  int x = r.left;
  row.CheckRect = kNoRect;
  if (ShowCheckBox && f.check[0]) {
    const PngImage& check = *f.check[0];
    row.CheckRect = RectOfSize(x + MarginCheckBox, r.top + (r.height() - check.height()) / 2,
                               check.width(), check.height());
    x = row.CheckRect.right;
  }
  row.ImageRect = kNoRect;
  if (const TLumImageList* images = Imagelist ? Imagelist : StdImageList) {
    if (row.ImageIndex >= 0 && row.ImageIndex < images->Count()) {
      const int top = r.top + (r.height() - images->ImgHeight) / 2;
      row.ImageRect = RectOfSize(x + MarginImageList, top, images->ImgWidth, images->ImgHeight);
    }
    x += images->ImgWidth;
  }
  row.TextRect = kNoRect;
  if (!row.Caption().empty()) {
    int right = r.right - 2;
    const TLumLvHeadItem* first = Columns(0);
    if (ViewStyle == WvsReport && first && first->Visible && first->ColumnRect.left >= 0) {
      right = first->ColumnRect.right;
    }
    const int th = TextSize(font, "Wg").cy;
    const int top = r.top + (r.height() - th) / 2;
    row.TextRect = {x + MarginText, top, right, top + th + 4};
  }
  for (auto& sub : row.SubItems) {
    sub->CellRect = kNoRect;
    sub->Truncated = false;
  }
  if (ViewStyle != WvsReport || ColumnCount() <= 1) return;
  for (int i = 0; i < row.SubItemCount() && i + 1 < ColumnCount(); ++i) {
    const TLumLvHeadItem& column = *columns_[static_cast<size_t>(i) + 1];
    TLumLvSubItem& sub = *row.SubItems[static_cast<size_t>(i)];
    if (!column.Visible || column.ColumnRect.left < 0) continue;
    if (column.ColumnRect.left >= r.right) break;
    sub.CellRect = {column.ColumnRect.left, r.top, std::min(column.ColumnRect.right, r.right),
                    r.bottom};
    if (sub.Caption.empty()) continue;
    int tx = column.ColumnRect.left;
    if (Imagelist && sub.ImageIndex >= 0 && sub.ImageIndex < Imagelist->Count()) {
      tx += Imagelist->ImgWidth;
    }
    const int cell_width = column.ColumnRect.right - (tx + MarginText);
    sub.Truncated = TextSize(font, sub.Caption).cx > cell_width;
  }
}

void TLumListView::PlaceIconParts(TLumLvItem& row) {
  const Rect r = row.ItemRect;
  int y = r.top + 4;
  row.ImageRect = kNoRect;
  if (const TLumImageList* images = Imagelist ? Imagelist : StdImageList) {
    if (row.ImageIndex >= 0 && row.ImageIndex < images->Count()) {
      row.ImageRect = RectOfSize(r.left + (r.width() - images->ImgWidth) / 2, y, images->ImgWidth,
                                 images->ImgHeight);
    }
    y += images->ImgHeight + 2;
  }
  row.TextRect = row.Caption().empty() ? kNoRect : Rect{r.left + 2, y, r.right - 2, r.bottom};
}

void TLumListView::LayOutRowParts() {
  const Rect view = ClientRect();
  for (size_t i = 0; i < rows_.size(); ++i) {
    TLumLvItem& row = *rows_[i];
    const bool laid = static_cast<int>(i) >= first_laid_ && static_cast<int>(i) <= last_laid_;
    // Rows out of view, and rows the application draws itself, have no parts to hit.
    if (!laid || !row.Visible || row.owner_drawn_ || !Intersects(row.ItemRect, view)) {
      ClearParts(row);
      continue;
    }
    if (ViewStyle == WvsIcon)
      PlaceIconParts(row);
    else
      PlaceRowParts(row);
  }
}

// --- the whole layout ---

TLumListView::Key TLumListView::LayoutKey() const {
  return Key{Width(),
             Height(),
             Itemheight,
             ItemWidth,
             MarginItem,
             MarginCheckBox,
             MarginImageList,
             MarginText,
             HeaderHeight,
             HeaderSplitWidth,
             ViewStyle,
             ItemStateCount,
             CheckStateCount,
             v_offset_,
             h_offset_,
             ItemCount(),
             ColumnCount(),
             BorderColor != clNone,
             ShowCheckBox,
             Imagelist ? Imagelist : StdImageList,
             font};
}

void TLumListView::UpdateBackCache() {
  if (ImgBack.empty() || Alpha() != 255 || Transparent() || Width() <= 0 || Height() <= 0) return;
  if (back_cache_ && back_cache_->width() == Width() && back_cache_->height() == Height() &&
      back_color_ == Color && back_source_.SamePixels(ImgBack)) {
    return;
  }
  back_source_ = ImgBack;
  back_color_ = Color;
  back_cache_.emplace(Width(), Height(), PixelHome::kHeap);
  back_cache_->Clear(ColorToArgb(Color));
  back_cache_->canvas().StretchDrawPng(back_cache_->bounds(), ImgBack);
}

void TLumListView::UpdateLayout() {
  if (in_layout_) return;
  in_layout_ = true;
  UpdateScrollBars();
  // Again: a bar that came or went changed the row width.
  EnsureFrames();
  UpdateBackCache();
  if (ViewStyle == WvsIcon) {
    LayOutIcons();
  } else {
    LayOutColumns();
    LayOutRows();
  }
  LayOutRowParts();
  // Refresh requests made while laying out (a bar shown) are answered by this layout.
  layout_dirty_ = false;
  layout_key_ = LayoutKey();
  in_layout_ = false;
}

void TLumListView::EnsureLayout() {
  if (!LayoutCurrent()) UpdateLayout();
}

TLumLvItem* TLumListView::ItemAt(Point p) {
  EnsureLayout();
  if (first_laid_ < 0 || !RowsArea().Contains(p)) return nullptr;
  for (int i = first_laid_; i <= last_laid_; ++i) {
    TLumLvItem& row = *rows_[static_cast<size_t>(i)];
    if (row.Enabled && row.Visible && row.ItemRect.Contains(p)) return &row;
  }
  return nullptr;
}

void TLumListView::ScrollIntoView(TLumLvItem* row) {
  if (IndexOf(row) < 0 || !row->Visible) return;
  EnsureLayout();
  const Rect area = RowsArea();
  int offset = v_offset_;
  if (row->ItemRect.left < 0) {
    // Not laid out: measure the way down to it.
    int y = inset_top_;
    for (const auto& r : rows_) {
      if (r.get() == row) break;
      if (r->Visible) y += RowHeight(*r, IndexOf(r.get())) + MarginItem;
    }
    offset = -y;
  } else if (row->ItemRect.top < area.top) {
    offset += area.top - row->ItemRect.top;
  } else if (row->ItemRect.bottom > area.bottom) {
    offset -= row->ItemRect.bottom - area.bottom;
  }
  SetVerticalOffset(offset);
  if (v_bar_) v_bar_->SetPosition(-v_offset_);
}

}  // namespace orvo
