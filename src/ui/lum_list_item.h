#pragma once
// The list view's rows (TLumLvItem, with their sub-items, the texts of columns 2 .. n) and
// columns (TLumLvHeadItem). Both are plain objects the list view owns once added; their
// rectangles are results of the list's last layout, (-1, -1, -1, -1) before one (or for a
// row that is not laid out). A row owns its Data: it is freed with the row, after the
// list's OnItemDataDelete has seen it.
#include <memory>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "ui/item_data.h"

namespace orvo {

class TLumListView;

inline constexpr Rect kNoRect{-1, -1, -1, -1};

class TLumLvSubItem {
 public:
  std::string Caption;
  int ImageIndex = -1;
  Rect CellRect = kNoRect;
  // The text was wider than its cell at the last paint.
  bool Truncated = false;
};

class TLumLvItem {
 public:
  TLumLvItem() = default;
  explicit TLumLvItem(std::string caption) : caption_(std::move(caption)) {}
  TLumLvItem(const TLumLvItem&) = delete;
  TLumLvItem& operator=(const TLumLvItem&) = delete;

  TLumListView* Owner() const { return owner_; }
  const std::string& Caption() const { return caption_; }
  // A new value refreshes the owner.
  void SetCaption(const std::string& caption);
  bool Selected() const { return selected_; }
  // A new value refreshes the owner (no selection event: that belongs to user input).
  void SetSelected(bool selected);

  std::string SecondText;  // kept with the row, not drawn
  std::vector<std::unique_ptr<TLumLvSubItem>> SubItems;
  // A new sub-item refreshes the owner.
  TLumLvSubItem& AddSubItem(const std::string& caption);
  // Null outside the range.
  TLumLvSubItem* SubItem(int index) const;
  int SubItemCount() const { return static_cast<int>(SubItems.size()); }

  int ImageIndex = -1;
  bool Enabled = true;  // disabled rows are not hot-tracked, hit or selected
  bool Visible = true;  // invisible rows take no space
  bool Checked = false;
  Rect ItemRect = kNoRect;
  Rect ImageRect = kNoRect;
  Rect TextRect = kNoRect;
  Rect CheckRect = kNoRect;
  // The application's record for the row; a new one frees the one before.
  std::unique_ptr<TItemData> Data;
  template <typename T>
  T* DataAs() const {
    return ItemDataAs<T>(Data);
  }

 private:
  friend class TLumListView;
  TLumListView* owner_ = nullptr;
  std::string caption_;
  bool selected_ = false;
  // The application drew the row itself at the last paint: it has no default parts.
  bool owner_drawn_ = false;
};

class TLumLvHeadItem {
 public:
  TLumLvHeadItem() = default;
  explicit TLumLvHeadItem(std::string caption, int width = 100)
      : Caption(std::move(caption)), Width(width) {}

  std::string Caption;
  int Width = 100;
  int ImageIndex = -1;
  bool Visible = true;
  bool Resizable = true;
  // The first visible column with it takes the width the list gains.
  bool AutoSize = false;
  bool ShowCheck = false;
  bool Checked = false;
  bool Enabled = true;  // the flag set at creation
  bool ShowArrow = false;
  int ArrowDirection = 0;  // 0 none, 1 and 2 the two sort directions
  Rect ColumnRect = kNoRect;
  Rect CheckRect = kNoRect;
  Rect ArrowRect = kNoRect;
};

}  // namespace orvo
