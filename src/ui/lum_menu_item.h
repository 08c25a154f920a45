#pragma once
// One entry of a skinned popup menu: a caption ("-" makes a separator), an optional image,
// check or radio mark and shortcut text, and sub-items for the next level (three levels at
// most). Items own their sub-items; the menu owns its top-level items.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/color.h"
#include "platform/geometry.h"

namespace orvo {

class TLumPopupMenu;

// A key with its modifiers, as menus show them: the virtual key in the low byte.
using TShortCut = uint16_t;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
// "Ctrl+Shift+N", "F5", "Del"; empty for none.
std::string ShortCutToText(TShortCut shortcut);

class TLumMenuItem {
 public:
  TLumMenuItem() = default;
  explicit TLumMenuItem(std::string caption) : caption_(std::move(caption)) {}
  ~TLumMenuItem();
  TLumMenuItem(const TLumMenuItem&) = delete;
  TLumMenuItem& operator=(const TLumMenuItem&) = delete;

  const std::string& Caption() const { return caption_; }
  // Lays out again the menu level that shows the item.
  void SetCaption(const std::string& caption);
  bool IsSeparator() const { return caption_ == "-"; }

  // --- sub-items (owned) ---
  TLumMenuItem& AddSubItem(std::unique_ptr<TLumMenuItem> item);
  TLumMenuItem& AddSubItem(const std::string& caption);
  int SubItemCount() const { return static_cast<int>(sub_items_.size()); }
  // Null outside the range.
  TLumMenuItem* SubItem(int index) const;
  // Each sub-item's delete event (recursively), then frees them.
  void ClearSubItems();
  TLumMenuItem* Parent() const { return parent_; }
  TLumPopupMenu* Menu() const { return menu_; }
  // 0 = top level, 1 = in a submenu, 2 = in a last submenu.
  int Level() const { return level_; }

  std::string Value;  // the application's own text (the language items keep a file name)
  TColor TextColor = clNone;
  int GroupIndex = 0;
  bool Enabled = true;
  bool Visible = true;
  bool AutoCheck = false;
  bool SelectedLook = false;
  bool RadioItem = false;
  int ImageIndex = -1;
  int Height = -1;  // -1: the menu's ItemHeight
  int Tag = 0;
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the checked radio items of its group on its level.
  void SetChecked(bool checked);
  TShortCut ShortCut() const { return shortcut_; }
  // Puts the item on the menu's shortcut list (or takes it off for scNone).
  void SetShortCut(TShortCut shortcut);

  // Results of the last layout (-1 before).
  Rect ItemRect{-1, -1, -1, -1};
  Size CaptionSize{-1, -1};
  Size ShortCutSize{-1, -1};

  std::function<void(TLumMenuItem&)> OnClick;
  // Called for each item when its parent's sub-items (or the menu) are cleared.
  std::function<void(TLumMenuItem&)> OnDelete;

 private:
  friend class TLumPopupMenu;
  void Attach(TLumPopupMenu* menu, TLumMenuItem* parent, int level);
  // The items of the same level: the parent's sub-items or the menu's items.
  std::vector<TLumMenuItem*> Siblings() const;

  std::string caption_;
  std::vector<std::unique_ptr<TLumMenuItem>> sub_items_;
  TLumMenuItem* parent_ = nullptr;
  TLumPopupMenu* menu_ = nullptr;
  int level_ = 0;
  bool checked_ = false;
  TShortCut shortcut_ = scNone;
};

}  // namespace orvo
