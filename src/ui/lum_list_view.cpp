// The list view's rows (which own their data), columns, selection and updating.
#include "ui/lum_list_frames.h"

#include <algorithm>

#include "ui/application.h"

namespace orvo {

// --- rows and columns ---

void TLumLvItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (owner_) owner_->RowChanged(*this);
}

void TLumLvItem::SetSelected(bool selected) {
  if (selected == selected_) return;
  selected_ = selected;
  if (owner_) owner_->RowChanged(*this);
}

TLumLvSubItem& TLumLvItem::AddSubItem(const std::string& caption) {
  SubItems.push_back(std::make_unique<TLumLvSubItem>());
  SubItems.back()->Caption = caption;
  if (owner_) owner_->RowChanged(*this);
  return *SubItems.back();
}

TLumLvSubItem* TLumLvItem::SubItem(int index) const {
  if (index < 0 || index >= SubItemCount()) return nullptr;
  return SubItems[static_cast<size_t>(index)].get();
}

// --- the list ---

TLumListView::TLumListView() {
  SetBounds(0, 0, 200, 150);
  Color = clWhite;
  TabStop = true;
}

TLumListView::~TLumListView() {
  // The rows go as Clear lets them go: the application sees each one's data last.
  DeleteRowsFromEnd();
  *alive_ = false;
  RemoveRowHint();
}

TLumLvItem& TLumListView::AddItem() {
  rows_.push_back(std::make_unique<TLumLvItem>());
  rows_.back()->owner_ = this;
  InvalidateLayout();
  return *rows_.back();
}

TLumLvItem& TLumListView::AddItem(std::unique_ptr<TLumLvItem> row) {
  TLumLvItem* added = InsertItem(std::move(row), ItemCount());
  return *added;
}

TLumLvItem* TLumListView::InsertItem(std::unique_ptr<TLumLvItem> row, int index) {
  if (!row || index < 0 || index > ItemCount()) return nullptr;
  row->owner_ = this;
  TLumLvItem* raw = row.get();
  rows_.insert(rows_.begin() + index, std::move(row));
  Changed();
  return raw;
}

void TLumListView::ForgetRow(const TLumLvItem* row) {
  if (focused_ == row) focused_ = nullptr;
  if (hot_ == row) {
    hot_ = nullptr;
    RemoveRowHint();
  }
  if (pressed_ == row) pressed_ = nullptr;
  if (hot_check_ == row) hot_check_ = nullptr;
  if (pressed_check_ == row) pressed_check_ = nullptr;
  if (range_anchor_ == row) range_anchor_ = nullptr;
  if (range_end_ == row) range_end_ = nullptr;
  if (editing_ == row) EndEdit(true);
}

void TLumListView::DeleteItem(TLumLvItem* row) {
  const int index = IndexOf(row);
  if (index < 0) return;
  const std::weak_ptr<bool> alive = alive_;
  if (OnItemDataDelete) OnItemDataDelete(*this, *row);
  if (alive.expired()) return;
  // The handler may have deleted rows itself.
  const int now = IndexOf(row);
  if (now < 0) return;
  ForgetRow(row);
  fresh_.clear();
  rows_.erase(rows_.begin() + now);
  Changed();
}

bool TLumListView::DeleteRowsFromEnd() {
  const std::weak_ptr<bool> alive = alive_;
  while (!rows_.empty()) {
    TLumLvItem* row = rows_.back().get();
    if (OnItemDataDelete) OnItemDataDelete(*this, *row);
    if (alive.expired()) return false;
    // The handler may have deleted rows itself.
    if (!rows_.empty() && rows_.back().get() == row) rows_.pop_back();
  }
  return true;
}

void TLumListView::Clear() {
  EndEdit(true);
  if (!DeleteRowsFromEnd()) return;
  focused_ = hot_ = pressed_ = hot_check_ = pressed_check_ = nullptr;
  range_anchor_ = range_end_ = nullptr;
  RemoveRowHint();
  fresh_.clear();
  // Both bars go; they come back when rows need them.
  if (v_bar_) {
    Release(v_bar_);
    v_bar_ = nullptr;
  }
  if (h_bar_) {
    Release(h_bar_);
    h_bar_ = nullptr;
  }
  v_offset_ = h_offset_ = 0;
  Changed();
}

TLumLvItem* TLumListView::Items(int index) const {
  if (index < 0 || index >= ItemCount()) return nullptr;
  return rows_[static_cast<size_t>(index)].get();
}

int TLumListView::IndexOf(const TLumLvItem* row) const {
  if (!row) return -1;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].get() == row) return static_cast<int>(i);
  }
  return -1;
}

TLumLvHeadItem& TLumListView::AddColumn() { return AddColumn(std::make_unique<TLumLvHeadItem>()); }

TLumLvHeadItem& TLumListView::AddColumn(std::unique_ptr<TLumLvHeadItem> column) {
  columns_.push_back(std::move(column));
  Changed();
  return *columns_.back();
}

void TLumListView::ClearColumns() {
  columns_.clear();
  hot_column_ = pressed_column_ = resizing_column_ = -1;
  Changed();
}

TLumLvHeadItem* TLumListView::Columns(int index) const {
  if (index < 0 || index >= ColumnCount()) return nullptr;
  return columns_[static_cast<size_t>(index)].get();
}

// --- selection ---

int TLumListView::SelectedCount() const {
  return static_cast<int>(
      std::count_if(rows_.begin(), rows_.end(), [](const auto& r) { return r->selected_; }));
}

TLumLvItem* TLumListView::SelectedItem() const {
  if (focused_) return focused_;
  for (const auto& r : rows_) {
    if (r->selected_) return r.get();
  }
  return nullptr;
}

void TLumListView::SelectRow(TLumLvItem& row, bool selected) {
  if (row.selected_ == selected) return;
  row.selected_ = selected;
  if (OnItemSelectChange) OnItemSelectChange(*this, row);
}

void TLumListView::ClearSelection(TLumLvItem* except) {
  const std::weak_ptr<bool> alive = alive_;
  bool any = false;
  // A copy: a handler may change the rows.
  std::vector<TLumLvItem*> selected;
  for (const auto& r : rows_) {
    if (r->selected_ && r.get() != except) selected.push_back(r.get());
  }
  for (TLumLvItem* row : selected) {
    if (IndexOf(row) < 0) continue;
    SelectRow(*row, false);
    if (alive.expired()) return;
    any = true;
  }
  if (any) Changed();
}

void TLumListView::RowChanged(TLumLvItem&) { Changed(); }

// --- updating ---

void TLumListView::EndUpdate() {
  if (updating_ > 0) --updating_;
  if (updating_ > 0) return;
  Changed();
  EnsureLayout();
}

void TLumListView::Changed() {
  InvalidateLayout();
  if (updating_ > 0) return;
  fresh_.clear();
  bitmap_valid_ = false;
  TLumUIParentControl::Changed();
}

}  // namespace orvo
