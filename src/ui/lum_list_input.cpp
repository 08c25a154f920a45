// The list view's pointer: the hot row and its check box, presses and clicks with the
// selection rules (single, Ctrl, Shift range, rubber band), dragging rows to a new place,
// resizing columns in the header band, the wheel, hints for truncated texts, and in-place
// editing of a caption.
#include <algorithm>

#include "ui/application.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/lum_list_view.h"
#include "ui/lum_popup_menu.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

constexpr int kBandThreshold = 10;
constexpr int kSplitGrip = 2;  // pixels either side of a column split that grab it

}  // namespace

// --- header band ---

int TLumListView::ColumnAt(Point p) const {
  if (ViewStyle != WvsReport || !HeaderRect().Contains(p)) return -1;
  for (int i = 0; i < ColumnCount(); ++i) {
    const TLumLvHeadItem& c = *columns_[static_cast<size_t>(i)];
    if (c.Visible && c.ColumnRect.Contains(p)) return i;
  }
  return -1;
}

int TLumListView::ColumnSplitAt(Point p) const {
  if (ViewStyle != WvsReport || HeaderHeight <= 0 || !HeaderRect().Contains(p)) return -1;
  for (int i = 0; i < ColumnCount(); ++i) {
    const TLumLvHeadItem& c = *columns_[static_cast<size_t>(i)];
    if (!c.Visible || !c.Resizable || c.ColumnRect.left < 0) continue;
    if (p.x >= c.ColumnRect.right - kSplitGrip &&
        p.x < c.ColumnRect.right + HeaderSplitWidth + kSplitGrip) {
      return i;
    }
  }
  return -1;
}

// --- hot row and hints ---

void TLumListView::SetHot(TLumLvItem* row) {
  if (row == hot_) return;
  TLumLvItem* old = hot_;
  hot_ = row;
  if (old) {
    if (hot_check_ == old) hot_check_ = nullptr;
    RedrawItem(old);
    RemoveRowHint();
  }
  if (row) RedrawItem(row);
}

void TLumListView::RemoveRowHint() {
  hint_kind_ = kNoHint;
  if (row_hint_.Restore(*this)) Application().CancelHint();
}

void TLumListView::UpdateTextHint(TLumLvItem& row, Point p) {
  std::string text;
  Canvas& canvas = core_.bitmap.canvas();
  canvas.font = font;
  const bool report = ViewStyle == WvsReport;
  const Rect area = report ? row.TextRect : row.ItemRect;
  if (!row.Caption().empty() && area.Contains(p) && row.TextRect.left >= 0 &&
      canvas.TextWidth(row.Caption()) > row.TextRect.width()) {
    text = row.Caption();
  } else if (report) {
    for (const auto& sub : row.SubItems) {
      if (sub->Truncated && sub->CellRect.Contains(p)) text = sub->Caption;
    }
  }
  if (hint_kind_ == kItemHint) return;
  if (text.empty()) {
    if (hint_kind_ == kTextHint) RemoveRowHint();
    return;
  }
  hint_kind_ = kTextHint;
  // The hint comes up again, after the pause, with the new text.
  if (row_hint_.Show(*this, text)) Application().CancelHint();
}

void TLumListView::ShowItemHint(const std::string& text, Point screen) {
  const bool showing = Application().HintShowing() && Hint == text;
  hint_kind_ = kItemHint;
  row_hint_.Show(*this, text);
  if (!showing) Application().ActivateHintFor(this, screen, text);
}

// --- pointer ---

void TLumListView::MouseMove(TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseMove(shift, x, y);
  EnsureLayout();
  const Point p{x, y};
  last_point_ = p;
  if (shift & ssLeft) {
    if (resizing_column_ >= 0) {
      TLumLvHeadItem& c = *columns_[static_cast<size_t>(resizing_column_)];
      const int width = x + resize_offset_;
      if (x > Width() - 20 || x <= 9 || width < 30 || width == c.Width) return;
      c.Width = width;
      Changed();
      return;
    }
    if (dragging_) {
      Changed();
      return;
    }
    if (MultiSelect && press_point_.x >= 0 && std::abs(y - press_point_.y) > kBandThreshold) {
      UpdateRubberBand(p);
    }
    return;
  }
  const int split = ColumnSplitAt(p);
  Cursor = split >= 0 ? crSizeWE : crDefault;
  const int column = split >= 0 ? -1 : ColumnAt(p);
  if (column != hot_column_) {
    hot_column_ = column;
    Changed();
  }
  const std::weak_ptr<bool> alive = alive_;
  TLumLvItem* row = ItemAt(p);
  SetHot(row);
  if (!row) return;
  if (ShowCheckBox) {
    const bool on_check = row->CheckRect.Contains(p);
    if (on_check != (hot_check_ == row)) {
      hot_check_ = on_check ? row : nullptr;
      RedrawItem(row);
    }
  }
  if (OnItemMouseMove) OnItemMouseMove(*this, core_.bitmap.canvas(), *row, shift, x, y);
  if (alive.expired() || IndexOf(row) < 0) return;
  UpdateTextHint(*row, p);
}

void TLumListView::UpdateRubberBand(Point p) {
  const Rect header_free{0, HeaderBottom(), Width(), Height()};
  Rect band{std::min(press_point_.x, p.x), std::min(press_point_.y, p.y),
            std::max(press_point_.x, p.x), std::max(press_point_.y, p.y)};
  band = Intersect(band, header_free);
  const bool active = !ImgSelBox.empty() && (std::abs(p.x - press_point_.x) >= kBandThreshold ||
                                             std::abs(p.y - press_point_.y) >= kBandThreshold);
  band_active_ = active;
  band_ = band;
  if (active) {
    const std::weak_ptr<bool> alive = alive_;
    std::vector<TLumLvItem*> rows;
    for (const auto& r : rows_) rows.push_back(r.get());
    for (TLumLvItem* r : rows) {
      const bool want =
          r->Enabled && r->Visible && r->ItemRect.left >= 0 && Intersects(r->ItemRect, band);
      SelectRow(*r, want);
      if (alive.expired()) return;
    }
  }
  Changed();
}

void TLumListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseDown(button, shift, x, y);
  EnsureLayout();
  const Point p{x, y};
  last_point_ = p;
  if (editing_) EndEdit();
  const std::weak_ptr<bool> alive = alive_;
  if (CanFocus() && !Focused()) SetFocus();
  if (alive.expired()) return;
  if (button == mbLeft) {
    const int split = ColumnSplitAt(p);
    if (split >= 0) {
      resizing_column_ = split;
      resize_offset_ = columns_[static_cast<size_t>(split)]->Width - x;
      Changed();
      return;
    }
    const int column = ColumnAt(p);
    if (column >= 0) {
      pressed_column_ = column;
      Changed();
      return;
    }
  }
  if (button == mbRight && !SupportRightSelect) return;
  press_point_ = MultiSelect && button == mbLeft ? p : Point{-1, -1};
  TLumLvItem* row = ItemAt(p);
  SetHot(row);
  if (row && button == mbLeft && hot_check_ == row && row->CheckRect.Contains(p)) {
    pressed_check_ = row;
    RedrawItem(row);
    return;
  }
  if (!row) {
    ClearSelection();
    if (alive.expired()) return;
    focused_ = hot_ = hot_check_ = nullptr;
    Changed();
    return;
  }
  if (CanDrag && button == mbLeft && row->Selected()) {
    const bool on_content = row->TextRect.Contains(p) || row->ImageRect.Contains(p);
    if (!(ViewStyle == WvsReport && MultiSelect) || on_content) {
      dragging_ = true;
      press_point_ = {-1, -1};
      MakeDragPicture();
      if (OnDragBeging) OnDragBeging(*this);
      if (alive.expired()) return;
    }
  }
  TLumLvItem* old_focus = focused_;
  focused_ = row;
  pressed_ = row;
  if (old_focus && old_focus != row) RedrawItem(old_focus);
  RedrawItem(row);
  if (OnItemMouseDown) OnItemMouseDown(*this, core_.bitmap.canvas(), *row, shift, x, y);
  if (alive.expired() || IndexOf(row) < 0) return;
  if (SupportRightSelect && button == mbRight) {
    if (!MultiSelect || !(shift & ssShift)) ClearSelection(row);
    if (alive.expired()) return;
    SelectRow(*row, true);
    if (alive.expired()) return;
    range_anchor_ = row;
    Changed();
  }
}

void TLumListView::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseUp(button, shift, x, y);
  EnsureLayout();
  const Point p{x, y};
  const std::weak_ptr<bool> alive = alive_;
  if (button == mbLeft && resizing_column_ >= 0) {
    resizing_column_ = -1;
    Changed();
    return;
  }
  if (button == mbLeft && pressed_column_ >= 0) {
    const int column = pressed_column_;
    pressed_column_ = -1;
    Changed();
    if (ColumnAt(p) != column) return;
    TLumLvHeadItem& c = *columns_[static_cast<size_t>(column)];
    if (c.ShowCheck && c.CheckRect.Contains(p)) {
      c.Checked = !c.Checked;
      if (OnHeadCheckedEvent) OnHeadCheckedEvent(*this, c, column);
    } else if (OnHeadClickEvent) {
      OnHeadClickEvent(*this, c, column);
    }
    return;
  }
  if (button == mbLeft && dragging_) {
    dragging_ = false;
    DropSelection(p);
    drag_picture_ = Bitmap32(PixelHome::kHeap);
    Changed();
  }
  if (button == mbLeft && band_active_) {
    band_active_ = false;
    Changed();
  }
  if (button == mbLeft) press_point_ = {-1, -1};
  if (button == mbLeft && pressed_check_) {
    TLumLvItem* row = pressed_check_;
    pressed_check_ = nullptr;
    if (row->CheckRect.Contains(p) && ItemAt(p) == row) {
      row->Checked = !row->Checked;
      if (OnItemCheck) OnItemCheck(*this, *row);
      if (alive.expired()) return;
    }
    if (IndexOf(row) >= 0) RedrawItem(row);
    return;
  }
  if (TLumLvItem* row = pressed_) {
    if (OnItemMouseUP) OnItemMouseUP(*this, core_.bitmap.canvas(), *row, shift, x, y);
    if (alive.expired()) return;
    if (IndexOf(row) >= 0 && ItemAt(p) == row && button == mbLeft) {
      SelectOnClick(*row, shift);
      if (alive.expired()) return;
      if (IndexOf(row) >= 0 && OnItemClick) OnItemClick(*this, *row);
      if (alive.expired()) return;
    }
    if (pressed_ == row) pressed_ = nullptr;
    if (IndexOf(row) >= 0) RedrawItem(row);
  }
  if (button == mbRight && PopupMenu) {
    const Point at = CursorScreenPos();
    PopupMenu->Popup(at.x, at.y);
  }
}

void TLumListView::SelectOnClick(TLumLvItem& row, TShiftState shift) {
  const std::weak_ptr<bool> alive = alive_;
  std::vector<TLumLvItem*> all;
  for (const auto& r : rows_) all.push_back(r.get());
  bool changed = false;
  auto set = [&](TLumLvItem& r, bool selected) {
    if (IndexOf(&r) < 0 || r.Selected() == selected) return;
    SelectRow(r, selected);
    changed = true;
  };
  const bool ctrl = MultiSelect && (shift & ssCtrl);
  const bool range = MultiSelect && (shift & ssShift);
  if (range) {
    TLumLvItem* anchor = range_anchor_;
    if (!anchor) {
      for (TLumLvItem* r : all) {
        if (r->Selected()) {
          anchor = r;
          break;
        }
      }
    }
    if (!anchor) anchor = &row;
    const int a = IndexOf(anchor), b = IndexOf(&row);
    const int lo = std::min(a, b), hi = std::max(a, b);
    for (size_t i = 0; i < all.size() && !alive.expired(); ++i) {
      TLumLvItem& r = *all[i];
      const int at = IndexOf(&r);
      set(r, at >= lo && at <= hi && r.Enabled && r.Visible);
    }
    range_end_ = &row;
  } else if (ctrl) {
    set(row, true);
    range_anchor_ = &row;
  } else {
    for (TLumLvItem* r : all) {
      if (r != &row) set(*r, false);
      if (alive.expired()) return;
    }
    set(row, true);
    range_anchor_ = &row;
  }
  if (!alive.expired() && changed) Changed();
}

void TLumListView::DropSelection(Point p) {
  TLumLvItem* target = nullptr;
  for (int i = first_laid_; i >= 0 && i <= last_laid_; ++i) {
    TLumLvItem& r = *rows_[static_cast<size_t>(i)];
    if (r.Visible && r.ItemRect.Contains(p)) {
      target = &r;
      break;
    }
  }
  const bool below =
      !target && last_laid_ >= 0 && p.y >= rows_[static_cast<size_t>(last_laid_)]->ItemRect.bottom;
  if (!target && !below) return;
  // Before the target, or before the first unselected row after it.
  if (target && target->Selected()) {
    const int at = IndexOf(target);
    target = nullptr;
    for (size_t i = static_cast<size_t>(at); i < rows_.size(); ++i) {
      if (!rows_[i]->Selected()) {
        target = rows_[i].get();
        break;
      }
    }
  }
  std::vector<std::unique_ptr<TLumLvItem>> moving, staying;
  for (auto& r : rows_) (r->Selected() ? moving : staying).push_back(std::move(r));
  size_t insert_at = staying.size();
  for (size_t i = 0; i < staying.size(); ++i) {
    if (staying[i].get() == target) insert_at = i;
  }
  rows_.clear();
  for (size_t i = 0; i < insert_at; ++i) rows_.push_back(std::move(staying[i]));
  for (auto& r : moving) rows_.push_back(std::move(r));
  for (size_t i = insert_at; i < staying.size(); ++i) rows_.push_back(std::move(staying[i]));
}

void TLumListView::DblClick() {
  TLumUIParentControl::DblClick();
  EnsureLayout();
  TLumLvItem* row = hot_;
  if (!row || IndexOf(row) < 0) return;
  if (CanEditItem && row->TextRect.Contains(last_point_)) {
    BeginEdit(*row);
    return;
  }
  if (OnItemDbClick) OnItemDbClick(*this, *row);
}

bool TLumListView::MouseWheel(int delta, TShiftState shift, int x, int y) {
  EnsureLayout();
  TLumScrollBar* bar = VerticalBarShown() ? v_bar_ : HorizontalBarShown() ? h_bar_ : nullptr;
  if (!bar) return TLumUIParentControl::MouseWheel(delta, shift, x, y);
  bar->SetFocus();
  return bar->MouseWheel(delta, shift, x - bar->Left(), y - bar->Top());
}

void TLumListView::MouseLeave() {
  TLumUIParentControl::MouseLeave();
  RemoveRowHint();
  if (PopupMenu && PopupMenu->IsOpen()) return;
  hot_column_ = -1;
  if (hot_ || hot_check_) {
    hot_ = hot_check_ = nullptr;
    Changed();
  }
}

void TLumListView::DoExit() {
  TLumUIParentControl::DoExit();
  FocusLeft();
}

void TLumListView::FocusLeft() {
  TForm* form = Form();
  const TWinControl* now = form ? form->ActiveControl() : nullptr;
  if (now == this || (now && (now == v_bar_ || now == h_bar_ || now == editor_))) return;
  if (PopupMenu && PopupMenu->IsOpen()) return;
  if (!TabStop || !focused_) return;
  focused_ = hot_ = nullptr;
  Changed();
}

// --- in-place editing ---

void TLumListView::BeginEdit(TLumLvItem& row) {
  const Rect r = row.TextRect;
  if (r.empty()) return;
  const int h = std::max(r.height() - 2, 1);
  if (!editor_) {
    editor_ = Make<TLumEdit>();
    editor_->Name = Name.empty() ? "" : Name + "Editor";
    editor_->SetVisible(false);
    editor_->EditStateCount = 3;
    editor_->Imgx1 = 2;
    editor_->ImgX2 = 4;
    editor_->OnLostFocus = [this](TLumEdit&) { EndEdit(); };
    editor_->OnKeyDown = [this](TControl&, uint16_t& key, TShiftState) {
      if (key == kVkReturn)
        EndEdit();
      else if (key == kVkEscape)
        EndEdit(true);
    };
  }
  editor_->ImgEdit = SolidPng(18, h, clWhite);
  editor_->ImgInput = SolidPng(1, h, 0xFF0000);
  editor_->SkinChanged();
  editor_->font = font;
  editor_->SelColor = EditSelColor;
  editor_->SetBounds(r.left, r.top, r.width(), r.height());
  editor_->SetText(row.Caption());
  editing_ = &row;
  editor_->SetVisible(true);
  editor_->SetFocus();
  editor_->SelectAll();
}

void TLumListView::EndEdit(bool cancel) {
  if (!editing_ || !editor_) return;
  TLumLvItem* row = editing_;
  editing_ = nullptr;
  const bool had_focus = editor_->Focused();
  const std::string text = editor_->Text();
  editor_->SetVisible(false);
  if (!cancel && IndexOf(row) >= 0) row->SetCaption(text);
  if (had_focus && CanFocus()) SetFocus();
  Changed();
}

}  // namespace orvo
