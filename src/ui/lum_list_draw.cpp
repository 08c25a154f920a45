// Painting the list view from its layout: background, rows (or icon cells), header band,
// border, rubber band and drag picture; one row repainted in place (RedrawItem); and a
// paint that only has to show rows RedrawItem already drew skips drawing the list again.
#include <algorithm>

#include "platform/text.h"
#include "ui/lum_list_frames.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"
#include "ui/form.h"

namespace orvo {
namespace {

constexpr uint32_t kCaptionFormat = kDtLeft | kDtTop | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;
constexpr uint32_t kCellFormat =
    kDtLeft | kDtVCenter | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;

void DrawFrame(Canvas& canvas, const PngImage& frame, const Rect& r) {
  if (frame.width() == r.width() && frame.height() == r.height())
    canvas.DrawPng(r.left, r.top, frame);
  else
    canvas.StretchDrawPng(r, frame);
}

}  // namespace

Rect TLumListView::RowsArea() const {
  const int b = Border();
  return {b, HeaderBottom(), Width() - b - (VerticalBarShown() ? v_bar_->Width() : 0),
          Height() - b - (HorizontalBarShown() ? h_bar_->Height() : 0)};
}

void TLumListView::DrawControl(Bitmap32& bitmap) {
  if (bitmap.empty()) return;
  EnsureLayout();
  Canvas& canvas = bitmap.canvas();
  if (back_cache_ && !ImgBack.empty() && Alpha() == 255 && !Transparent()) {
    canvas.Draw(0, 0, back_cache_->view(), DrawMode::kOpaque);
  }
  if (OnDrawBackGround) {
    canvas.Save();
    OnDrawBackGround(bitmap, {0, 0, bitmap.width(), bitmap.height()});
    canvas.Restore();
  }
  if (ViewStyle == WvsIcon) {
    canvas.Save();
    canvas.IntersectClip(RowsArea());
    for (int i = first_laid_; i >= 0 && i <= last_laid_; ++i) {
      TLumLvItem& row = *rows_[static_cast<size_t>(i)];
      if (row.Visible && Intersects(row.ItemRect, ClientRect())) DrawIconCell(canvas, i, row);
    }
    canvas.Restore();
  } else {
    DrawRows(canvas);
    if (ViewStyle == WvsReport) DrawHeader(canvas);
  }
  if (BorderColor != clNone) {
    canvas.brush.style = BrushStyle::kSolid;
    canvas.brush.color = EffectivelyEnabled() ? BorderColor : FontColorDisable;
    canvas.FrameRect(ClientRect());
  }
  DrawRubberBand(canvas);
  if (dragging_ && !drag_picture_.empty()) {
    canvas.Draw(last_point_.x, last_point_.y, drag_picture_.view(), DrawMode::kBlend);
  }
}

void TLumListView::DrawRows(Canvas& canvas) {
  first_painted_ = -1;
  if (first_laid_ < 0) return;
  canvas.Save();
  canvas.IntersectClip(RowsArea());
  for (int i = first_laid_; i <= last_laid_; ++i) {
    TLumLvItem& row = *rows_[static_cast<size_t>(i)];
    if (!row.Visible || !Intersects(row.ItemRect, ClientRect())) continue;
    if (first_painted_ < 0) first_painted_ = i;
    DrawRow(canvas, i, row);
  }
  canvas.Restore();
}

void TLumListView::DrawRow(Canvas& canvas, int index, TLumLvItem& row) {
  const std::weak_ptr<bool> alive = alive_;
  canvas.font = font;
  canvas.brush.style = BrushStyle::kClear;
  if (OnBeforeItemDraw) OnBeforeItemDraw(canvas, index, row);
  bool default_draw = true;
  if (OnItemOwnerDraw) OnItemOwnerDraw(canvas, index, row, default_draw);
  const Rect r = row.ItemRect;
  if (!default_draw) {
    // Drawn by the application: no place of the default look is left behind for hits.
    // The application decides this while drawing, so here the paint changes the layout.
    row.CheckRect = row.ImageRect = row.TextRect = kNoRect;
    row.owner_drawn_ = true;
  } else {
    if (row.owner_drawn_) {
      // Drawn by the application last time: the default parts come back.
      row.owner_drawn_ = false;
      PlaceRowParts(row);
    }
    const Frames& f = *frames_;
    const std::optional<PngImage>* frame = nullptr;
    if (row.Enabled || !f.row[3]) {
      if (row.Selected() || (&row == pressed_ && HotTrack))
        frame = &f.row[2];
      else if (&row == hot_ && HotTrack)
        frame = &f.row[1];
      else
        frame = &f.row[0];
    } else {
      frame = &f.row[3];
    }
    if (*frame) DrawFrame(canvas, **frame, r);

    if (row.CheckRect != kNoRect) {
      const int k = (row.Checked ? 1 : 0) + (&row == hot_check_ ? 2 : 0);
      const PngImage& check = f.check[k] ? *f.check[k] : *f.check[0];
      canvas.DrawPng(row.CheckRect.left, row.CheckRect.top, check);
    }
    if (row.ImageRect != kNoRect) {
      TLumImageList* images = Imagelist ? Imagelist : StdImageList;
      images->Draw(&canvas, row.ImageRect.left, row.ImageRect.top, row.ImageIndex, true);
    }
    if (row.TextRect != kNoRect) {
      canvas.font = font;
      if (!row.Enabled)
        canvas.font.color = FontColorDisable;
      else if (&row == pressed_)
        canvas.font.color = FontColorDown;
      else if (&row == hot_)
        canvas.font.color = FontColorOver;
      else
        canvas.font.color = FontColorNormal;
      Rect tr = row.TextRect;
      canvas.brush.style = BrushStyle::kClear;
      canvas.DrawText(row.Caption(), tr, kCaptionFormat);
    }
    if (ViewStyle == WvsReport && ColumnCount() > 1) {
      for (int i = 0; i < row.SubItemCount() && i + 1 < ColumnCount(); ++i) {
        const TLumLvHeadItem& column = *columns_[static_cast<size_t>(i) + 1];
        const TLumLvSubItem& sub = *row.SubItems[static_cast<size_t>(i)];
        if (!column.Visible || column.ColumnRect.left < 0) continue;
        if (column.ColumnRect.left >= r.right) break;
        if (!sub.Caption.empty()) {
          int tx = column.ColumnRect.left;
          if (Imagelist && sub.ImageIndex >= 0 && sub.ImageIndex < Imagelist->Count()) {
            Imagelist->Draw(&canvas, tx, r.top + (r.height() - Imagelist->ImgHeight) / 2,
                            sub.ImageIndex, row.Enabled);
            tx += Imagelist->ImgWidth;
          }
          Rect cell{tx + MarginText, r.top, column.ColumnRect.right, r.bottom};
          canvas.font = font;
          canvas.font.color = row.Enabled ? FontColorNormal : FontColorDisable;
          canvas.brush.style = BrushStyle::kClear;
          canvas.DrawText(sub.Caption, cell, kCellFormat);
        }
        if (OnSubItemDraw) OnSubItemDraw(canvas, row, i);
        if (alive.expired()) return;
      }
    }
  }
  canvas.font = font;
  canvas.brush.style = BrushStyle::kClear;
  if (OnAfterItemDraw) OnAfterItemDraw(canvas, index, row);
}

void TLumListView::DrawIconCell(Canvas& canvas, int index, TLumLvItem& row) {
  const Rect r = row.ItemRect;
  if (dragging_ && r.Contains(last_point_)) {
    canvas.brush.style = BrushStyle::kSolid;
    canvas.brush.color = DragColor;
    canvas.FillRect(r);
  }
  if (OnBeforeItemDraw) OnBeforeItemDraw(canvas, index, row);
  bool default_draw = true;
  if (OnItemOwnerDraw) OnItemOwnerDraw(canvas, index, row, default_draw);
  if (default_draw) {
    const Frames& f = *frames_;
    const std::optional<PngImage>* frame = &f.row[0];
    if (!row.Enabled && f.row[3])
      frame = &f.row[3];
    else if (row.Selected() || (&row == pressed_ && HotTrack))
      frame = &f.row[2];
    else if (&row == hot_ && HotTrack)
      frame = &f.row[1];
    if (*frame) DrawFrame(canvas, **frame, r);
    if (row.ImageRect != kNoRect) {
      TLumImageList* images = Imagelist ? Imagelist : StdImageList;
      images->Draw(&canvas, row.ImageRect.left, row.ImageRect.top, row.ImageIndex, row.Enabled);
    }
    if (row.TextRect != kNoRect) {
      canvas.font = font;
      canvas.font.color = !row.Enabled       ? FontColorDisable
                          : &row == pressed_ ? FontColorDown
                          : &row == hot_     ? FontColorOver
                                             : FontColorNormal;
      Rect tr = row.TextRect;
      canvas.brush.style = BrushStyle::kClear;
      canvas.DrawText(row.Caption(), tr,
                      kDtCenter | kDtTop | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix);
    }
  }
  if (OnAfterItemDraw) OnAfterItemDraw(canvas, index, row);
}

void TLumListView::DrawHeader(Canvas& canvas) {
  const Rect header = HeaderRect();
  if (header.height() <= 0) return;
  const Frames& f = *frames_;
  canvas.Save();
  canvas.IntersectClip(header);
  if (f.header[0]) DrawFrame(canvas, *f.header[0], header);
  for (int i = 0; i < ColumnCount(); ++i) {
    TLumLvHeadItem& c = *columns_[static_cast<size_t>(i)];
    const Rect r = c.ColumnRect;
    if (!c.Visible || r.left < 0 || !Intersects(r, header)) continue;
    int state = i == pressed_column_ ? 2 : i == hot_column_ ? 1 : 0;
    if (!f.header[state]) state = 0;
    if (f.header[state]) DrawFrame(canvas, *f.header[state], r);
    int x = r.left + 4;
    if (c.ShowCheck && c.CheckRect.left >= 0) {
      const PngImage& check =
          f.check[c.Checked ? 1 : 0] ? *f.check[c.Checked ? 1 : 0] : *f.check[0];
      canvas.DrawPng(c.CheckRect.left, c.CheckRect.top, check);
      x = c.CheckRect.right + 4;
    }
    if (HeadImglist && c.ImageIndex >= 0 && c.ImageIndex < HeadImglist->Count()) {
      HeadImglist->Draw(&canvas, x, r.top + (r.height() - HeadImglist->ImgHeight) / 2, c.ImageIndex,
                        true);
      x += HeadImglist->ImgWidth + 4;
    }
    const int right = c.ArrowRect.left >= 0 ? c.ArrowRect.left - 2 : r.right - 4;
    canvas.font = HeaderFont;
    canvas.brush.style = BrushStyle::kClear;
    Rect tr{x, r.top, right, r.bottom};
    canvas.DrawText(c.Caption, tr, kCellFormat);
    if (c.ArrowRect.left >= 0) {
      const auto& arrow = f.arrow[c.ArrowDirection == 2 ? 1 : 0];
      if (arrow) canvas.DrawPng(c.ArrowRect.left, c.ArrowRect.top, *arrow);
    }
    if (c.Resizable && f.header_split[0]) {
      const int s = i == resizing_column_ ? 2 : 0;
      const PngImage& split = f.header_split[s] ? *f.header_split[s] : *f.header_split[0];
      DrawFrame(canvas, split, {r.right, r.top, r.right + HeaderSplitWidth, r.bottom});
    }
    if (OnHeadItemAfterDraw) OnHeadItemAfterDraw(canvas, c, i);
  }
  canvas.Restore();
}

void TLumListView::DrawRubberBand(Canvas& canvas) {
  if (!band_active_ || ImgSelBox.empty() || band_.empty()) return;
  canvas.StretchDrawPng(band_, ImgSelBox);
}

// --- one row in place ---

void TLumListView::RestoreBackground(Canvas& canvas, const Rect& r) {
  Bitmap32& bitmap = canvas.target();
  if (Alpha() == 255 && !Transparent()) {
    if (back_cache_ && !ImgBack.empty()) {
      canvas.CopyRect(r, *back_cache_, r);
    } else {
      canvas.brush.style = BrushStyle::kSolid;
      canvas.brush.color = Color;
      canvas.FillRect(r);
    }
    return;
  }
  for (int y = std::max(r.top, 0); y < std::min(r.bottom, bitmap.height()); ++y) {
    std::fill(bitmap.Row(y) + std::max(r.left, 0),
              bitmap.Row(y) + std::min(r.right, bitmap.width()), Argb{0});
  }
  CopyParentBackgroundRect(*this, canvas, r);
  if (Alpha() < 255) FadeRectAlpha(bitmap, Intersect(r, bitmap.bounds()), Alpha());
}

void TLumListView::RedrawItem(TLumLvItem* row) {
  const int index = IndexOf(row);
  if (index < 0 || row == editing_) return;
  if (!LayoutCurrent()) {
    // Rows may have moved: the bitmap no longer matches, the whole list is painted again.
    Changed();
    EnsureLayout();
    return;
  }
  if (row->ItemRect.left < 0 || !row->Visible) return;
  Bitmap32& bitmap = core_.bitmap;
  TForm* form = Form();
  if (!form || !Showing()) return;
  if (bitmap.width() != Width() || bitmap.height() != Height() || !frames_) {
    Changed();  // never painted whole yet
    return;
  }
  const Rect r = Intersect(row->ItemRect, RowsArea());
  if (r.empty()) return;
  Canvas& canvas = bitmap.canvas();
  canvas.ResetState();
  canvas.IntersectClip(r);
  RestoreBackground(canvas, r);
  if (ViewStyle == WvsIcon)
    DrawIconCell(canvas, index, *row);
  else
    DrawRow(canvas, index, *row);
  canvas.ResetState();
  fresh_.push_back(r);
  const Point o = FormOrigin();
  form->InvalidateRect(Intersect(r.Offset(o.x, o.y), VisibleFormRect()));
}

bool TLumListView::FreshCovers(const Rect& clip) const {
  if (fresh_.empty()) return false;
  if (clip.empty()) return true;
  std::vector<Rect> rects;
  for (const Rect& r : fresh_) {
    if (std::find(rects.begin(), rects.end(), r) == rects.end()) rects.push_back(r);
  }
  Rect bound;
  long long area = 0;
  for (size_t i = 0; i < rects.size(); ++i) {
    bound = Union(bound, rects[i]);
    area += static_cast<long long>(rects[i].width()) * rects[i].height();
    for (size_t j = 0; j < i; ++j) {
      if (Intersects(rects[i], rects[j])) return false;
    }
  }
  if (Intersect(clip, bound) != clip) return false;
  // Rows in between that were not repainted are still right in a bitmap that is whole;
  // a see-through list's background may have changed there, though.
  const bool tiled = area == static_cast<long long>(bound.width()) * bound.height();
  return tiled || (bitmap_valid_ && Alpha() == 255 && !Transparent());
}

void TLumListView::Paint(Canvas& canvas) {
  const Rect clip = Intersect(canvas.ClipRect(), ClientRect());
  const bool fresh = !(ComponentState & csDesigning) && core_.bitmap.width() == Width() &&
                     core_.bitmap.height() == Height() && FreshCovers(clip);
  fresh_.clear();
  if (!fresh) {
    TLumUIParentControl::Paint(canvas);
    if (clip == ClientRect()) bitmap_valid_ = true;
    return;
  }
  canvas.Draw(0, 0, core_.bitmap.view(), DrawMode::kOpaque);
  if (OnPaint) OnPaint(*this, canvas);
}

// --- the drag picture ---

void TLumListView::MakeDragPicture() {
  std::vector<TLumLvItem*> picked;
  int count = 0;
  for (const auto& r : rows_) {
    if (!r->Selected()) continue;
    ++count;
    if (picked.size() < 10 && r->ItemRect.left >= 0) picked.push_back(r.get());
  }
  drag_picture_ = Bitmap32(PixelHome::kHeap);
  if (picked.empty()) return;
  const int shift = Rnd(Itemheight / 3.0);
  const int width = ViewStyle == WvsIcon ? ItemWidth : std::max(Width() / 2, 1);
  const int height = Itemheight + shift * static_cast<int>(picked.size() - 1);
  if (!drag_picture_.SetSize(width, std::max(height, 1))) return;
  drag_picture_.Clear(0);
  Canvas& canvas = drag_picture_.canvas();
  for (size_t k = 0; k < picked.size(); ++k) {
    const Rect src = Intersect(picked[k]->ItemRect, core_.bitmap.bounds());
    if (src.empty()) continue;
    const Rect dst =
        RectOfSize(0, static_cast<int>(k) * shift, std::min(src.width(), width), src.height());
    canvas.CopyRect(dst, core_.bitmap, {src.left, src.top, src.left + dst.width(), src.bottom});
  }
  if (count > 10) {
    Font f = font;
    f.set_size(12);
    f.style = fsBold;
    f.color = clRed;
    canvas.font = f;
    canvas.brush.style = BrushStyle::kClear;
    canvas.TextOut(2, 2, std::to_string(count));
  }
  drag_picture_.ResetAlpha(128);
}

}  // namespace orvo
